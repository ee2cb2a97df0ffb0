#include "core/StringHash.h"

namespace velmora {

std::uint32_t CalcStringHash(const QString& s) {
    std::uint32_t h = 0;
    for (const QChar c : s) {
        h = (h << 4) + c.unicode();
        const std::uint32_t g = h & 0xF0000000u;
        if (g != 0)
            h ^= g >> 24;
        h &= ~g;
    }
    return h;
}

} // namespace velmora
