// Small helpers of the options dialog: the marks of its colour swatches, its
// edits' double-click, its open-file dialogs, and the texts and margins of its
// font and grid rows.
#pragma once

#include <QString>
#include <QStringList>

class QFileDialog;
class QFont;
class QFontMetrics;
class QImage;
class QLineEdit;

namespace velmora {

// Fills the image with a 4-pixel checkerboard of white and silver (192, 192, 192),
// the top-left square silver: the mark of a see-through background.
void DrawTransparentMark(QImage& image);
// Draws a red cross corner to corner over the image: the mark of "no outline".
void DrawNoBorderMark(QImage& image);
// Selects all of the edit's text (its double-click handler).
void EditDblClick(QLineEdit* edit);
// Presets an open-file dialog: the file when it exists (else no file), its
// folder when that exists (else `fallbackDir`, the program's folder), and the
// filter, given as "Description|*.a;*.b" pairs separated by "|".
void PrepareOpenDialog(QFileDialog& dialog, const QString& fileName, const QString& filter,
                       const QString& fallbackDir);
// The name filters of a "Description|*.a;*.b|..." filter text, as the dialog takes them.
QStringList OpenDialogNameFilters(const QString& filter);
// The top margin that centres a line of the font in a row `rowHeight` high:
// truncated when the line fits, rounded half to even when it does not.
int GetTextTopMargin(const QFontMetrics& metrics, int rowHeight);
// The font's style as text: "Roman" without style, else "Bold, Italic, Underline,
// StrikeOut" as far as set, in that order.
QString GetFontStyleStr(const QFont& font);
QString GetFontStyleStr(int fontStyleBits);

} // namespace velmora
