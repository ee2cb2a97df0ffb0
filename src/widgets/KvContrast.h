// Readable colours for the controls that paint their own greys: text is checked
// against the fill it lands on, so a dark desktop palette (light text) never puts
// light text on the light greys, nor dark text on dark shades.
#pragma once

#include <QColor>
#include <QPalette>

namespace velmora {

// The contrast ratio of two colours by their relative luminance (1 to 21).
double ContrastRatio(const QColor& a, const QColor& b);
// `preferred` when it stands out from `background` well enough (4.5:1), otherwise
// black or white, whichever stands out more.
QColor ReadableTextColor(const QColor& background, const QColor& preferred);
// The colour halfway between two colours (the middle of a two-colour gradient).
QColor MidColor(const QColor& a, const QColor& b);
// A palette whose window colour is darker than its window text.
bool IsDarkPalette(const QPalette& palette);

} // namespace velmora
