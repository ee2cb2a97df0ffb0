#include "Gallery.h"
#include "widgets/KvTabSet.h"

#include <QBuffer>
#include <QLabel>
#include <QPainter>

using namespace velmora;

namespace {

// A small close mark, as a user of the tab set would give it in PNG form.
QByteArray CloseMark(const QColor& cross, const QColor& disc) {
    QImage image(10, 10, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        if (disc.isValid()) {
            p.setPen(Qt::NoPen);
            p.setBrush(disc);
            p.drawEllipse(QRectF(0, 0, 10, 10));
        }
        p.setPen(QPen(cross, 1.5));
        p.drawLine(QPointF(2.5, 2.5), QPointF(7.5, 7.5));
        p.drawLine(QPointF(7.5, 2.5), QPointF(2.5, 7.5));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void GiveCloseMarks(TKvTabSet* tabs) {
    tabs->SetGlyphInactive(CloseMark(QColor(110, 110, 110), QColor()));
    tabs->SetGlyphActive(CloseMark(QColor(40, 40, 40), QColor()));
    tabs->SetGlyphHot(CloseMark(Qt::white, QColor(200, 60, 50)));
    tabs->SetGlyphDown(CloseMark(Qt::white, QColor(140, 30, 25)));
}

// A framed area with a white page and a tab set docked to one of its edges.
TKvTabSet* Pane(QWidget* parent, const QRect& at, TTabPosition position) {
    auto* pane = new QWidget(parent);
    pane->setGeometry(at);
    pane->setAutoFillBackground(true);
    QPalette pal = pane->palette();
    pal.setColor(QPalette::Window, Qt::white);
    pane->setPalette(pal);
    auto* tabs = new TKvTabSet(pane);
    tabs->TabOptions().SetTabPosition(position);
    return tabs;
}

QLabel* Note(QWidget* parent, const QString& text, int x, int y) {
    auto* l = new QLabel(text, parent);
    l->move(x, y);
    l->adjustSize();
    return l;
}

void Fill(TKvTabSet* tabs, const QStringList& captions, int selected) {
    tabs->SetOnTabAdding([](TKvTabSet*, TKvTab*, bool& as) { as = false; });
    for (const QString& c : captions)
        tabs->AddTab(c);
    tabs->SetOnTabAdding(nullptr);
    tabs->SetTabIndex(selected);
}

} // namespace

VELMORA_GALLERY_PAGE("tabset") {
    QWidget page;
    page.resize(760, 620);
    const QStringList three{"Text", "日本語のタブ", "A caption far too long to fit"};

    Note(&page, "tpTop, gradient, close glyphs (second tab hot, third pressed)", 10, 4);
    TKvTabSet* top = Pane(&page, QRect(10, 22, 360, 90), tpTop);
    Fill(top, three, 0);
    GiveCloseMarks(top);
    top->Tabs()[1]->SetGlyphState(gsHot);
    top->Tabs()[2]->SetGlyphState(gsDown);

    Note(&page, "tpBottom, transparent style, modified tab", 390, 4);
    TKvTabSet* bottom = Pane(&page, QRect(390, 22, 360, 90), tpBottom);
    Fill(bottom, {"Alarm", "Window", "Balloon"}, 1);
    bottom->TabOptions().SetTabDrawingStyle(tdsGradientTransparent);
    bottom->Tabs()[2]->SetModified(true);

    Note(&page, "tpLeft, 130 x 28 (the options dialog)", 10, 124);
    TKvTabSet* left = Pane(&page, QRect(10, 142, 360, 200), tpLeft);
    left->TabOptions().SetTabWidth(130);
    left->TabOptions().SetTabHeight(28);
    left->TabOptions().SetTabLeftMargin(8);
    left->TabOptions().SetTabCloseFigure(false);
    left->TabOptions().AdjustDefaultColors();
    left->SetShowFocus(false);
    Fill(left, {"テキスト", "フォントと色", "ウィンドウ", "バルーン", "アラーム", "コマンド"}, 2);

    Note(&page, "tpRight, horizontal gradients, two columns", 390, 124);
    TKvTabSet* right = Pane(&page, QRect(390, 142, 360, 200), tpRight);
    right->TabOptions().SetTabGradientDirection(TTabGradientDirection::gdHorizontal);
    right->TabOptions().SetBarGradientDirection(TTabGradientDirection::gdHorizontal);
    Fill(right, {"One", "Two", "Three", "Four", "Five", "Six", "Seven", "Eight", "Nine"}, 4);

    Note(&page, "tpTop, two of four rows shown, scroll button, drop marker", 10, 354);
    TKvTabSet* scrolled = Pane(&page, QRect(10, 372, 328, 90), tpTop);
    QStringList twelve;
    for (int i = 0; i < 12; ++i)
        twelve << QString("Tab %1").arg(i);
    Fill(scrolled, twelve, 1);
    scrolled->SetTabSteps(2);
    bool accept = false;
    const QPoint over = scrolled->GetTabRect(2).center();
    scrolled->DragOver(scrolled, over.x(), over.y(), TDragState::dsDragMove, accept);

    Note(&page, "tpBottom, several rows, coloured", 390, 354);
    TKvTabSet* rows = Pane(&page, QRect(390, 372, 360, 120), tpBottom);
    rows->TabOptions().SetTabColors(
        QColor(70, 100, 150), QColor(235, 242, 252), QColor(200, 218, 240), QColor(180, 200, 228),
        QColor(150, 175, 210), QColor(215, 228, 246), QColor(185, 205, 232));
    rows->TabOptions().SetBarColors(QColor(120, 150, 195), QColor(150, 178, 218));
    rows->TabOptions().SetTabBorderRadius(6);
    Fill(rows, {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"}, 5);

    Note(&page, "narrow tabs: one character and \"...\", or nothing", 10, 474);
    TKvTabSet* narrow = Pane(&page, QRect(10, 492, 360, 60), tpTop);
    narrow->TabOptions().SetTabWidth(34);
    Fill(narrow, {"Wednesday", "木曜日", "W", "Thursday"}, 0);
    narrow->TabOptions().SetTabWidth(34);

    gallery::Snap(&page, out, "tabset");
    gallery::Snap(top->parentWidget(), out, "tabset-top");
    gallery::Snap(left->parentWidget(), out, "tabset-left");
}
