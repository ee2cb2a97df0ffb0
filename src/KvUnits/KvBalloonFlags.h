#pragma once

namespace velmora {

enum TKvBalloonFlags { kbfNone, kbfInfo, kbfWarning, kbfError, kbfUser };

} // namespace velmora
