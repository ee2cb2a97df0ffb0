// Colours in the program's files: $00BBGGRR values, colour names, system colours.
#pragma once

#include <QColor>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace velmora {

// A colour value: $00BBGGRR (red in the low byte); a top byte of $FF marks a system
// colour index.
using TColor = int32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

inline bool IsSystemColor(TColor c) {
    return (uint32_t(c) >> 24) == 0xFF;
}
inline TColor RgbToColor(int r, int g, int b) {
    return TColor(uint32_t(r & 0xFF) | (uint32_t(g & 0xFF) << 8) | (uint32_t(b & 0xFF) << 16));
}
inline TColor QColorToColor(const QColor& c) {
    return RgbToColor(c.red(), c.green(), c.blue());
}

// Answers the current RGB of a system colour index.
using TSystemColorFn = std::function<QColor(int index)>;

// A colour name (any letter case) or a signed 32-bit integer text.
std::optional<TColor> StringToColor(const QString& text);
// "$" and eight upper-case hex digits; a system colour is first resolved to its RGB.
QString ColorToString(TColor color, const TSystemColorFn& systemColor);
// The colour to paint with; system colours resolved, clNone/clDefault as given.
QColor ColorToQColor(TColor color, const TSystemColorFn& systemColor);

} // namespace velmora
