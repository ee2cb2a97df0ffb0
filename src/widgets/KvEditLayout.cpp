#include "widgets/KvEditLayout.h"

#include <cmath>

namespace velmora {

namespace {
QRect FromEdges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}
} // namespace

TEditFrameLayout EditFrameLayout(const TEditFrameInput& in) {
    TEditFrameLayout out;
    const bool single = in.BorderStyle == ebsSingle;
    const int a = single ? 2 * in.SystemBorder : 0;
    // Side inset s and flat frame e.
    int s = 0;
    int e = 0;
    if (!single) {
        const bool flat = in.FlatStyle != kfsFlatNone;
        s = flat ? 2 : 1;
        e = flat ? 1 : 0;
    }
    const int w = in.Width - 2 * a;
    const int h = in.Height - 2 * a;
    const int tm = in.TextHeight;
    int q = 0;
    switch (in.VerticalAlignment) {
    case taAlignTop:
        q = e;
        break;
    case taAlignBottom:
        q = h - tm - e;
        break;
    case taVerticalCenter:
        // Halves go to the even neighbour (default rounding mode).
        q = int(std::nearbyint((h - tm) / 2.0));
        break;
    }
    out.Border = a;
    out.TopRect = FromEdges(a, a, a + w, a + q);
    out.BottomRect = FromEdges(a, a + q + tm, a + w, a + h);
    out.LeftRect = FromEdges(a, a + q, a + s, a + q + tm);
    out.RightRect = FromEdges(a + w - s, a + q, a + w, a + q + tm);
    out.TextLine = QRect(a + s, a + q, w - 2 * s, tm);
    return out;
}

int EditAutoHeight(const TEditFrameInput& in) {
    int b = 0;
    if (in.BorderStyle == ebsSingle)
        b = 2 * in.SystemBorder;
    else if (in.FlatStyle != kfsFlatNone)
        b = 1;
    if (in.Height - 2 * b < in.TextHeight)
        return in.TextHeight + 2 * b;
    return in.Height;
}

} // namespace velmora
