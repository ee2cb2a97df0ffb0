#include "core/ColorSets.h"

namespace velmora {

void CopyColorSet(TClockRunState& current, const TVlmSettings& s, TColorSet set) {
    for (int i = 0; i < kColorSetSize; ++i)
        current.*kColorSetMembers[std::size_t(i)].Current = s.*ColorSetField(set, i);
}

} // namespace velmora
