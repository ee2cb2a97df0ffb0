// The time spin edit as a widget: field selection, typing, stepping with
// wrap-around, milliseconds and the focus rules.
#include "SpinTestSupport.h"
#include "widgets/KvTimeSpinEdit.h"
#include "widgets/KvUpDownButton.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QVBoxLayout>
#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>
#include <utility>

using namespace velmora;

namespace {

constexpr double Hour = 1.0 / 24;
constexpr double Minute = Hour / 60;
constexpr double Second = Minute / 60;

struct Host : SpinHost<TKvTimeSpinEdit> {
    explicit Host(const QLocale& locale = QLocale(QLocale::English, QLocale::UnitedStates))
        : SpinHost(locale, false, QSize(85, 23)) {
        Other->setFocus(Qt::TabFocusReason);
    }
    void Wheel(int delta) { SendWheel(Edit, QPointF(10, 10), delta); }
    // The x coordinate a little inside character `index` (left or right half).
    int CharX(int index, bool rightHalf) {
        auto caretX = [this](int pos) {
            Edit->setCursorPosition(pos);
            return Edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
        };
        const int left = caretX(index);
        const int right = caretX(index + 1);
        return rightHalf ? right - 1 : left + 1;
    }
    void ClickChar(int index, bool rightHalf = false) {
        QTest::mouseClick(Edit, Qt::LeftButton, {}, QPoint(CharX(index, rightHalf), 5));
    }
    // Plays a script: digits type, > and < are Right and Left, ^ and v are Up and Down.
    void Play(const char* script) {
        static constexpr std::pair<char, Qt::Key> kMoves[] = {
            {'>', Qt::Key_Right}, {'<', Qt::Key_Left}, {'^', Qt::Key_Up}, {'v', Qt::Key_Down}};
        for (const char* k = script; *k; ++k) {
            const auto* move = std::find_if(std::begin(kMoves), std::end(kMoves),
                                            [k](const auto& m) { return m.first == *k; });
            if (move != std::end(kMoves))
                QTest::keyClick(Edit, move->second);
            else
                QTest::keyClick(Edit, *k);
        }
    }
};

} // namespace

TEST(TimeSpinEdit, InitialStateAndTime) {
    TKvTimeSpinEdit edit;
    edit.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(edit.text(), "00:00:00");
    EXPECT_EQ(edit.height(), 23);
    EXPECT_TRUE(edit.alignment() & Qt::AlignRight);
    EXPECT_EQ(edit.CurrentPos(), 0);
    edit.SetTime(1.75);
    EXPECT_EQ(edit.text(), "18:00:00"); // the day part is dropped
    EXPECT_DOUBLE_EQ(edit.Time(), 0.75);
    edit.SetShowMSec(true);
    EXPECT_EQ(edit.text(), "18:00:00.000");
    edit.SetTime(0.5 + 1.25 * Second);
    EXPECT_EQ(edit.text(), "12:00:01.250");
    EXPECT_NEAR(edit.Time(), 0.5 + 1.25 * Second, 1e-12);
    edit.setLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(edit.text(), "12:00:01,250");
    edit.setLocale(QLocale(QLocale::Finnish, QLocale::Finland));
    EXPECT_EQ(edit.text(), "12.00.01,250");
}

TEST(TimeSpinEdit, DeleteClearsTheFieldAndTheTimeFollows) {
    struct {
        bool msec;
        const char* script; // moves to the field first
        const char* shown;
        double time;
    } cases[] = {
        {false, "", "00:30:15", 30 * Minute + 15 * Second},
        {false, ">", "08:00:15", 8 * Hour + 15 * Second},
        {false, ">>", "08:30:00", 8 * Hour + 30 * Minute},
        {true, "<", "08:30:15.000", 8 * Hour + 30 * Minute + 15 * Second},
    };
    for (const auto& c : cases) {
        Host host;
        host.Edit->SetShowMSec(c.msec);
        host.Edit->SetTime(8 * Hour + 30 * Minute + 15 * Second + (c.msec ? 0.25 * Second : 0));
        host.Focus();
        host.Play(c.script);
        const int changes = host.Changes;
        SCOPED_TRACE(c.shown);
        QTest::keyClick(host.Edit, Qt::Key_Delete);
        EXPECT_EQ(host.Edit->text(), QString::fromLatin1(c.shown));
        EXPECT_NEAR(host.Edit->Time(), c.time, 1e-9);
        EXPECT_EQ(host.Changes, changes + 1);
        EXPECT_EQ(host.Edit->selectedText().size(), c.msec ? 3 : 2); // the field stays chosen
    }
    Host readOnly;
    readOnly.Edit->SetTime(8 * Hour);
    readOnly.Edit->setReadOnly(true);
    readOnly.Focus();
    QTest::keyClick(readOnly.Edit, Qt::Key_Delete);
    EXPECT_EQ(readOnly.Edit->text(), "08:00:00");
}

