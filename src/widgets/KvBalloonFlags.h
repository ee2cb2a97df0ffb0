// The icon a notification-area balloon shows.
#pragma once

namespace velmora {

enum TKvBalloonFlags { kbfNone, kbfInfo, kbfWarning, kbfError, kbfUser };

} // namespace velmora
