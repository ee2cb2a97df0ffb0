#include "platform/linux/LinuxPlatform.h"

namespace velmora {

bool LinuxPlatform::IsNetworkAlive() const { return false; }

void LinuxPlatform::WatchResume(std::function<void()>) {}

} // namespace velmora
