#include "platform/Platform.h"

namespace velmora {
Platform::~Platform() = default;
} // namespace velmora
