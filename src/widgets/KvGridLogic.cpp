#include "widgets/KvGridLogic.h"

#include "core/TextForms.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

TGridMove PageUp(const TGridPos& p) {
    TGridMove m;
    const int v = p.VisibleRowCount;
    if (p.FixedRows < p.Row - v + 1) {
        const int newRow = p.Row - v + 1;
        m.Row = newRow;
        m.TopRow = newRow < v + p.FixedRows - 1 ? p.FixedRows : p.TopRow - v + 1;
    } else {
        m.Row = p.FixedRows;
    }
    m.UpdateVert = true;
    return m;
}

TGridMove PageDown(const TGridPos& p) {
    TGridMove m;
    const int v = p.VisibleRowCount;
    if (p.Row < p.RowCount - v) {
        const int newRow = p.Row + v - 1;
        m.Row = newRow;
        m.TopRow = newRow < p.RowCount - v ? p.TopRow + v - 1 : p.RowCount - v;
    } else {
        m.Row = p.RowCount - 1;
    }
    m.UpdateVert = true;
    return m;
}

// One step towards the lower end of an axis, wrapping to the far end when allowed.
struct TStep {
    std::optional<int> Current;
    std::optional<int> First;
    bool Wrapped = false;
};

TStep StepBack(int cur, int fixed, int count, int visible, bool mayWrap) {
    if (cur > fixed)
        return {cur - 1, std::nullopt, false};
    if (!mayWrap)
        return {};
    return {count - 1, count - visible, true};
}

TStep StepForward(int cur, int fixed, int count, bool mayWrap) {
    if (cur < count - 1)
        return {cur + 1, std::nullopt, false};
    if (!mayWrap)
        return {};
    return {fixed, fixed, true};
}

bool& FlagOf(TNavKey key, TArrowKeyFlags& f) {
    switch (key) {
    case TNavKey::Left:
        return f.Left;
    case TNavKey::Up:
        return f.Up;
    case TNavKey::Right:
        return f.Right;
    default:
        return f.Down;
    }
}

} // namespace

TGridMove NavigateByKey(const TGridPos& p, TNavKey key, bool rowSelect, bool autoRepeat,
                        TArrowKeyFlags& flags) {
    if (key == TNavKey::PageUp)
        return PageUp(p);
    if (key == TNavKey::PageDown)
        return PageDown(p);
    const bool horizontal = key == TNavKey::Left || key == TNavKey::Right;
    if (horizontal && rowSelect)
        return {};
    bool& flag = FlagOf(key, flags);
    const bool mayWrap = flag && !autoRepeat;
    TStep s;
    if (key == TNavKey::Left)
        s = StepBack(p.Col, p.FixedCols, p.ColCount, p.VisibleColCount, mayWrap);
    else if (key == TNavKey::Up)
        s = StepBack(p.Row, p.FixedRows, p.RowCount, p.VisibleRowCount, mayWrap);
    else if (key == TNavKey::Right)
        s = StepForward(p.Col, p.FixedCols, p.ColCount, mayWrap);
    else
        s = StepForward(p.Row, p.FixedRows, p.RowCount, mayWrap);

    TGridMove m;
    if (s.Current)
        flag = false;
    m.Consumed = s.Wrapped;
    if (horizontal) {
        m.Col = s.Current;
        m.LeftCol = s.First;
        m.UpdateHorz = true;
    } else {
        m.Row = s.Current;
        m.TopRow = s.First;
        m.UpdateVert = true;
    }
    return m;
}

void ReleaseArrowKey(TNavKey key, TArrowKeyFlags& flags) {
    if (key != TNavKey::PageUp && key != TNavKey::PageDown)
        FlagOf(key, flags) = true;
}

TGridMove NavigateByWheel(const TGridPos& p, TWheelDir dir, TWheelMods mods, bool rowSelect) {
    TGridMove m;
    if (mods.Alt)
        return m;
    const bool up = dir == TWheelDir::Up;
    if (mods.Shift) {
        if (rowSelect)
            return m;
        const TStep s = up ? StepBack(p.Col, p.FixedCols, p.ColCount, p.VisibleColCount, true)
                           : StepForward(p.Col, p.FixedCols, p.ColCount, true);
        m.Col = s.Current;
        m.LeftCol = s.First;
    } else if (!mods.Ctrl) {
        const TStep s = up ? StepBack(p.Row, p.FixedRows, p.RowCount, p.VisibleRowCount, true)
                           : StepForward(p.Row, p.FixedRows, p.RowCount, true);
        m.Row = s.Current;
        m.TopRow = s.First;
    }
    m.UpdateHorz = m.UpdateVert = true;
    return m;
}

