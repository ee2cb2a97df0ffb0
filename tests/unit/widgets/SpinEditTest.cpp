// The spin edit as a widget: what the user sees after typing, keys, the wheel,
// the arrows and leaving the box, in a "." and a "," locale.
#include "SpinTestSupport.h"
#include "widgets/KvSpinEdit.h"
#include "widgets/KvUpDownButton.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

const QLocale Dot(QLocale::English, QLocale::UnitedStates);
const QLocale Comma(QLocale::German, QLocale::Germany);

// A window with the spin edit and a second box to move the focus to.
struct Host : SpinHost<TKvSpinEdit> {
    explicit Host(const QLocale& locale = Dot) : SpinHost(locale, true) {}
    // Replaces the whole text by typing, as a user would.
    void Type(const QString& keys) {
        Focus();
        Edit->selectAll();
        QTest::keyClick(Edit, Qt::Key_Delete);
        QTest::keyClicks(Edit, keys);
    }
    void Wheel(int delta) {
        SendWheel(Edit, QPointF(Edit->width() / 2.0, Edit->height() / 2.0), delta);
    }
};

} // namespace

TEST(SpinEdit, InitialState) {
    TKvSpinEdit edit;
    EXPECT_EQ(edit.text(), "0");
    EXPECT_EQ(edit.height(), 23);
    EXPECT_EQ(edit.ValueKind(), vkInt);
    EXPECT_EQ(edit.DecimalPlaces(), 4);
    EXPECT_EQ(edit.Increment(), 1.0L);
    EXPECT_TRUE(edit.alignment() & Qt::AlignRight);
    EXPECT_FALSE(edit.testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_EQ(edit.Value(), QVariant(qlonglong(0)));
    ASSERT_NE(edit.UpDownButton(), nullptr);
    EXPECT_EQ(edit.UpDownButton()->parentWidget(), &edit);
    EXPECT_EQ(edit.UpDownButton()->FocusControl(), &edit);
}

TEST(SpinEdit, WritingValueTable) {
    struct {
        TKvValueKind kind;
        int decimals;
        double min, max;
        QVariant written;
        const char* dotText;
        const char* commaText;
        QVariant read;
    } cases[] = {
        {vkInt, 0, 0, 255, 300, "255", "255", qlonglong(255)},
        {vkInt, 0, 0, 255, -5, "0", "0", qlonglong(0)},
        {vkInt, 0, 0, 0, -5, "-5", "-5", qlonglong(-5)},
        {vkInt, 0, 0, 0, 2.5, "2", "2", qlonglong(2)},
        {vkInt, 0, 0, 0, 3.5, "4", "4", qlonglong(4)},
        {vkInt, 0, 0, 0, qlonglong(9007199254740993), "9007199254740993", "9007199254740993",
         qlonglong(9007199254740993)}, // beyond a double's integers: no digit lost
        {vkFloat, 2, 0.75, 1.25, 1, "1.00", "1,00", 1.0},
        {vkFloat, 2, 0.75, 1.25, 5, "1.25", "1,25", 1.25},
        {vkFloat, 2, 0, 0, -1234.5, "-1234.50", "-1234,50", -1234.5},
        {vkHex, 0, 0, 0, 255, "$FF", "$FF", qlonglong(255)},
        {vkHex, 0, 0, 0, 4095.5, "$1000", "$1000", qlonglong(4096)},
    };
    for (const QLocale* locale : {&Dot, &Comma}) {
        for (const auto& c : cases) {
            TKvSpinEdit edit;
            edit.setLocale(*locale);
            edit.SetValueKind(c.kind);
            edit.SetDecimalPlaces(c.decimals);
            edit.SetMinValue(c.min);
            edit.SetMaxValue(c.max);
            edit.SetValue(c.written);
            EXPECT_EQ(edit.text(), QString::fromLatin1(locale == &Dot ? c.dotText : c.commaText))
                << locale->name().toStdString();
            EXPECT_EQ(edit.Value(), c.read) << c.dotText;
        }
    }
}

TEST(SpinEdit, ReadingParsesTheTextButNeverChangesIt) {
    TKvSpinEdit edit;
    edit.setLocale(Comma);
    edit.SetValueKind(vkFloat);
    edit.SetDecimalPlaces(2);
    edit.SetValue(1.5);
    edit.setText("2,25");
    EXPECT_EQ(edit.Value(), QVariant(2.25));
    edit.setText("2.5"); // not this locale's notation
    EXPECT_EQ(edit.Value(), QVariant(2.25));
    EXPECT_EQ(edit.text(), "2.5");
    edit.setText("");
    EXPECT_EQ(edit.Value(), QVariant(2.25));
}

TEST(SpinEdit, KindDecimalsAndPlusSignRewriteTheValue) {
    TKvSpinEdit edit;
    edit.setLocale(Dot);
    edit.SetValueKind(vkFloat);
    edit.SetDecimalPlaces(1);
    edit.setText("12.7");
    edit.SetValueKind(vkInt);
    EXPECT_EQ(edit.text(), "13");
    edit.SetValueKind(vkHex);
    EXPECT_EQ(edit.text(), "$D");
    edit.SetShowPlusSign(true);
    EXPECT_EQ(edit.text(), "+$D");
    edit.SetValueKind(vkFloat);
    edit.SetDecimalPlaces(3);
    EXPECT_EQ(edit.text(), "+13.000");
    edit.SetValue(-5);
    EXPECT_EQ(edit.text(), "-5.000");
    edit.SetValue(0);
    EXPECT_EQ(edit.text(), "0.000");
}

TEST(SpinEdit, ALocaleChangeRewritesTheText) {
    TKvSpinEdit edit;
    edit.setLocale(Dot);
    edit.SetValueKind(vkFloat);
    edit.SetDecimalPlaces(2);
    edit.setText("1.5");
    edit.setLocale(Comma);
    EXPECT_EQ(edit.text(), "1,50");
    edit.setLocale(Dot);
    EXPECT_EQ(edit.text(), "1.50");
}

TEST(SpinEdit, CharacterFilterTable) {
    struct {
        const QLocale* locale;
        TKvValueKind kind;
        const char* typed;
        const char* shown;
    } cases[] = {
        {&Dot, vkInt, "12a", "12"},           {&Dot, vkInt, "-3.5x", "-35"},
        {&Dot, vkInt, "+7 e", "+7"},          {&Dot, vkHex, "$1fG", "$1f"},
        {&Dot, vkHex, "$ABCDEFg", "$ABCDEF"}, {&Dot, vkFloat, "1.5e,", "1.5"},
        {&Comma, vkFloat, "1,5e.", "1,5"},    {&Comma, vkFloat, "-0.25", "-025"},
    };
    for (const auto& c : cases) {
        Host host(*c.locale);
        host.Edit->SetValueKind(c.kind);
        host.Type(QString::fromLatin1(c.typed));
        EXPECT_EQ(host.Edit->text(), QString::fromLatin1(c.shown)) << c.typed;
    }
}

TEST(SpinEdit, KeysWheelAndArrowsStep) {
    enum Action {
        KeyUp,
        KeyDown,
        ShiftUp,
        CtrlDown,
        WheelUp,
        WheelDown,
        WheelBig,
        WheelNone,
        ArrowUp,
        ArrowDown
    };
    struct {
        Action action;
        const char* before;
        const char* after;
    } cases[] = {
        {KeyUp, "1.00", "1.01"},     {KeyDown, "1.00", "0.99"},   {ShiftUp, "1.00", "1.00"},
        {CtrlDown, "1.00", "1.00"},  {WheelUp, "1.00", "1.01"},   {WheelDown, "1.00", "0.99"},
        {WheelBig, "1.00", "1.01"},  {WheelNone, "1.00", "1.00"}, {ArrowUp, "1.00", "1.01"},
        {ArrowDown, "1.00", "0.99"}, {KeyUp, "1.25", "1.25"},     {ArrowDown, "0.75", "0.75"},
        {KeyUp, "junk", "1.11"}, // invalid text steps from the last valid value (1.10)
    };
    for (const auto& c : cases) {
        Host host;
        auto* e = host.Edit;
        e->SetValueKind(vkFloat);
        e->SetDecimalPlaces(2);
        e->SetIncrement(0.01L);
        e->SetMinValue(0.75L);
        e->SetMaxValue(1.25L);
        e->SetValue(1.1);
        host.Focus();
        e->setText(QString::fromLatin1(c.before));
        switch (c.action) {
        case KeyUp:
            QTest::keyClick(e, Qt::Key_Up);
            break;
        case KeyDown:
            QTest::keyClick(e, Qt::Key_Down);
            break;
        case ShiftUp:
            QTest::keyClick(e, Qt::Key_Up, Qt::ShiftModifier);
            break;
        case CtrlDown:
            QTest::keyClick(e, Qt::Key_Down, Qt::ControlModifier);
            break;
        case WheelUp:
            host.Wheel(120);
            break;
        case WheelDown:
            host.Wheel(-120);
            break;
        case WheelBig:
            host.Wheel(360);
            break; // one step per message, whatever its size
        case WheelNone:
            host.Wheel(0);
            break;
        case ArrowUp:
            host.ClickArrow(true);
            break;
        case ArrowDown:
            host.ClickArrow(false);
            break;
        }
        EXPECT_EQ(e->text(), QString::fromLatin1(c.after)) << c.before << " action " << c.action;
    }
}

TEST(SpinEdit, HoldingAnArrowRepeatsUntilReleased) {
    Host host;
    auto* e = host.Edit;
    e->SetValue(0);
    e->UpDownButton()->SetRepeatDelays({10, 5});
    QWidget* up = e->UpDownButton()->UpButton();
    QTest::mousePress(up, Qt::LeftButton, {}, up->rect().center());
    // Generous waiting: only the count matters, never how long it took.
    EXPECT_TRUE(QTest::qWaitFor([&] { return e->Value().toLongLong() >= 3; }, 10000));
    QTest::mouseRelease(up, Qt::LeftButton, {}, up->rect().center());
    const qlonglong released = e->Value().toLongLong();
    QTest::qWait(50);
    EXPECT_EQ(e->Value().toLongLong(), released);
    EXPECT_TRUE(e->hasFocus()); // the arrows hand the focus to the box
}

TEST(SpinEdit, ReadOnlyIgnoresStepsCutAndPaste) {
    Host host;
    auto* e = host.Edit;
    e->SetValue(42);
    e->SetReadOnly(true);
    host.Focus();
    QApplication::clipboard()->setText("7");
    const std::function<void()> actions[] = {
        [&] { QTest::keyClick(e, Qt::Key_Up); },
        [&] { QTest::keyClick(e, Qt::Key_Down); },
        [&] { host.Wheel(120); },
        [&] { host.ClickArrow(true); },
        [&] { host.ClickArrow(false); },
        [&] { e->selectAll(), e->cut(); },
        [&] { e->paste(); },
        [&] { e->selectAll(), QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier); },
        [&] { e->selectAll(), QTest::keyClick(e, Qt::Key_X, Qt::ControlModifier); },
        [&] { QTest::keyClick(e, Qt::Key_5); },
    };
    host.Changes = 0;
    for (size_t i = 0; i < std::size(actions); ++i) {
        actions[i]();
        EXPECT_EQ(e->text(), "42") << "action " << i;
    }
    EXPECT_EQ(host.Changes, 0);
}

