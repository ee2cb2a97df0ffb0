// Readable test failures for Qt strings, shared by the spin edit tests.
#pragma once

#include <QString>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

#include <QColor>
#include <QVariant>

inline void PrintTo(const QVariant& v, std::ostream* os) {
    *os << v.typeName() << "(" << v.toString().toStdString() << ")";
}

#include "widgets/KvSpinEditBase.h"
#include "widgets/KvUpDownButton.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

// A vertical wheel turn of `delta` eighths of a degree at `at` in `edit`.
inline void SendWheel(QWidget* edit, QPointF at, int delta) {
    QWheelEvent e(at, edit->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(edit, &e);
}

// A click in the middle of the up or down half of the edit's arrow pair.
inline void ClickArrowHalf(velmora::TKvSpinEditBase* edit, bool up) {
    auto* pair = edit->UpDownButton();
    QWidget* half = up ? static_cast<QWidget*>(pair->UpButton()) : pair->DownButton();
    QTest::mouseClick(half, Qt::LeftButton, {}, half->rect().center());
}

#include <QLineEdit>
#include <QSize>
#include <QVBoxLayout>
#include <gtest/gtest.h>

// A window with a spin edit of type `TEdit` and a second box to move the focus
// to, laid out in that order or the other way round; the arrows never repeat
// by themselves, and Changes counts the edit's changes. An empty `editSize`
// leaves the edit its own size.
template <class TEdit> struct SpinHost {
    QWidget Window;
    TEdit* Edit;
    QLineEdit* Other;
    int Changes = 0;

    SpinHost(const QLocale& locale, bool editFirst, QSize editSize = {}) {
        Window.setLocale(locale);
        auto* layout = new QVBoxLayout(&Window);
        // Made in their order on the screen, which is also their focus order.
        if (editFirst) {
            Edit = new TEdit(&Window);
            Other = new QLineEdit(&Window);
        } else {
            Other = new QLineEdit(&Window);
            Edit = new TEdit(&Window);
        }
        layout->addWidget(editFirst ? static_cast<QWidget*>(Edit) : Other);
        layout->addWidget(editFirst ? static_cast<QWidget*>(Other) : Edit);
        if (!editSize.isEmpty())
            Edit->resize(editSize);
        Edit->SetOnChange([this] { ++Changes; });
        Edit->UpDownButton()->SetRepeatDelays({60 * 60 * 1000, 60 * 60 * 1000});
        Window.show();
        Window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Window));
    }
    void Focus() {
        Edit->setFocus(Qt::TabFocusReason);
        EXPECT_TRUE(Edit->hasFocus());
    }
    void Leave() {
        Other->setFocus(Qt::TabFocusReason);
        EXPECT_FALSE(Edit->hasFocus());
    }
    void ClickArrow(bool up) { ClickArrowHalf(Edit, up); }
};
