// The day this program was built (Unix seconds, midnight UTC), given by the
// build. No clock is set before it and the NTP era is chosen from it.
#pragma once

#include <cstdint>

#ifndef VELMORA_BUILD_DATE
#error "the build passes VELMORA_BUILD_DATE"
#endif

namespace velmora {
inline constexpr std::int64_t kBuildDateUnixS = VELMORA_BUILD_DATE;
} // namespace velmora
