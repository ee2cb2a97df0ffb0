#include "Gallery.h"
#include "widgets/KvAlphaUpDownButton.h"
#include "widgets/KvUpDownButton.h"

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

using namespace velmora;

namespace {

void Hover(QWidget* w) {
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(w, &enter);
}

// A painted parent, so that the blended backgrounds have something to show.
class GradientPanel : public QWidget {
public:
    using QWidget::QWidget;
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QLinearGradient g(0, 0, width(), 0);
        g.setColorAt(0, QColor(40, 90, 170));
        g.setColorAt(1, QColor(230, 140, 40));
        p.fillRect(rect(), g);
    }
};

QLabel* Caption(QWidget* parent, const QString& text, int x, int y) {
    auto* l = new QLabel(text, parent);
    l->move(x, y);
    l->adjustSize();
    return l;
}

void Mouse(QWidget* w, QEvent::Type type) {
    const QPointF pos(5, 5);
    QMouseEvent e(type, pos, w->mapToGlobal(pos), Qt::LeftButton,
                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace

VELMORA_GALLERY_PAGE("arrows") {
    QWidget page;
    page.resize(420, 200);
    page.setAutoFillBackground(true);

    // Single buttons in their states: normal, hot, pressed, latched, disabled.
    const char* names[] = {"normal", "hot", "pressed", "Down", "disabled"};
    for (int i = 0; i < 5; ++i) {
        auto* b = new TKvTimerButton(&page);
        b->SetRepeatDelays({1 << 30, 1 << 30});
        b->setGeometry(10 + i * 60, 10, 21, 23);
        b->SetArrowGlyph(TArrowGlyph(i % 4));
        if (i % 4 >= agLeft) {
            b->SetArrowWidth(3);
            b->SetArrowHeight(5);
        }
        Caption(&page, QString::fromLatin1(names[i]), 10 + i * 60, 36);
    }
    const auto buttons = page.findChildren<TKvTimerButton*>();

    // Pairs, vertical and horizontal, plain and large.
    auto* vertical = new TKvUpDownButton(&page);
    vertical->move(10, 70);
    auto* h = new TKvUpDownButton(&page);
    h->setGeometry(40, 70, 34, 15);
    h->SetOrientation(boHorizontal);
    auto* big = new TKvUpDownButton(&page);
    big->setGeometry(90, 60, 22, 40);
    big->ButtonOptions().SetArrowWidth(9);
    big->ButtonOptions().SetArrowHeight(5);
    Caption(&page, QStringLiteral("上下ボタン"), 10, 105);

    Caption(&page, QStringLiteral("AlphaBlendValue 0 / 128 / 255"), 140, 125);

    // Alpha pairs over a painted parent: blend 0, 128 and 255 (opaque).
    auto* panel = new GradientPanel(&page);
    panel->setGeometry(140, 60, 270, 60);
    const int values[] = {0, 128, 255};
    for (int i = 0; i < 3; ++i) {
        auto* a = new TKvAlphaUpDownButton(panel);
        a->setGeometry(10 + i * 90, 10, 40, 20);
        a->SetOrientation(boHorizontal);
        a->SetAlphaBlend(true);
        a->SetAlphaBlendValue(quint8(values[i]));
        a->ButtonOptions().SetArrowColor(Qt::white);
        auto* l = new QLabel(QString::number(values[i]), panel);
        l->setStyleSheet("color: white");
        l->move(55 + i * 90, 12);
    }

    page.show();
    Hover(buttons[1]);
    Mouse(buttons[2], QEvent::MouseButtonPress);
    buttons[3]->SetDown(true);
    buttons[4]->setEnabled(false);
    auto* hot = panel->findChildren<TKvAlphaUpDownButton*>().first();
    Hover(hot->UpButton());

    gallery::Snap(&page, out, QStringLiteral("arrows"));
    Mouse(buttons[2], QEvent::MouseButtonRelease);
}