TEST(TimeSpinEdit, UnparsableTextGivesTheLastWrittenTime) {
    Host host;
    host.Edit->SetTime(8 * Hour + 30 * Minute);
    host.Focus();
    host.Edit->setText(":30:00"); // text set from outside, not through the field rules
    EXPECT_DOUBLE_EQ(host.Edit->Time(), 8 * Hour + 30 * Minute);
    EXPECT_EQ(host.Edit->text(), ":30:00"); // reading never changes the text
}

TEST(TimeSpinEdit, TypingTable) {
    struct {
        const char* start;
        bool msec;
        const char* script;
        const char* shown;
        int selStart, selLength;
    } cases[] = {
        {"08:00:00", false, "1", " 1:00:00", 0, 2},
        // A completed field moves on to the next, so that a whole time can be typed.
        {"08:00:00", false, "15", "15:00:00", 3, 2},
        {"08:00:00", false, "27", "07:00:00", 3, 2},
        {"08:00:00", false, "30", "00:00:00", 3, 2},
        {"08:00:00", false, "23", "23:00:00", 3, 2},
        {"08:00:00", false, "152", "15: 2:00", 3, 2},
        {"08:00:00", false, ">61", "08:01:00", 6, 2},
        {"08:00:00", false, ">45", "08:45:00", 6, 2},
        {"08:00:00", false, ">>59", "08:00:59", 6, 2},
        {"08:00:00", false, "1>", "01:00:00", 3, 2}, // moving on fills the waiting space
        {"08:00:00", true, "<1", "08:00:00.  1", 9, 3},
        {"08:00:00", true, "<12", "08:00:00. 12", 9, 3},
        {"08:00:00", true, "<123", "08:00:00.123", 9, 3},
        {"08:00:00", true, "<1234", "08:00:00.  4", 9, 3},
    };
    for (const auto& c : cases) {
        Host host;
        host.Edit->SetShowMSec(c.msec);
        host.Edit->SetTime(*KvParseTime(QString::fromLatin1(c.start), {}));
        host.Focus();
        host.Play(c.script);
        SCOPED_TRACE(c.script);
        EXPECT_EQ(host.Edit->text(), QString::fromLatin1(c.shown));
        EXPECT_EQ(host.Edit->selectionStart(), c.selStart);
        EXPECT_EQ(host.Edit->selectedText().size(), c.selLength);
    }
}