TEST(SpinEdit, LeavingNormalisesTheText) {
    struct {
        TKvValueKind kind;
        const char* typed; // through the keyboard, or pasted when it starts with '!'
        const char* after;
    } cases[] = {
        {vkInt, "12", "12"},        {vkInt, "", "5"},         {vkInt, "!abc", "5"},
        {vkInt, "300", "255"},      {vkInt, "+7", "7"},       {vkInt, "-0", "0"},
        {vkInt, "--", "5"},         {vkFloat, "1.5", "1.50"}, {vkFloat, "1.", "1.00"},
        {vkFloat, "!1e1", "10.00"}, {vkHex, "$ff", "$FF"},    {vkHex, "10", "$A"},
    };
    for (const auto& c : cases) {
        Host host;
        auto* e = host.Edit;
        e->SetValueKind(c.kind);
        e->SetDecimalPlaces(2);
        e->SetMinValue(0);
        e->SetMaxValue(255);
        e->SetValue(5);
        if (c.typed[0] == '!') {
            host.Focus();
            QApplication::clipboard()->setText(QString::fromLatin1(c.typed + 1));
            e->selectAll();
            QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        } else {
            host.Type(QString::fromLatin1(c.typed));
        }
        host.Leave();
        EXPECT_EQ(e->text(), QString::fromLatin1(c.after)) << c.typed;
    }
}

