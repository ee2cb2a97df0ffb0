// The text page: the display choices, and the day-word editor's flows on the
// words file of a temporary language folder.
#include "app/options/OptionTextPage.h"

#include "app/DayWords.h"
#include "widgets/KvEdit.h"
#include "app/options/OptionControls.h"
#include "OptionFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

const QString kWeek = "1=M\n2=T\n3=W\n4=R\n5=F\n6=S\n7=U";

QString Fallback(const char* key) {
    return FallbackText(QLatin1String(key));
}
QString Joined(const char* a, const char* b, const QString& title = QString()) {
    return FormatMsg(JoinMsg(Fallback(a), Fallback(b)), {title});
}

} // namespace

TEST(OptionTextPage, LoadingGivesTheHandlersStates) {
    struct {
        bool date, day, second;
    } cases[] = {
        {false, false, false}, {true, false, true}, {false, true, false}, {true, true, true}};
    for (const auto& c : cases) {
        OptionFixture fx(
            QStringLiteral("[ClockStr]\nShowDate=%1\nShowDayOfTheWeek=%2\nShowSecond=%3")
                .arg(c.date)
                .arg(c.day)
                .arg(c.second));
        fx.Open();
        auto& p = fx.Page<TOptionTextPage>();
        SCOPED_TRACE(QStringLiteral("%1%2%3").arg(c.date).arg(c.day).arg(c.second).toStdString());
        EXPECT_EQ(p.CheckBox101->isChecked(), c.date);
        EXPECT_EQ(p.CheckBox102->isChecked(), c.day);
        EXPECT_EQ(p.RadioGroup101->ItemIndex(), c.second ? 0 : 1);
        EXPECT_EQ(p.RadioGroup101->Columns(), 2);
        // The handlers wrote back what was loaded.
        EXPECT_EQ(fx.Main->Settings().ShowDate, c.date);
        EXPECT_EQ(fx.Main->Settings().ShowDayOfTheWeek, c.day);
        EXPECT_EQ(fx.Main->Settings().ShowSecond, c.second);
        EXPECT_EQ(p.DaySectionList(), QStringList{"English_LatinAlphabet"});
        EXPECT_EQ(p.ComboBox101->currentText(), "English_LatinAlphabet");
        EXPECT_EQ(p.Edit101->text(), "English_LatinAlphabet");
        EXPECT_TRUE(p.Memo101->toPlainText().startsWith("1=Mon\n2=Tue"));
        EXPECT_TRUE(fx.Boxes.isEmpty());
    }
}

TEST(OptionTextPage, EachChoiceReachesTheClockAtOnce) {
    OptionFixture fx("[ClockStr]\nShowDate=0\nShowDayOfTheWeek=0\nShowSecond=0");
    fx.Open();
    auto& p = fx.Page<TOptionTextPage>();
    int width = fx.Main->width();
    const auto grew = [&] {
        const bool g = fx.Main->width() > width;
        width = fx.Main->width();
        return g;
    };
    p.CheckBox101->click();
    EXPECT_TRUE(fx.Main->Settings().ShowDate);
    EXPECT_TRUE(grew());
    p.CheckBox102->click();
    EXPECT_TRUE(fx.Main->Settings().ShowDayOfTheWeek);
    EXPECT_TRUE(grew());
    p.RadioGroup101->Item(0)->click();
    EXPECT_TRUE(fx.Main->Settings().ShowSecond);
    EXPECT_TRUE(grew());
    p.RadioGroup101->Item(1)->click();
    EXPECT_FALSE(fx.Main->Settings().ShowSecond);
    EXPECT_LT(fx.Main->width(), width);
}