TEST(TimeSpinEdit, AWholeTimeTypedOverTheSelectedText) {
    // Select all, then type a time as one would write it, with or without its
    // separators; the last field keeps the rest of a shorter time.
    struct {
        bool msec;
        const char* script;
        const char* shown;
    } cases[] = {
        {false, "01:10:00", "01:10:00"},   {false, "011000", "01:10:00"},
        {false, "1:10:00", "01:10:00"},    {false, "7:5:3", "07:05: 3"},
        {false, "23:59", "23:59:56"},      {false, "0:0:0", "00:00: 0"},
        {false, "01:10:00:", "01:10:00"},  {true, "01:10:00.250", "01:10:00.250"},
        {true, "0110002", "01:10:00.  2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        Host host;
        host.Edit->SetShowMSec(c.msec);
        host.Edit->SetTime(12 * Hour + 34 * Minute + 56 * Second);
        host.Focus();
        QTest::keyClick(host.Edit, Qt::Key_Right); // wherever the field was, all is selected
        QTest::keyClick(host.Edit, Qt::Key_A, Qt::ControlModifier);
        ASSERT_EQ(host.Edit->selectedText(), host.Edit->text());
        host.Play(c.script);
        EXPECT_EQ(host.Edit->text(), QString::fromLatin1(c.shown));
        host.Leave();
        EXPECT_EQ(host.Edit->text(), QString::fromLatin1(c.shown).replace(u' ', u'0'));
        EXPECT_EQ(host.Edit->Time(), *KvParseTime(host.Edit->text(), {}));
    }
}

TEST(TimeSpinEdit, IgnoredKeys) {
    struct {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        const char* name;
    } cases[] = {
        {Qt::Key_A, Qt::NoModifier, "a"},
        {Qt::Key_Period, Qt::NoModifier, "."}, // a decimal separator without milliseconds
        {Qt::Key_Space, Qt::NoModifier, "space"},
        {Qt::Key_Backspace, Qt::NoModifier, "Backspace"},
        {Qt::Key_Left, Qt::ShiftModifier, "Shift+Left"},
        {Qt::Key_Right, Qt::ShiftModifier, "Shift+Right"},
        {Qt::Key_V, Qt::ControlModifier, "paste"},
        {Qt::Key_X, Qt::ControlModifier, "cut"},
        {Qt::Key_Up, Qt::ControlModifier, "Ctrl+Up"},
        {Qt::Key_Down, Qt::AltModifier, "Alt+Down"},
    };
    QApplication::clipboard()->setText("12:34:56");
    for (const auto& c : cases) {
        Host host;
        host.Edit->SetTime(8 * Hour + 30 * Minute);
        host.Focus();
        QTest::keyClick(host.Edit, Qt::Key_Right);
        host.Changes = 0;
        QTest::keyClick(host.Edit, c.key, c.mods);
        EXPECT_EQ(host.Edit->text(), "08:30:00") << c.name;
        EXPECT_EQ(host.Edit->selectionStart(), 3) << c.name;
        EXPECT_EQ(host.Edit->selectedText(), "30") << c.name;
        EXPECT_EQ(host.Changes, 0) << c.name;
    }
}

TEST(TimeSpinEdit, SteppingWrapsPerFieldWithoutCarry) {
    struct {
        const char* start;
        bool msec;
        const char* script;
        const char* shown;
    } cases[] = {
        {"23:59:59", false, "^", "00:59:59"},
        {"00:00:00", false, "v", "23:00:00"},
        {"23:59:59", false, ">^", "23:00:59"},
        {"23:59:59", false, ">>^", "23:59:00"},
        {"00:00:00", false, ">>v", "00:00:59"},
        {"00:00:00", false, "<v", "00:00:59"}, // Left from the hours goes to the last field
        {"12:00:00", true, "<^", "12:00:00.001"},
        {"12:00:00", true, "<vv", "12:00:00.998"},
        {"12:00:00", false, "^^^", "15:00:00"},
        {"12:00:00", false, "2^", "03:00:00"}, // a waiting digit steps as its number
    };
    for (const auto& c : cases) {
        Host host;
        host.Edit->SetShowMSec(c.msec);
        host.Edit->SetTime(*KvParseTime(QString::fromLatin1(c.start), {}));
        host.Focus();
        host.Play(c.script);
        EXPECT_EQ(host.Edit->text(), QString::fromLatin1(c.shown)) << c.start << " " << c.script;
    }
}

TEST(TimeSpinEdit, WheelAndArrowsStepTheCurrentField) {
    Host host;
    host.Edit->SetTime(10 * Hour + 59 * Minute);
    host.Focus();
    QTest::keyClick(host.Edit, Qt::Key_Right);
    host.Wheel(120);
    EXPECT_EQ(host.Edit->text(), "10:00:00");
    host.Wheel(-120);
    host.Wheel(-120);
    EXPECT_EQ(host.Edit->text(), "10:58:00");
    host.ClickArrow(true);
    EXPECT_EQ(host.Edit->text(), "10:59:00");
    host.ClickArrow(false);
    EXPECT_EQ(host.Edit->text(), "10:58:00");
    // The arrows take the focus to the box, and the field stays selected.
    EXPECT_TRUE(host.Edit->hasFocus());
    EXPECT_EQ(host.Edit->selectedText(), "58");
}

TEST(TimeSpinEdit, ReadOnlyIgnoresStepsAndTyping) {
    Host host;
    host.Edit->SetTime(10 * Hour);
    host.Edit->SetReadOnly(true);
    host.Focus();
    host.Changes = 0;
    host.Play("^v5");
    host.Wheel(120);
    host.ClickArrow(true);
    host.ClickArrow(false);
    EXPECT_EQ(host.Edit->text(), "10:00:00");
    EXPECT_EQ(host.Changes, 0);
    QTest::keyClick(host.Edit, Qt::Key_Right); // moving between fields still works
    EXPECT_EQ(host.Edit->selectedText(), "00");
    EXPECT_EQ(host.Edit->selectionStart(), 3);
}

TEST(TimeSpinEdit, FieldNavigationTable) {
    struct {
        bool msec;
        const char* script;
        int field;
    } cases[] = {
        {false, ">", 3},  {false, ">>", 6}, {false, ">>>", 0}, {false, "<", 6},
        {false, "<<", 3}, {true, ">>>", 9}, {true, ">>>>", 0}, {true, "<", 9},
    };
    for (const auto& c : cases) {
        Host host;
        host.Edit->SetShowMSec(c.msec);
        host.Focus();
        host.Play(c.script);
        EXPECT_EQ(host.Edit->selectionStart(), c.field) << c.script << " msec " << c.msec;
        EXPECT_EQ(host.Edit->selectedText().size(), c.field == 9 ? 3 : 2);
        EXPECT_EQ(host.Edit->CurrentPos(), c.field);
    }
}

TEST(TimeSpinEdit, ClickSelectsTheFieldUnderThePointer) {
    struct {
        int charIndex;
        bool rightHalf;
        int field;
    } cases[] = {
        {0, false, 0},
        {1, true, 0},
        {2, false, 0},
        {2, true, 0}, // the separator after the hours
                      // belongs to the hours
        {3, false, 3},
        {4, true, 3},
        {5, true, 3},
        {6, false, 6},
        {7, true, 6},
    };
    for (const auto& c : cases) {
        Host host;
        host.Edit->SetTime(12 * Hour + 34 * Minute + 56 * Second);
        const int x = host.CharX(c.charIndex, c.rightHalf);
        const QPointF farLeft(host.CharX(0, false), 4); // measured first: measuring moves the caret
        QTest::mouseClick(host.Edit, Qt::LeftButton, {}, QPoint(x, 4));
        EXPECT_TRUE(host.Edit->hasFocus());
        EXPECT_EQ(host.Edit->selectionStart(), c.field) << c.charIndex << " " << c.rightHalf;
        EXPECT_EQ(host.Edit->selectedText().size(), 2);
        // Dragging with the button held does not select across fields.
        QTest::mousePress(host.Edit, Qt::LeftButton, {}, QPoint(x, 4));
        QMouseEvent move(QEvent::MouseMove, farLeft, host.Edit->mapToGlobal(farLeft), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(host.Edit, &move);
        QTest::mouseRelease(host.Edit, Qt::LeftButton, {}, QPoint(x, 4));
        EXPECT_EQ(host.Edit->selectionStart(), c.field);
        EXPECT_EQ(host.Edit->selectedText().size(), 2);
    }
}

TEST(TimeSpinEdit, FocusRules) {
    Host host;
    host.Edit->SetTime(8 * Hour);
    host.Focus();
    EXPECT_EQ(host.Edit->selectionStart(), 0); // entering selects the current field
    EXPECT_EQ(host.Edit->selectedText(), "08");
    host.Play(">5");
    EXPECT_EQ(host.Edit->text(), "08: 5:00");
    host.Leave();
    EXPECT_EQ(host.Edit->text(), "08:05:00"); // leaving fills the waiting space
    EXPECT_EQ(host.Edit->CurrentPos(), 3);
    host.Focus();
    EXPECT_EQ(host.Edit->selectionStart(), 3); // the field is remembered
    EXPECT_EQ(host.Edit->selectedText(), "05");
    // A caret moved inside a field (End) still brings back that whole field.
    QTest::keyClick(host.Edit, Qt::Key_End);
    host.Leave();
    EXPECT_EQ(host.Edit->CurrentPos(), 6);
    host.Focus();
    EXPECT_EQ(host.Edit->selectedText(), "00");
    EXPECT_EQ(host.Edit->selectionStart(), 6);
    // Switching milliseconds starts again at the hours.
    host.Edit->SetShowMSec(true);
    EXPECT_EQ(host.Edit->text(), "08:05:00.000");
    EXPECT_EQ(host.Edit->CurrentPos(), 0);
    EXPECT_EQ(host.Edit->selectedText(), "08");
}

TEST(TimeSpinEdit, UpdateNesting) {
    TKvTimeSpinEdit edit;
    edit.show();
    edit.BeginUpdate();
    edit.BeginUpdate();
    EXPECT_FALSE(edit.updatesEnabled());
    edit.EndUpdate();
    EXPECT_FALSE(edit.updatesEnabled());
    edit.EndUpdate();
    EXPECT_TRUE(edit.updatesEnabled());
    edit.EndUpdate(); // an unmatched end only re-enables
    EXPECT_TRUE(edit.updatesEnabled());
    edit.BeginUpdate();
    EXPECT_FALSE(edit.updatesEnabled());
    edit.EndUpdate();
}
