#include "app/options/OptionHelpers.h"

#include "core/Settings.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <cmath>

namespace velmora {

void DrawTransparentMark(QImage& image) {
    QImage pattern(8, 8, QImage::Format_ARGB32);
    pattern.fill(Qt::white);
    const QColor silver(192, 192, 192);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            if ((x < 4) == (y < 4))
                pattern.setPixelColor(x, y, silver);
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(image.rect(), QBrush(pattern));
}

void DrawNoBorderMark(QImage& image) {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(255, 0, 0), 1.0));
    const qreal w = image.width(), h = image.height();
    p.drawLine(QPointF(0, 0), QPointF(w, h));
    p.drawLine(QPointF(-1, h), QPointF(w, 0));
}

void EditDblClick(QLineEdit* edit) {
    if (edit)
        edit->selectAll();
}

QStringList OpenDialogNameFilters(const QString& filter) {
    // "Sound Files (*.mp3; *.wav)|*.mp3;*.wav": the description is shown, the
    // patterns are what the dialog matches.
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pat : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
            patterns << pat.trimmed();
        QString description = parts[i].trimmed();
        const qsizetype paren = description.indexOf(QLatin1Char('('));
        if (paren > 0)
            description = description.left(paren).trimmed();
        out << QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
    }
    return out;
}

void PrepareOpenDialog(QFileDialog& dialog, const QString& fileName, const QString& filter,
                       const QString& fallbackDir) {
    const QFileInfo file(fileName);
    const bool exists = !fileName.isEmpty() && file.isFile();
    const QString folder = fileName.isEmpty() ? QString() : file.absolutePath();
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(OpenDialogNameFilters(filter));
    dialog.setDirectory(!folder.isEmpty() && QFileInfo(folder).isDir() ? folder : fallbackDir);
    if (exists)
        dialog.selectFile(file.absoluteFilePath());
}

int GetTextTopMargin(const QFontMetrics& metrics, int rowHeight) {
    const int h = metrics.height();
    const int diff = rowHeight - h;
    if (diff >= 0)
        return diff / 2;
    return int(std::nearbyint(diff / 2.0)); // a line taller than the row: halves to even
}

QString GetFontStyleStr(int bits) {
    QStringList names;
    if (bits & fsBold)
        names << QStringLiteral("Bold");
    if (bits & fsItalic)
        names << QStringLiteral("Italic");
    if (bits & fsUnderline)
        names << QStringLiteral("Underline");
    if (bits & fsStrikeOut)
        names << QStringLiteral("StrikeOut");
    return names.isEmpty() ? QStringLiteral("Roman") : names.join(QStringLiteral(", "));
}

QString GetFontStyleStr(const QFont& font) {
    return GetFontStyleStr((font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0) |
                           (font.underline() ? fsUnderline : 0) |
                           (font.strikeOut() ? fsStrikeOut : 0));
}

} // namespace velmora