TEST(OptionTextPage, UpdateRefusals) {
    struct {
        const char* name;
        QString title, contents;
        QString message;
    } cases[] = {
        {"empty title", "", kWeek, Fallback("MsgWarnEditMemoEmpty")},
        {"empty contents", "Short", "", Fallback("MsgWarnEditMemoEmpty")},
        {"six lines", "Short", "1=M\n2=T\n3=W\n4=R\n5=F\n6=S",
         Joined("MsgWarnNameValueInvalid", "MsgWarnCheckNameValue")},
        {"day 8", "Short", "1=M\n2=T\n3=W\n4=R\n5=F\n6=S\n8=U",
         Joined("MsgWarnNameValueInvalid", "MsgWarnCheckNameValue")},
        {"day 0", "Short", "0=M\n2=T\n3=W\n4=R\n5=F\n6=S\n7=U",
         Joined("MsgWarnNameValueInvalid", "MsgWarnCheckNameValue")},
        {"repeated", "Short", "1=M\n1=T\n3=W\n4=R\n5=F\n6=S\n7=U",
         Joined("MsgWarnNameValueInvalid", "MsgWarnCheckNameValue")},
        {"not a number", "Short", "x=M\n2=T\n3=W\n4=R\n5=F\n6=S\n7=U",
         Joined("MsgWarnNameValueInvalid", "MsgWarnCheckNameValue")},
        {"empty word", "Short", "1=\n2=T\n3=W\n4=R\n5=F\n6=S\n7=U",
         Joined("MsgWarnNameValueInvalid", "MsgWarnCheckNameValue")},
        {"control section", "daylang", kWeek,
         FormatMsg(Fallback("MsgWarnDayLangTitleInvalid"), {"daylang"})},
        {"bracket", "a]b", kWeek, FormatMsg(Fallback("MsgWarnDayLangTitleInvalid"), {"a]b"})},
        {"opening bracket", "[x", kWeek, FormatMsg(Fallback("MsgWarnDayLangTitleInvalid"), {"[x"})},
        {"comment", ";x", kWeek, FormatMsg(Fallback("MsgWarnDayLangTitleInvalid"), {";x"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OptionFixture fx;
        fx.Open();
        auto& p = fx.Page<TOptionTextPage>();
        QFile file(DayLangFile());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        p.Edit101->setText(c.title);
        p.Memo101->setPlainText(c.contents);
        p.Button101->click();
        EXPECT_EQ(fx.Boxes, QStringList{c.message});
        EXPECT_EQ(p.Edit101->text(), c.title); // the editor keeps what was typed
        EXPECT_EQ(p.Memo101->toPlainText(), c.contents);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before);
    }
}

TEST(OptionTextPage, AddOverwriteAndCancel) {
    OptionFixture fx;
    fx.Open();
    auto& p = fx.Page<TOptionTextPage>();
    // Cancelled: nothing written, the editor keeps its contents.
    p.Edit101->setText("Short");
    p.Memo101->setPlainText(kWeek + "\n9=ignored line");
    fx.Answers = {mrCancel};
    p.Button101->click();
    EXPECT_EQ(fx.Boxes, QStringList{Joined("MsgConfirmAddItem", "MsgConfirmOKCancel", "Short")});
    EXPECT_FALSE(DaySectionExists(DayLangFile(), "Short"));
    EXPECT_EQ(p.Edit101->text(), "Short");
    // Added: the eighth line is not written; the new kind is current and stored.
    fx.Boxes.clear();
    p.Button101->click();
    EXPECT_EQ(fx.Boxes, QStringList({Joined("MsgConfirmAddItem", "MsgConfirmOKCancel", "Short"),
                                     FormatMsg(Fallback("MsgInfoAddedItem"), {"Short"})}));
    EXPECT_EQ(ReadDayKindLines(DayLangFile(), "Short"), kWeek.split('\n'));
    EXPECT_EQ(p.DaySectionList(), QStringList({"English_LatinAlphabet", "Short"}));
    EXPECT_EQ(p.ComboBox101->count(), 2);
    EXPECT_EQ(p.ComboBox101->currentText(), "Short");
    EXPECT_EQ(CurrentDayLangKind(), "Short");
    EXPECT_EQ(ReadDayLangKind(DayLangFile()), "Short");
    EXPECT_EQ(fx.Main->DayWords().Mon, "M");
    // Overwriting the first kind (named in another letter case) moves it to the end.
    fx.Boxes.clear();
    p.Edit101->setText("english_latinalphabet");
    p.Memo101->setPlainText("7=Sunday\n6=Sat\n5=Fri\n4=Thu\n3=Wed\n2=Tue\n1=Monday");
    p.Button101->click();
    EXPECT_EQ(fx.Boxes,
              QStringList(
                  {Joined("MsgConfirmOverwriteItem", "MsgConfirmOKCancel", "english_latinalphabet"),
                   FormatMsg(Fallback("MsgInfoOverwroteItem"), {"english_latinalphabet"})}));
    EXPECT_EQ(ReadDaySections(DayLangFile()).last(), "english_latinalphabet");
    EXPECT_EQ(p.DaySectionList(), QStringList({"English_LatinAlphabet", "Short"})); // old order
    EXPECT_EQ(p.ComboBox101->currentIndex(), 0);
    EXPECT_EQ(fx.Main->DayWords().Mon, "Monday");
    EXPECT_EQ(fx.Main->DayWords().Sun, "Sunday");
}

TEST(OptionTextPage, ChoosingAKindShowsItAndTheClockUsesIt) {
    OptionFixture fx("[ClockStr]\nShowDayOfTheWeek=1");
    WriteDaySection(DayLangFile(), "Long",
                    {"1=Monday-long", "2=b", "3=c", "4=d", "5=e", "6=f", "7=g"});
    fx.Open();
    auto& p = fx.Page<TOptionTextPage>();
    const int width = fx.Main->width();
    p.ComboBox101->setCurrentIndex(1);
    emit p.ComboBox101->activated(1);
    EXPECT_EQ(CurrentDayLangKind(), "Long");
    EXPECT_EQ(p.Edit101->text(), "Long");
    EXPECT_TRUE(p.Memo101->toPlainText().startsWith("1=Monday-long"));
    EXPECT_GT(fx.Main->width(), width);
    EXPECT_EQ(ReadDayLangKind(DayLangFile()), "English_LatinAlphabet"); // stored on closing
}

namespace {

void ShiftClick(TOptionTextPage& p) {
    QTest::mouseClick(p.Button101, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 5));
}

} // namespace

TEST(OptionTextPage, DeleteFlows) {
    // Only one kind: refused, the editor shows the current kind again.
    {
        OptionFixture fx;
        fx.Open();
        auto& p = fx.Page<TOptionTextPage>();
        p.Edit101->setText("English_LatinAlphabet");
        p.Memo101->clear();
        ShiftClick(p);
        EXPECT_EQ(fx.Boxes,
                  QStringList{Joined("MsgWarnDayLangTheLastSection", "MsgWarnExitWithoutDelete",
                                     "English_LatinAlphabet")});
        EXPECT_TRUE(p.Memo101->toPlainText().startsWith("1=Mon"));
    }
    OptionFixture fx;
    WriteDaySection(DayLangFile(), "Second", kWeek.split('\n'));
    WriteDaySection(DayLangFile(), "Third", kWeek.split('\n'));
    fx.Open();
    auto& p = fx.Page<TOptionTextPage>();
    // A kind that is not in the file.
    p.Edit101->setText("Nowhere");
    p.Memo101->clear();
    ShiftClick(p);
    EXPECT_EQ(fx.Boxes, QStringList{Joined("MsgWarnDayLangSameSectionNotExists",
                                           "MsgWarnExitWithoutDelete", "Nowhere")});
    // Cancelled.
    fx.Boxes.clear();
    p.Edit101->setText("Third");
    p.Memo101->clear();
    fx.Answers = {mrCancel};
    ShiftClick(p);
    EXPECT_EQ(fx.Boxes, QStringList{Joined("MsgConfirmDeleteItem", "MsgConfirmOKCancel", "Third")});
    EXPECT_TRUE(DaySectionExists(DayLangFile(), "Third"));
    EXPECT_EQ(p.Edit101->text(), "English_LatinAlphabet");
    // Deleting a kind not in use keeps the one in use.
    fx.Boxes.clear();
    p.Edit101->setText("third");
    p.Memo101->clear();
    ShiftClick(p);
    EXPECT_EQ(fx.Boxes, QStringList({Joined("MsgConfirmDeleteItem", "MsgConfirmOKCancel", "third"),
                                     FormatMsg(Fallback("MsgInfoDeletedItem"), {"third"})}));
    EXPECT_FALSE(DaySectionExists(DayLangFile(), "Third"));
    EXPECT_EQ(p.DaySectionList(), QStringList({"English_LatinAlphabet", "Second"}));
    EXPECT_EQ(CurrentDayLangKind(), "English_LatinAlphabet");
    // Deleting the kind in use chooses the first one left and stores it.
    p.ComboBox101->setCurrentIndex(1);
    emit p.ComboBox101->activated(1);
    p.Edit101->setText("Second");
    p.Memo101->clear();
    ShiftClick(p);
    EXPECT_EQ(CurrentDayLangKind(), "English_LatinAlphabet");
    EXPECT_EQ(ReadDayLangKind(DayLangFile()), "English_LatinAlphabet");
    EXPECT_EQ(p.ComboBox101->count(), 1);
    EXPECT_EQ(fx.Main->DayWords().Mon, "Mon");
}

TEST(OptionTextPage, ShiftClickWithContentsIsAnUpdate) {
    OptionFixture fx;
    fx.Open();
    auto& p = fx.Page<TOptionTextPage>();
    p.Edit101->setText("Short");
    p.Memo101->setPlainText(kWeek);
    fx.Answers = {mrCancel};
    ShiftClick(p);
    EXPECT_EQ(fx.Boxes, QStringList{Joined("MsgConfirmAddItem", "MsgConfirmOKCancel", "Short")});
}

TEST(OptionTextPage, DeletingTheControlSectionIsRefused) {
    OptionFixture fx;
    WriteDaySection(DayLangFile(), "Second", kWeek.split('\n'));
    fx.Open();
    auto& p = fx.Page<TOptionTextPage>();
    for (const char* title : {"DayLang", "daylang"}) {
        fx.Boxes.clear();
        p.Edit101->setText(title);
        p.Memo101->clear();
        ShiftClick(p);
        EXPECT_EQ(fx.Boxes, QStringList{FormatMsg(Fallback("MsgWarnDayLangTitleInvalid"), {title})});
        EXPECT_EQ(ReadDayLangKind(DayLangFile()), "English_LatinAlphabet");
        EXPECT_TRUE(ReadDaySections(DayLangFile()).contains("DayLang"));
        EXPECT_EQ(p.Edit101->text(), "English_LatinAlphabet"); // the editor shows the kind again
    }
}

TEST(OptionTextPage, OneDeleteRemovesOneOfTwoSetsDifferingInCase) {
    OptionFixture fx;
    {
        // A hand-edited file with two such sets.
        IniDocument d(DayLangFile());
        d.SetStrings({"[DayLang]", "DayLangKind=Week", "[English_LatinAlphabet]", "1=Mon",
                      "[Week]", "1=A", "[week]", "1=b"});
        d.UpdateFile();
    }
    fx.Open();
    auto& p = fx.Page<TOptionTextPage>();
    p.ComboBox101->setCurrentIndex(1); // the upper-case one is in use
    emit p.ComboBox101->activated(1);
    ASSERT_EQ(CurrentDayLangKind(), "Week");
    p.Edit101->setText("week");
    p.Memo101->clear();
    ShiftClick(p);
    EXPECT_EQ(fx.Boxes, QStringList({Joined("MsgConfirmDeleteItem", "MsgConfirmOKCancel", "week"),
                                     FormatMsg(Fallback("MsgInfoDeletedItem"), {"week"})}));
    EXPECT_EQ(ReadDaySections(DayLangFile()),
              QStringList({"DayLang", "English_LatinAlphabet", "Week"}));
    EXPECT_EQ(p.DaySectionList(), QStringList({"English_LatinAlphabet", "Week"}));
    // The set in use stays in use, and it is still in the file.
    EXPECT_EQ(ReadDayLangKind(DayLangFile()), "Week");
    EXPECT_EQ(fx.Main->DayWords().Mon, "A");
}
