// One clock per session: a later start tells the running clock to come to the
// front and ends.
#pragma once

#include <QString>

namespace velmora {

class Platform;

// The name of the per-session instance lock and of the channel to the running clock.
inline const QString kMutexName = QStringLiteral("VelmoLimitMultiInstance");

// True (after the notice and asking the running clock to come to the front) when
// another instance holds `name`; otherwise this process now holds it.
bool IsAlreadyRunning(Platform& platform, const QString& name);

} // namespace velmora
