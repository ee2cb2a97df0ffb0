// The icon a notification-area balloon shows (the tray icon draws it; the alarm
// and the time sync choose it).
#pragma once

namespace velmora {

enum TKvBalloonFlags { kbfNone, kbfInfo, kbfWarning, kbfError, kbfUser };

} // namespace velmora
