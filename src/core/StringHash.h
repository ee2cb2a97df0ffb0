// The hash that tells the sync tool's reports apart from other messages: both
// sides compute it over the tool's full path, so only that tool's report counts.
#pragma once

#include <QString>
#include <cstdint>

namespace velmora {

// The ELF (PJW) hash over the string's UTF-16 code units. The top four bits
// are folded back at every step, so they are never set in the result.
std::uint32_t CalcStringHash(const QString& s);

} // namespace velmora
