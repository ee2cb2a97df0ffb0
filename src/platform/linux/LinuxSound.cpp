#include "platform/linux/LinuxPlatform.h"

namespace velmora {

bool LinuxPlatform::PlaySound(const QString&, QString* error) {
    if (error)
        *error = QStringLiteral("Sound is not available yet.");
    return false;
}

void LinuxPlatform::StopSound() {}

} // namespace velmora
