#include "widgets/KvGridAxis.h"

#include <algorithm>
#include <cstdlib>

namespace velmora {

int TGridAxis::FixedExtent() const {
    int px = 0;
    for (int i = 0; i < std::min(FixedCount, Count()); ++i)
        px += Sizes[i] + LineWidth;
    return px;
}

int TGridAxis::Start(int index) const {
    if (index < 0 || index >= Count())
        return -1;
    if (index < FixedCount) {
        int px = 0;
        for (int i = 0; i < index; ++i)
            px += Sizes[i] + LineWidth;
        return px;
    }
    if (index < First)
        return -1;
    int px = FixedExtent();
    for (int i = First; i < index; ++i)
        px += Sizes[i] + LineWidth;
    return px;
}

int TGridAxis::IndexAt(int pos) const {
    if (pos < 0 || pos >= Extent)
        return -1;
    int px = 0;
    for (int i = 0; i < Count(); ++i) {
        if (i == FixedCount)
            i = std::max(First, FixedCount);
        if (i >= Count())
            break;
        px += Sizes[i] + LineWidth;
        if (pos < px)
            return i;
    }
    return -1;
}

int TGridAxis::VisibleCount() const {
    const int start = std::max(First, FixedCount);
    int px = FixedExtent();
    int n = 0;
    for (int i = start; i < Count(); ++i) {
        if (px + Sizes[i] > Extent)
            break;
        px += Sizes[i] + LineWidth;
        ++n;
    }
    return (n == 0 && start < Count()) ? 1 : n;
}

int TGridAxis::MaxFirst() const {
    const int room = Extent - FixedExtent();
    int first = Count();
    int used = -LineWidth;
    while (first > FixedCount && used + Sizes[first - 1] + LineWidth <= room) {
        used += Sizes[first - 1] + LineWidth;
        --first;
    }
    // Not even the last cell fits: show it alone.
    if (first == Count() && Count() > FixedCount)
        --first;
    return std::max(first, FixedCount);
}

int TGridAxis::BoundaryAt(int pos, int range) const {
    for (int i = 0; i < Count(); ++i) {
        const int start = Start(i);
        if (start < 0)
            continue;
        if (start > Extent)
            break;
        const int line = start + Sizes[i];
        if (std::abs(pos - line) <= range)
            return i;
    }
    return -1;
}

} // namespace velmora
