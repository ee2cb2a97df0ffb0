// Where a tall one-line edit puts its text line: the bands above, below and
// beside the line, for each border, flat frame and vertical alignment.
#pragma once

#include <QRect>

namespace velmora {

enum TKvFlatStyle { kfsFlatNone = 0, kfsFlatNormal = 1, kfsFlatRounded = 2 };
enum TVerticalAlignment { taAlignTop = 0, taAlignBottom = 1, taVerticalCenter = 2 };
// The edit's own border: none, or the sunken single border of an edit box.
enum TEditBorderStyle { ebsNone = 0, ebsSingle = 1 };

struct TEditFrameInput {
    int Width = 0; // the whole control
    int Height = 0;
    int TextHeight = 0;   // one line of the font
    int SystemBorder = 1; // thickness of a thin system border line
    TEditBorderStyle BorderStyle = ebsSingle;
    TKvFlatStyle FlatStyle = kfsFlatNone;
    TVerticalAlignment VerticalAlignment = taVerticalCenter;
};

// Rectangles in control coordinates; each QRect's right/bottom edge is
// exclusive (left() + width()).
struct TEditFrameLayout {
    int Border = 0; // width of the single border on every side
    QRect TopRect, BottomRect, LeftRect, RightRect;
    QRect TextLine; // exactly one line of text
};

TEditFrameLayout EditFrameLayout(const TEditFrameInput& in);

// The least height that still shows one whole line, or `height` when it does.
int EditAutoHeight(const TEditFrameInput& in);

} // namespace velmora
