// The day this program was built (Unix seconds, midnight UTC), given by the
// build. No clock is set before it and the NTP era is chosen from it.
#pragma once

#include "VelmoraBuildDate.h"

#include <cstdint>

namespace velmora {
inline constexpr std::int64_t kBuildDateUnixS = VELMORA_BUILD_DAY_UNIX_S;
} // namespace velmora
