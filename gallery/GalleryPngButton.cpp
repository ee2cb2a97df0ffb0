#include "Gallery.h"
#include "widgets/KvPngButton.h"

#include <QApplication>
#include <QBuffer>
#include <QEnterEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

using namespace velmora;

namespace {

// A 16 x 16 arrow glyph with soft edges, as the dialog's move buttons carry.
QByteArray ArrowGlyph(bool up, QColor color) {
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        if (up) {
            path.moveTo(8, 2);
            path.lineTo(14, 9);
            path.lineTo(10, 9);
            path.lineTo(10, 14);
            path.lineTo(6, 14);
            path.lineTo(6, 9);
            path.lineTo(2, 9);
        } else {
            path.moveTo(8, 14);
            path.lineTo(14, 7);
            path.lineTo(10, 7);
            path.lineTo(10, 2);
            path.lineTo(6, 2);
            path.lineTo(6, 7);
            path.lineTo(2, 7);
        }
        path.closeSubpath();
        p.fillPath(path, color);
    }
    QByteArray data;
    QBuffer buf(&data);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return data;
}

void Hover(QWidget* w) {
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(w, &enter);
}

TKvPngButton* Add(QWidget* page, QRect geometry, bool up, const QString& caption = QString()) {
    auto* b = new TKvPngButton(page);
    b->setGeometry(geometry);
    b->SetGlyphUp(ArrowGlyph(up, QColor(30, 110, 200)));
    b->SetCaption(caption);
    return b;
}

void Label(QWidget* page, const QString& text, int x, int y) {
    auto* l = new QLabel(text, page);
    l->move(x, y);
    l->adjustSize();
}

} // namespace

VELMORA_GALLERY_PAGE("pngbutton") {
    QWidget page;
    page.resize(420, 230);
    page.setAutoFillBackground(true);

    // The dialog's pair of move buttons: normal, hot, down, disabled.
    auto* normal = Add(&page, {10, 10, 24, 22}, true);
    auto* hot = Add(&page, {44, 10, 24, 22}, false);
    auto* down = Add(&page, {78, 10, 24, 22}, true);
    auto* disabled = Add(&page, {112, 10, 24, 22}, false);
    Label(&page, QStringLiteral("normal / hot / down / disabled"), 150, 13);
    Q_UNUSED(normal);

    // The shortcut button: glyph and caption, enabled and disabled.
    auto* shortcut =
        Add(&page, {10, 45, 273, 21}, true, QStringLiteral("スタートアップにショートカットを作成"));
    auto* shortcutOff =
        Add(&page, {10, 72, 273, 21}, true, QStringLiteral("&Create start-up shortcut"));

    // Layouts: glyph right, top and bottom; a drop-down button.
    auto* right = Add(&page, {10, 105, 120, 24}, false, QStringLiteral("Glyph right"));
    right->SetLayout(blGlyphRight);
    auto* top = Add(&page, {140, 100, 80, 50}, true, QStringLiteral("上"));
    top->SetLayout(blGlyphTop);
    auto* bottom = Add(&page, {230, 100, 80, 50}, false, QStringLiteral("下"));
    bottom->SetLayout(blGlyphBottom);
    auto* drop = Add(&page, {320, 105, 70, 24}, true, QStringLiteral("Menu"));
    drop->SetButtonStyle(pbsDropdown);
    Hover(drop);

    // A radio group of check buttons, one down.
    for (int i = 0; i < 3; ++i) {
        auto* g = Add(&page, {10 + i * 26, 165, 24, 22}, i % 2 == 0);
        g->SetButtonStyle(pbsFlatCheck);
        g->SetGrouped(true);
        g->SetDown(i == 1);
    }
    Label(&page, QStringLiteral("grouped check buttons"), 95, 168);

    page.show();
    Hover(hot);
    down->SetButtonStyle(pbsFlatCheck);
    down->SetDown(true);
    disabled->setEnabled(false);
    Hover(shortcut);
    shortcutOff->setEnabled(false);
    gallery::Snap(&page, out, QStringLiteral("pngbutton"));
}
