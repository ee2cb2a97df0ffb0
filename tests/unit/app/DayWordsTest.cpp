#include "app/DayWords.h"

#include "core/IniDocument.h"
#include "app/LangFiles.h"
#include "TextFiles.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace velmora;
using testfiles::ReadBytes;
using testfiles::Utf16File;
using testfiles::WriteBytes;

namespace {

const QString kRule =
    ";------------------------------------------------------------------------------";

const QStringList kDefaultDayLines = {
    kRule,
    ";[General]",
    ";title=Velmora_Day",
    ";charset=UTF-16",
    ";description=DayOfTheWeek",
    kRule,
    "",
    "[DayLang]",
    "DayLangKind=English_LatinAlphabet",
    "",
    "[English_LatinAlphabet]",
    "1=Mon",
    "2=Tue",
    "3=Wed",
    "4=Thu",
    "5=Fri",
    "6=Sat",
    "7=Sun",
    "",
};

const QStringList kFrench = {"1=lun", "2=mar", "3=mer", "4=jeu", "5=ven", "6=sam", "7=dim"};

QStringList Words(const TDayOfTheWeekStr& w) {
    return {w.Mon, w.Tue, w.Wed, w.Thu, w.Fri, w.Sat, w.Sun};
}

const QStringList kEnglish = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};

class DayWordsTest : public ::testing::Test {
protected:
    QTemporaryDir Tmp;
    QString Dir;
    QString File;

    void SetUp() override {
        ASSERT_TRUE(Tmp.isValid());
        Dir = Tmp.path() + "/Lang/";
        ASSERT_TRUE(QDir().mkpath(Dir));
        File = Dir + "VlmDay.lang";
        ResetLangState();
    }
    void Write(const QStringList& lines) { WriteBytes(File, Utf16File(lines)); }
};

} // namespace

TEST_F(DayWordsTest, FirstStartWritesTheDefaultFileAndUsesItsWords) {
    ASSERT_EQ(kDefaultDayLines.size(), 19);
    EXPECT_EQ(DefaultDayFileBytes(), Utf16File(kDefaultDayLines));
    QString error = "untouched";
    const TDayOfTheWeekStr words = InitDayWords(Tmp.path() + "/Lang", &error);
    EXPECT_EQ(error, "untouched");
    EXPECT_EQ(DayLangFile(), File);
    EXPECT_EQ(ReadBytes(File), Utf16File(kDefaultDayLines));
    EXPECT_EQ(CurrentDayLangKind(), "English_LatinAlphabet");
    EXPECT_EQ(Words(words), kEnglish);
    EXPECT_EQ(words.ForIsoDay(QDate(2026, 12, 7).dayOfWeek()), "Mon");
    // An existing file is never recreated.
    Write({"[DayLang]", "DayLangKind=Mine", "[Mine]", "1=M"});
    const QByteArray mine = ReadBytes(File);
    EXPECT_EQ(InitDayWords(Dir).Mon, "M");
    EXPECT_EQ(ReadBytes(File), mine);
}

TEST_F(DayWordsTest, SundayTakesKeySeven) {
    Write(QStringList{"[DayLang]", "DayLangKind=Fr", "[Fr]"} + kFrench);
    const TDayOfTheWeekStr words = InitDayWords(Dir);
    const QDate sunday(2026, 12, 13);
    ASSERT_EQ(sunday.dayOfWeek(), 7);
    EXPECT_EQ(words.ForIsoDay(sunday.dayOfWeek()), "dim");
    EXPECT_EQ(words.Sun, "dim");
    EXPECT_EQ(Words(words), (QStringList{"lun", "mar", "mer", "jeu", "ven", "sam", "dim"}));
}