TScrollBarState CalcScrollBar(bool allowed, int count, int fixed, int visible, int pos) {
    TScrollBarState s;
    s.Visible = allowed && visible < count - fixed;
    int page = 0;
    if (s.Visible) {
        page = int(RoundHalfEven(double(KvScrollRange) * visible / (count - visible)));
        s.Position = int(RoundHalfEven(double(pos) * KvScrollRange / (count - visible - fixed)));
        s.Position = std::clamp(s.Position, 0, KvScrollRange);
    }
    s.Page = page < 2 ? 1 : page;
    s.Max = s.Page + KvScrollRange - 1;
    return s;
}

int ScrollPositionToFirst(int position, int count, int fixed, int visible) {
    const int span = count - visible - fixed;
    if (span <= 0)
        return fixed;
    const int pos = std::clamp(position, 0, KvScrollRange);
    return fixed + int(RoundHalfEven(double(pos) * span / KvScrollRange));
}

int MakeIndexVisible(int index, int first, int visible, int count) {
    if (index < first)
        return index;
    if (index > first + visible - 1)
        return std::min(count - visible + 1, index - visible + 1);
    return first;
}

std::vector<int> LimitColWidths(std::vector<int> widths, int fixedCols, int clientWidth) {
    int fixedWidth = 0;
    for (int i = 0; i < std::min<int>(fixedCols, int(widths.size())); ++i)
        fixedWidth += widths[i];
    const int room = clientWidth - fixedWidth;
    for (int i = fixedCols; i < int(widths.size()); ++i) {
        if (widths[i] >= room)
            widths[i] = std::max(0, room - 1);
    }
    return widths;
}

QColor BlendColors(const QColor& a, const QColor& b, int percent) {
    const int p = std::clamp(percent, 0, 100);
    auto mix = [p](int x, int y) { return x + int(RoundHalfEven((y - x) * p / 100.0)); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

QColor AdjustLuma(const QColor& c, int delta) {
    // Qt keeps lightness on 0..255; the luminance steps are on the 0..240 scale.
    const QColor hsl = c.toHsl();
    const double l240 = hsl.lightnessF() * 240.0;
    const double moved = std::clamp(l240 + delta, 0.0, 240.0);
    QColor out = QColor::fromHslF(hsl.hslHueF(), hsl.hslSaturationF(), moved / 240.0);
    return out.toRgb();
}

TGridDefaultColors CalcDefaultColors(TVisualStyle style, const QColor& buttonFace,
                                     const QColor& highlight) {
    TGridDefaultColors c;
    switch (style) {
    case TVisualStyle::ThemedModern:
        c.FixedNormalStart = QColor(0xF5, 0xF5, 0xF5);
        c.FixedNormalEnd = QColor(0xE6, 0xE6, 0xE6);
        c.FixedHotStart = QColor(0xFF, 0xFF, 0xFF);
        c.FixedHotEnd = QColor(0xF0, 0xF0, 0xF0);
        break;
    case TVisualStyle::ThemedLegacy:
        c.FixedNormalStart = AdjustLuma(buttonFace, 15);
        c.FixedNormalEnd = AdjustLuma(buttonFace, -10);
        c.FixedHotStart = AdjustLuma(buttonFace, 25);
        // A light shade between the hot start and the normal end.
        c.FixedHotEnd = AdjustLuma(buttonFace, 5);
        break;
    case TVisualStyle::Off:
        c.FixedNormalStart = QColor(0xEC, 0xEC, 0xEC);
        c.FixedNormalEnd = QColor(0xCE, 0xCE, 0xCE);
        c.FixedHotStart = QColor(0xF6, 0xF6, 0xF6);
        c.FixedHotEnd = QColor(0xD8, 0xD8, 0xD8);
        break;
    }
    c.Selected = BlendColors(highlight, Qt::white, 25);
    c.InactiveSelected = BlendColors(c.FixedNormalEnd, Qt::white, 25);
    return c;
}

} // namespace velmora
