// Value types shared by the tab set, its tab list, its options and its layout.
#pragma once

#include <stdexcept>

namespace velmora {

enum TTabPosition { tpTop = 0, tpBottom = 1, tpLeft = 2, tpRight = 3 };
enum TTabDrawingStyle { tdsGradient = 0, tdsGradientTransparent = 1 };
// Scoped, because the clock's own gradient direction shares the enumerator names.
enum class TTabGradientDirection { gdHorizontal = 0, gdVertical = 1 };
enum TGlyphState { gsActive = 0, gsInactive = 1, gsHot = 2, gsDown = 3 };
enum TNextFocus { nfForward = 0, nfBackward = 1, nfLastSelected = 2 };

// A tab's column and row in the layout grid, or the grid's extent.
struct TTabCoord {
    int X = 0;
    int Y = 0;
    bool operator==(const TTabCoord&) const = default;
};

// Raised when TabIndex is given an index that names no tab.
class ETabIndexError : public std::runtime_error {
public:
    ETabIndexError() : std::runtime_error("タブインデックスが範囲を超えています") {}
};

} // namespace velmora