TEST(SpinEdit, OnChangeFiresOncePerRealChange) {
    Host host;
    auto* e = host.Edit;
    e->SetValue(5);
    host.Changes = 0;
    e->SetValue(5); // same text
    EXPECT_EQ(host.Changes, 0);
    e->SetValue(6);
    EXPECT_EQ(host.Changes, 1);
    host.Focus();
    e->setCursorPosition(1);
    QTest::keyClick(e, Qt::Key_1);
    EXPECT_EQ(e->text(), "61");
    EXPECT_EQ(host.Changes, 2);
    QTest::keyClick(e, Qt::Key_Z); // dropped: no change
    EXPECT_EQ(host.Changes, 2);
}

TEST(SpinEdit, AutoSelectOnEnteringByKeyboard) {
    Host host;
    host.Edit->SetValue(123);
    host.Leave();
    host.Focus();
    EXPECT_EQ(host.Edit->selectedText(), "123");
    host.Leave();
    host.Edit->SetAutoSelect(false);
    host.Edit->setFocus(Qt::OtherFocusReason);
    EXPECT_TRUE(host.Edit->selectedText().isEmpty());
}

TEST(SpinEdit, ContextMenuOnlyWhenAllowed) {
    Host host;
    QMenu menu;
    menu.addAction("Own entry");
    auto openMenu = [&] {
        const QPoint at(5, 5);
        QContextMenuEvent e(QContextMenuEvent::Mouse, at, host.Edit->mapToGlobal(at));
        // Should the edit's own (modal) menu come up, close it so that the test ends.
        QTimer::singleShot(200, [] {
            if (QWidget* popup = QApplication::activePopupWidget())
                popup->close();
        });
        QApplication::sendEvent(host.Edit, &e);
    };
    bool sawPopup = false;
    QTimer::singleShot(50, [&] { sawPopup = QApplication::activePopupWidget() != nullptr; });
    openMenu();
    QTest::qWait(100);
    EXPECT_FALSE(sawPopup);
    host.Edit->SetPopupMenu(&menu);
    openMenu();
    EXPECT_TRUE(menu.isVisible());
    menu.close();
}

