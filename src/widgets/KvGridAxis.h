// Pixel geometry of one grid direction (columns or rows): where each cell starts,
// which cell lies under a pixel, how many cells fit and how far the view can scroll.
// Kept free of widgets so that the arithmetic is tested directly.
#pragma once

#include <vector>

namespace velmora {

struct TGridAxis {
    // A one-pixel grid line follows every cell.
    static constexpr int LineWidth = 1;

    std::vector<int> Sizes; // width (or height) of every cell
    int FixedCount = 0;     // leading cells that never scroll
    int First = 0;          // first scrollable cell shown (LeftCol / TopRow)
    int Extent = 0;         // client pixels available

    int Count() const { return int(Sizes.size()); }
    // Pixels taken by the fixed cells with their lines.
    int FixedExtent() const;
    // Left (top) pixel of a cell, or -1 when it is scrolled out of the view.
    int Start(int index) const;
    // The cell under a pixel, or -1 (a grid line belongs to the cell before it).
    int IndexAt(int pos) const;
    // Scrollable cells from First that are shown whole; at least 1 while any exist.
    int VisibleCount() const;
    // The largest First that still fills the view; never below FixedCount.
    int MaxFirst() const;
    // The cell whose trailing line lies within `range` pixels of `pos`, or -1.
    int BoundaryAt(int pos, int range) const;
};

} // namespace velmora