TEST_F(DayWordsTest, KindAndWordLookupRules) {
    const QString longWord(kMaxDayWordLength + 1, 'w');
    struct Case {
        const char* name;
        QByteArray file;
        QString kind;
        QStringList words;
    } cases[] = {
        {"kind names a deleted section",
         Utf16File(QStringList{"[DayLang]", "DayLangKind=Gone", "[Fr]"} + kFrench), "Gone",
         kEnglish},
        {"no DayLang key",
         Utf16File({"[DayLang]", "[English_LatinAlphabet]", "1=X"}),
         "English_LatinAlphabet",
         {"X", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"}},
        {"no DayLang section", Utf16File(QStringList{"[Fr]"} + kFrench), "English_LatinAlphabet",
         kEnglish},
        {"empty Wednesday, missing Friday, names in other case",
         Utf16File(
             {"[daylang]", "daylangkind=fr", "[FR]", "1=a", "2=b", "3=", "4=d", "6=f", "7=g"}),
         "fr",
         {"a", "b", "", "d", "Fri", "f", "g"}},
        {"over-long word",
         Utf16File({"[DayLang]", "DayLangKind=K", "[K]", "1=" + longWord,
                    "2=" + QString(kMaxDayWordLength, 'v')}),
         "K",
         {"Mon", QString(kMaxDayWordLength, 'v'), "Wed", "Thu", "Fri", "Sat", "Sun"}},
        {"UTF-8 file", QByteArray("[DayLang]\r\nDayLangKind=K\r\n[K]\r\n1=X\r\n"),
         "English_LatinAlphabet", kEnglish},
        {"empty file", QByteArray(), "English_LatinAlphabet", kEnglish},
    };
    for (const Case& c : cases) {
        WriteBytes(File, c.file);
        EXPECT_EQ(Words(InitDayWords(Dir)), c.words) << c.name;
        EXPECT_EQ(CurrentDayLangKind(), c.kind) << c.name;
    }
}

TEST_F(DayWordsTest, StoringTheKindRewritesTheFileWithoutComments) {
    WriteDefaultDayFile(File);
    WriteDayLangKind(File, "English_LatinAlphabet");
    EXPECT_EQ(ReadBytes(File), Utf16File({"[DayLang]", "DayLangKind=English_LatinAlphabet", "",
                                          "[English_LatinAlphabet]", "1=Mon", "2=Tue", "3=Wed",
                                          "4=Thu", "5=Fri", "6=Sat", "7=Sun", ""}));
    // Without a DayLang section it is made at the end.
    Write(QStringList{"[Fr]"} + kFrench);
    WriteDayLangKind(File, "Fr");
    EXPECT_EQ(ReadDaySections(File), (QStringList{"Fr", "DayLang"}));
    EXPECT_EQ(ReadDayLangKind(File), "Fr");
}

TEST_F(DayWordsTest, AddOverwriteAndDeleteKinds) {
    WriteDefaultDayFile(File);
    WriteDaySection(File, "Fr", kFrench);
    EXPECT_EQ(ReadDaySections(File), (QStringList{"DayLang", "English_LatinAlphabet", "Fr"}));
    EXPECT_EQ(ReadDayKinds(File), (QStringList{"English_LatinAlphabet", "Fr"}));
    EXPECT_EQ(ReadDayKindLines(File, "fr"), kFrench);
    EXPECT_TRUE(DaySectionExists(File, "Fr"));

    // Overwriting moves the kind to the end.
    const QStringList upper = {"1=L", "2=M", "3=X", "4=J", "5=V", "6=S", "7=D"};
    WriteDaySection(File, "English_LatinAlphabet", upper);
    EXPECT_EQ(ReadDayKinds(File), (QStringList{"Fr", "English_LatinAlphabet"}));
    EXPECT_EQ(LoadDayWords(File, "English_LatinAlphabet").Sun, "D");

    // An empty section does not count as a kind and does not shadow the new one.
    Write(QStringList{"[DayLang]", "DayLangKind=Fr", "[Empty]", "[Fr]"} + kFrench);
    EXPECT_FALSE(DaySectionExists(File, "Empty"));
    WriteDaySection(File, "  Empty ", upper);
    EXPECT_EQ(ReadDaySections(File), (QStringList{"DayLang", "Fr", "Empty"}));
    EXPECT_EQ(LoadDayWords(File, "Empty").Mon, "L");

    EraseDaySection(File, "fr");
    EXPECT_EQ(ReadDayKinds(File), QStringList{"Empty"});

    // Choosing a kind loads its words at once.
    InitDayWords(Dir);
    EXPECT_EQ(ChooseDayLangKind("Empty").Wed, "X");
    EXPECT_EQ(CurrentDayLangKind(), "Empty");
}

TEST_F(DayWordsTest, RefusedTitlesAndContentsLeaveTheFileAlone) {
    WriteDefaultDayFile(File);
    const QByteArray before = ReadBytes(File);
    for (const char* title :
         {"DayLang", "daylang", " DAYLANG ", "a[b", "x]", "[x]", ";c", "  ;c", "a\nb", "", "   "}) {
        const QString t = QString::fromUtf8(title);
        const QString problem = DayKindTitleProblem(t);
        EXPECT_FALSE(problem.isEmpty()) << title;
        if (!t.trimmed().isEmpty()) {
            EXPECT_TRUE(problem.contains(t.trimmed())) << title;
        }
        EXPECT_THROW(WriteDaySection(File, t, kFrench), TDayKindError) << title;
    }
    EXPECT_EQ(ReadBytes(File), before);
    for (const char* title : {"Français", "a;b", "a=b", "日本語_かな", "Day Lang"})
        EXPECT_EQ(DayKindTitleProblem(QString::fromUtf8(title)), QString()) << title;

    const QStringList bad[] = {
        kFrench.mid(0, 6),
        kFrench.mid(0, 6) << "1=again",
        kFrench.mid(0, 6) << "8=huit",
        kFrench.mid(0, 6) << "7=",
        kFrench.mid(0, 6) << "7 dim",
        kFrench.mid(0, 6) << "[x]=dim",
        kFrench + QStringList{"8=x"},
    };
    for (const QStringList& lines : bad) {
        EXPECT_FALSE(DayKindLinesValid(lines)) << lines.join('|').toStdString();
        EXPECT_THROW(WriteDaySection(File, "Fr", lines), TDayKindError);
    }
    EXPECT_TRUE(DayKindLinesValid(kFrench));
    EXPECT_EQ(ReadBytes(File), before);
}

TEST_F(DayWordsTest, FilesThatMustNotBeRewritten) {
    // A file in another encoding reads as empty: writing would lose its kinds.
    const QByteArray utf8("[DayLang]\r\nDayLangKind=K\r\n[K]\r\n1=X\r\n");
    WriteBytes(File, utf8);
    EXPECT_THROW(WriteDayLangKind(File, "K"), TIniWriteError);
    EXPECT_THROW(WriteDaySection(File, "Fr", kFrench), TIniWriteError);
    EXPECT_THROW(EraseDaySection(File, "K"), TIniWriteError);
    EXPECT_EQ(ReadBytes(File), utf8);
    // A folder where the file should be cannot be read or replaced.
    QFile::remove(File);
    ASSERT_TRUE(QDir().mkpath(File));
    EXPECT_THROW(WriteDayLangKind(File, "K"), TIniWriteError);
    EXPECT_EQ(Words(InitDayWords(Dir)), kEnglish);
    // Nor a pipe, which would never end.
    ASSERT_TRUE(QDir().rmdir(File));
    ASSERT_EQ(mkfifo(QFile::encodeName(File).constData(), 0600), 0);
    EXPECT_EQ(Words(InitDayWords(Dir)), kEnglish);
    EXPECT_TRUE(ReadDaySections(File).isEmpty());
    EXPECT_THROW(WriteDayLangKind(File, "K"), TIniWriteError);
}

TEST_F(DayWordsTest, UnwritableFolderKeepsTheDefaultWords) {
    // A path below a regular file cannot be written, whoever runs the test.
    WriteBytes(Tmp.path() + "/blocker", "x");
    QString error;
    const TDayOfTheWeekStr words = InitDayWords(Tmp.path() + "/blocker/Lang/", &error);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(Words(words), kEnglish);
    EXPECT_EQ(CurrentDayLangKind(), "English_LatinAlphabet");
    EXPECT_THROW(WriteDayLangKind(DayLangFile(), "English_LatinAlphabet"), TIniWriteError);
    EXPECT_TRUE(ReadDayKinds(DayLangFile()).isEmpty());
    EXPECT_EQ(Words(ChooseDayLangKind("Any")), kEnglish);
}