TEST(SpinEditLayout, ArrowPlacementAndHeightTable) {
    struct {
        TKvSpinStyle style;
        QRect arrows; // in a 53 x 23 box with a 16 pixel wide pair
        int fittedFor20;
    } cases[] = {
        {kssSingle, QRect(35, 2, 16, 19), 24},
        {kssNone, QRect(37, 0, 16, 23), 23},
        {kssFlat, QRect(36, 1, 16, 21), 23},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KvSpinButtonRect(c.style, QSize(53, 23), 16), c.arrows) << c.style;
        EXPECT_EQ(KvSpinFittedHeight(c.style, 23, 20), c.fittedFor20) << c.style;
        EXPECT_EQ(KvSpinFittedHeight(c.style, 23, 10), 23) << c.style; // never shrinks
        TKvSpinEdit edit;
        edit.resize(53, 23);
        edit.SetSpinStyle(c.style);
        edit.show();
        EXPECT_EQ(edit.UpDownButton()->geometry(), c.arrows) << c.style;
    }
}

TEST(SpinEditLayout, ALargerFontMakesTheBoxTaller) {
    TKvSpinEdit edit;
    QFont big = edit.font();
    big.setPixelSize(40);
    edit.setFont(big);
    EXPECT_GE(edit.height(), QFontMetrics(big).height() + 4);
    EXPECT_EQ(edit.UpDownButton()->height(), edit.height() - 4);
}

TEST(SpinEditLayout, FramePixels) {
    // Distinct colours, so that each edge can be told from its neighbours.
    QPalette pal;
    pal.setColor(QPalette::Dark, QColor(10, 0, 0));
    pal.setColor(QPalette::Light, QColor(20, 0, 0));
    pal.setColor(QPalette::Shadow, QColor(30, 0, 0));
    pal.setColor(QPalette::Midlight, QColor(40, 0, 0));
    pal.setColor(QPalette::Base, QColor(50, 0, 0));
    struct {
        TKvSpinStyle style;
        // outer top-left, outer bottom-right, inner top-left, inner bottom-right
        QPalette::ColorRole outerTL, outerBR, innerTL, innerBR;
    } cases[] = {
        {kssSingle, QPalette::Dark, QPalette::Light, QPalette::Shadow, QPalette::Midlight},
        {kssFlat, QPalette::Dark, QPalette::Dark, QPalette::Base, QPalette::Base},
        {kssNone, QPalette::Base, QPalette::Base, QPalette::Base, QPalette::Base},
    };
    for (const auto& c : cases) {
        TKvSpinEdit edit;
        edit.setPalette(pal);
        edit.resize(53, 23);
        edit.SetSpinStyle(c.style);
        edit.setText(QString());
        const QImage img = edit.grab().toImage();
        auto at = [&](int x, int y) { return QColor(img.pixel(x, y)).red(); };
        auto role = [&](QPalette::ColorRole r) { return pal.color(r).red(); };
        SCOPED_TRACE(c.style);
        EXPECT_EQ(at(0, 10), role(c.outerTL));
        EXPECT_EQ(at(10, 0), role(c.outerTL));
        EXPECT_EQ(at(52, 10), role(c.outerBR));
        EXPECT_EQ(at(10, 22), role(c.outerBR));
        EXPECT_EQ(at(1, 10), role(c.innerTL));
        EXPECT_EQ(at(10, 1), role(c.innerTL));
        EXPECT_EQ(at(51, 10), role(c.innerBR));
        EXPECT_EQ(at(10, 21), role(c.innerBR));
        EXPECT_EQ(at(10, 10), role(QPalette::Base)); // inside: the text's background
    }
}
