// The kernel's timer as a tick source: an idle timer then wakes only the
// user-interface thread, once a tick, and sees a step of the wall clock at once.
#pragma once

#include "core/KvTimer.h"

#include <memory>

namespace velmora {

// Null (with the reason on standard error) when the system gives no such timer:
// the timer then keeps its worker thread.
std::unique_ptr<TKvTickSource> CreateKernelTickSource();

} // namespace velmora
