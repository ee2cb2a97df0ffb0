// What the about dialog decides without a window: the link colour from the
// desktop's "r,g,b" text, the top margin that centres a line of text, and the
// credits of the libraries this program carries.
#pragma once

#include "core/ColorText.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace velmora {

// The maker's web site: the link's tooltip and what a click opens; the project's
// address, which the package names too.
inline const QString kMakerWebSite = QStringLiteral(VELMORA_HOMEPAGE);

// The parts of a comma text: commas and blanks separate parts, blanks next to a
// comma add none, a part in double quotes may hold either ("" is a quote).
QStringList SplitCommaText(const QString& text);

// The link colour of the text "r,g,b" ($00BBGGRR): a missing or non-integer part
// is 0 for red and green and 255 for blue; each part is cut to its low 8 bits.
TColor ParseAnchorColor(const QString& text);

// The top offset that centres text of `textHeight` pixels in `height` pixels:
// (height - textHeight) / 2, truncated when the text fits, else rounded to the
// nearest integer with halves to even.
int TextTopMargin(int height, int textHeight);

// One library the program carries, with the version it runs with.
struct TLibraryCredit {
    QString Name;
    QString Version; // empty: the library cannot say
    QString Notice;  // its rights notice
    QString Licence; // the licence it is used under
    QString Address; // its web address
};

// The credits block's lines: "* " + name and version, then the notice, the
// licence and the address, each indented by two blanks (each short enough for
// one line of the credits box, so that wrapping never loses the indent).
QStringList CreditLines(const std::vector<TLibraryCredit>& credits);

} // namespace velmora
