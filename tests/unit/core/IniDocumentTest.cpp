#include "core/IniDocument.h"

#include "core/TextForms.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace velmora;

namespace {

QByteArray Utf16(const QString& text, bool bom = true) {
    QByteArray out = bom ? QByteArray("\xFF\xFE", 2) : QByteArray();
    for (QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

IniDocument Parse(const QString& text, const QLocale& locale = QLocale::c()) {
    IniDocument d(QString(), locale);
    d.LoadFromBytes(Utf16(text));
    return d;
}

} // namespace

TEST(IniDocument, HandEditedFileLosesCommentsKeepsUnknownKeys) {
    IniDocument d = Parse("junk before any section\r\n"
                          "; a comment\r\n"
                          "[ ClockStr ]\r\n"
                          "\r\n"
                          "   ShowDate   =   0   \r\n"
                          "Extra=kept\n"
                          "no equals sign here\r"
                          "[Other]\r\n"
                          "k=v=w\r\n");
    EXPECT_EQ(d.ReadSections(), (QStringList{"ClockStr", "Other"}));
    EXPECT_EQ(d.ReadString("clockstr", "SHOWDATE", "x"), "0");
    EXPECT_EQ(d.ReadString("Other", "k", ""), "v=w"); // split at the first "=" only
    EXPECT_EQ(d.GetStrings(), (QStringList{"[ClockStr]", "ShowDate=0", "Extra=kept",
                                           "no equals sign here", "", "[Other]", "k=v=w", ""}));
}

TEST(IniDocument, WrittenBytesAreUtf16WithBomAndCrLfEverywhere) {
    IniDocument d;
    d.WriteString("A", "Key", "日本");
    d.WriteInteger("B", "N", -5);
    const QByteArray bytes = d.ToBytes();
    EXPECT_EQ(bytes, Utf16("[A]\r\nKey=日本\r\n\r\n[B]\r\nN=-5\r\n\r\n"));
    EXPECT_TRUE(bytes.startsWith("\xFF\xFE"));
    EXPECT_TRUE(bytes.endsWith(QByteArray("\r\0\n\0", 4)));
}

TEST(IniDocument, ReadsWithoutBomAndAllLineBreaks) {
    IniDocument d;
    d.LoadFromBytes(Utf16("[S]\rA=1\nB=2\r\nC=3", false));
    EXPECT_EQ(d.ReadInteger("S", "A", 0) + d.ReadInteger("S", "B", 0) + d.ReadInteger("S", "C", 0),
              6);
}

TEST(IniDocument, AStraySurrogateCostsOnlyItsOwnLine) {
    QString text = QStringLiteral("[A]\r\nk=1\r\nbad=x\r\n[B]\r\nj=2\r\n");
    text[text.indexOf('x')] = QChar(0xD800); // a lone high surrogate
    IniDocument d;
    d.LoadFromBytes(Utf16(text));
    EXPECT_EQ(d.ReadSections(), (QStringList{"A", "B"}));
    EXPECT_EQ(d.ReadInteger("B", "j", 0), 2);
}

TEST(IniDocument, Utf8FileYieldsOnlyDefaults) {
    IniDocument d;
    d.LoadFromBytes(QByteArray("[ClockStr]\r\nShowDate=0\r\n"));
    EXPECT_TRUE(d.ReadBool("ClockStr", "ShowDate", true));
    EXPECT_FALSE(d.SectionExists("ClockStr"));
    EXPECT_TRUE(d.ForeignEncoding());
    IniDocument utf16;
    utf16.LoadFromBytes(Utf16("[A]\r\nk=1\r\n", false));
    EXPECT_FALSE(utf16.ForeignEncoding());
}

TEST(IniDocument, WriteStringReplacesInPlaceAndAppends) {
    IniDocument d = Parse("[S]\r\na=1\r\nb=2\r\n[T]\r\nx=1\r\n");
    d.WriteString("s", "A", "9");   // the line is replaced in place
    d.WriteString("S", "c", "3");   // appended to its section
    d.WriteString("New", "k", "v"); // new section at the end
    EXPECT_EQ(d.GetStrings(),
              (QStringList{"[S]", "A=9", "b=2", "c=3", "", "[T]", "x=1", "", "[New]", "k=v", ""}));
}

TEST(IniDocument, ValuesCannotInjectLines) {
    IniDocument d;
    d.WriteString("S", "Hint", "one\r\n[Evil]\r\nx=1");
    IniDocument again;
    again.LoadFromBytes(d.ToBytes());
    EXPECT_EQ(again.ReadSections(), QStringList{"S"});
    EXPECT_EQ(again.ReadString("S", "Hint", ""), "one  [Evil]  x=1");
}

TEST(IniDocument, KeysThatCannotBeReadBackAreRefused) {
    IniDocument d;
    for (const char* key : {"a=b", "[x", "; note"})
        EXPECT_THROW(d.WriteString("S", key, "v]"), TIniWriteError) << key;
    EXPECT_TRUE(d.ReadSections().isEmpty());
}

TEST(IniDocument, EmptyValueIsNotMissing) {
    IniDocument d = Parse("[S]\r\nk=\r\n");
    EXPECT_EQ(d.ReadString("S", "k", "def"), "");
    EXPECT_EQ(d.ReadString("S", "missing", "def"), "def");
    EXPECT_EQ(d.ReadInteger("S", "k", 7), 7);
}

TEST(IniDocument, SectionsDuplicatesExistenceAndErase) {
    IniDocument d = Parse("[Empty]\r\n[S]\r\nk=1\r\n[s]\r\nk=2\r\nk=3\r\n");
    EXPECT_FALSE(d.SectionExists("Empty")); // a header without lines counts as missing
    EXPECT_TRUE(d.SectionExists("S"));
    EXPECT_EQ(d.ReadSections(), (QStringList{"Empty", "S", "s"}));
    EXPECT_EQ(d.ReadInteger("S", "k", 0), 1); // the first section of the name wins
    d.EraseSection("S");
    EXPECT_EQ(d.ReadInteger("S", "k", 0), 2);
    EXPECT_EQ(d.ReadSectionValues("s"), (QStringList{"k=2", "k=3"}));
    d.EraseSection("nothing");
    EXPECT_EQ(d.ReadSections().size(), 2);
}

TEST(IniDocument, SetStringsParsesLikeLoading) {
    IniDocument d;
    d.SetStrings({"  ; c", "[A]", " x = 1 ", "", "[B]"});
    EXPECT_EQ(d.GetStrings(), (QStringList{"[A]", "x=1", "", "[B]", ""}));
}

TEST(IniDocument, IntegerAndBoolForms) {
    struct Case {
        const char* text;
        int32_t expected;
    } cases[] = {
        {"0x1F", 31},       {"0X1f", 31},
        {"0x", 99},         {"$FF", 255},
        {"$FFFFFFFF", -1},  {"-12", -12},
        {"+7", 7},          {"2147483647", 2147483647},
        {"2147483648", 99}, {"-2147483648", INT32_MIN},
        {"12a", 99},        {"", 99},
        {"$", 99},          {"$123456789", 99},
        {"1.5", 99},        {"yes", 99},
        {"$0x10", 99},      {"- 1", 99},
    };
    for (const auto& c : cases) {
        IniDocument d = Parse(QStringLiteral("[S]\r\nk=%1\r\n").arg(c.text));
        EXPECT_EQ(d.ReadInteger("S", "k", 99), c.expected) << c.text;
    }
    struct BoolCase {
        const char* text;
        bool def;
        bool expected;
    } bools[] = {{"2", false, true},  {"-1", false, true},   {"0", true, false},
                 {"yes", true, true}, {"yes", false, false}, {"1", false, true}};
    for (const auto& c : bools) {
        IniDocument d = Parse(QStringLiteral("[S]\r\nk=%1\r\n").arg(c.text));
        EXPECT_EQ(d.ReadBool("S", "k", c.def), c.expected) << c.text;
    }
    IniDocument w;
    w.WriteBool("S", "t", true);
    w.WriteBool("S", "f", false);
    w.WriteInteger("S", "n", INT32_MIN);
    EXPECT_EQ(w.ReadSectionValues("S"), (QStringList{"t=1", "f=0", "n=-2147483648"}));
}

TEST(IniDocument, FloatFormsFollowTheLocale) {
    const QLocale c = QLocale::c();
    const QLocale de(QLocale::German, QLocale::Germany);
    IniDocument d(QString(), c);
    d.WriteFloat("S", "one", 1.0);
    d.WriteFloat("S", "q", 0.75);
    d.WriteFloat("S", "big", 12345.5);
    d.WriteFloat("S", "third", 1.0 / 3.0);
    EXPECT_EQ(d.ReadSectionValues("S"),
              (QStringList{"one=1", "q=0.75", "big=12345.5", "third=0.333333333333333"}));
    IniDocument g(QString(), de);
    g.WriteFloat("S", "q", 0.75);
    EXPECT_EQ(g.ReadString("S", "q", ""), "0,75");
    EXPECT_DOUBLE_EQ(g.ReadFloat("S", "q", 9), 0.75);

    struct Case {
        const char* text;
        QLocale locale;
        double expected;
    } cases[] = {{"1.25", c, 1.25}, {"1,25", c, 9}, {"1,25", de, 1.25}, {"3", c, 3},
                 {"", c, 9},        {"abc", c, 9},  {"1e3", c, 1000},   {"1,000.5", c, 9},
                 {"inf", c, 9},     {"nan", c, 9},  {"-0.5", c, -0.5}};
    for (const auto& k : cases) {
        IniDocument p = Parse(QStringLiteral("[S]\r\nk=%1\r\n").arg(k.text), k.locale);
        EXPECT_DOUBLE_EQ(p.ReadFloat("S", "k", 9), k.expected) << k.text;
    }
}

TEST(IniDocument, TimeFormsFollowTheLocale) {
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale ja(QLocale::Japanese, QLocale::Japan);
    const QLocale de(QLocale::German, QLocale::Germany);
    const QLocale fi(QLocale::Finnish, QLocale::Finland);
    for (const QLocale& l : {QLocale::c(), us, ja, de, fi}) {
        IniDocument d(QString(), l);
        for (double t : {0.0, 0.5, 0.25, (13 * 3600 + 5 * 60 + 7) / 86400.0, 86399 / 86400.0}) {
            d.WriteTime("S", "t", t);
            EXPECT_TRUE(SameTimeOfDay(d.ReadTime("S", "t", 0.9), t))
                << l.name().toStdString() << " " << d.ReadString("S", "t", "").toStdString();
        }
    }
    IniDocument c(QString(), QLocale::c());
    c.WriteTime("S", "noon", 0.5);
    EXPECT_EQ(c.ReadString("S", "noon", ""), "12:00:00");
    IniDocument u(QString(), us);
    u.WriteTime("S", "noon", 0.5);
    EXPECT_EQ(u.ReadString("S", "noon", ""), "12:00:00 PM");
    IniDocument f(QString(), fi);
    f.WriteTime("S", "noon", 0.5);
    EXPECT_EQ(f.ReadString("S", "noon", ""), "12.00.00");

    struct Case {
        const char* text;
        double expected; // -1: the default
    } cases[] = {{"12:00:00", 0.5},    {"6:00", 0.25},         {"23:59:59", 86399 / 86400.0},
                 {"24:00:00", -1},     {"12:60:00", -1},       {"", -1},
                 {"noon", -1},         {"1:2:3:4", -1},        {"12:00:00.500", (43200.5) / 86400},
                 {"12:00:00 AM", 0.0}, {"1:00 pm", 13 / 24.0}, {"13:00 PM", -1}};
    for (const auto& k : cases) {
        IniDocument p = Parse(QStringLiteral("[S]\r\nk=%1\r\n").arg(k.text));
        const double got = p.ReadTime("S", "k", -1);
        if (k.expected < 0)
            EXPECT_EQ(got, -1) << k.text;
        else
            EXPECT_TRUE(SameTimeOfDay(got, k.expected)) << k.text << " " << got;
    }
}

TEST(IniDocument, ColorNamesAndForms) {
    struct Case {
        const char* text;
        TColor expected;
    } cases[] = {
        {"clRed", 0x0000FF},
        {"CLRED", 0x0000FF},
        {"$000000FF", 0x0000FF},
        {"255", 0xFF},
        {"clGreen", 0x008000},
        {"clMoneyGreen", 0xC0DCC0},
        {"clSkyBlue", 0xF0CAA6},
        {"clCream", 0xF0FBFF},
        {"clMedGray", 0xA4A0A0},
        {"clNone", 0x1FFFFFFF},
        {"clDefault", 0x20000000},
        {"clBtnFace", TColor(0xFF00000F)},
        {"clMenuBar", TColor(0xFF00001E)},
        {"clHotLight", TColor(0xFF00001A)},
        {"", 0x123},
        {"red", 0x123},
        {"0x0000FF", 0x123}, // the "0x" form is for integers only
    };
    for (const auto& c : cases) {
        IniDocument d = Parse(QStringLiteral("[S]\r\nk=%1\r\n").arg(c.text));
        EXPECT_EQ(d.ReadColor("S", "k", 0x123), c.expected) << c.text;
    }
    const auto system = [](int index) { return index == 15 ? QColor(1, 2, 3) : QColor(); };
    IniDocument w;
    w.WriteColor("S", "green", 0x008000, system);
    w.WriteColor("S", "face", TColor(0xFF00000F), system); // written as today's RGB
    w.WriteColor("S", "blue", 0xFF0000, system);
    EXPECT_EQ(w.ReadSectionValues("S"),
              (QStringList{"green=$00008000", "face=$00030201", "blue=$00FF0000"}));
}

TEST(IniDocument, UpdateFileIsAtomicAndReportsFailure) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ini");
    IniDocument d(path);
    d.WriteString("S", "k", "v");
    d.UpdateFile();
    IniDocument again(path);
    EXPECT_EQ(again.ReadString("S", "k", ""), "v");
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.ini"});

    // A folder that cannot be written: an error naming the path, the old file intact.
    // (A file in place of the folder fails for every user, root included.)
    const QString blocked = dir.filePath("plain-file/b.ini");
    QFile f(dir.filePath("plain-file"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    IniDocument w(blocked);
    w.WriteString("S", "k", "changed");
    try {
        w.UpdateFile();
        ADD_FAILURE() << "no error";
    } catch (const TIniWriteError& e) {
        EXPECT_TRUE(QString::fromStdString(e.what()).contains(blocked)) << e.what();
    }
    EXPECT_EQ(IniDocument(path).ReadString("S", "k", ""), "v");
}

TEST(IniDocument, MissingOrUnreadableFileReadsAsEmpty) {
    QTemporaryDir dir;
    IniDocument missing(dir.filePath("none.ini"));
    EXPECT_TRUE(missing.ReadSections().isEmpty());
    EXPECT_TRUE(missing.ReadError().isEmpty());
    IniDocument folder(dir.path()); // a folder where a file was expected
    EXPECT_TRUE(folder.ReadSections().isEmpty());
}

TEST(IniDocument, AFileLargerThanTheCapIsNotRead) {
    QTemporaryDir dir;
    const QString path = dir.filePath("huge.ini");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Utf16("[S]\r\nk=v\r\n"));
        ASSERT_TRUE(f.resize(kMaxIniFileSize + 1)); // zeros after the text
    }
    const IniDocument huge(path);
    EXPECT_FALSE(huge.ReadError().isEmpty());
    EXPECT_TRUE(huge.ReadSections().isEmpty());
    {
        QFile f(path);
        ASSERT_TRUE(f.resize(kMaxIniFileSize)); // exactly the cap is read
    }
    const IniDocument atCap(path);
    EXPECT_TRUE(atCap.ReadError().isEmpty());
    EXPECT_EQ(atCap.ReadString("S", "k", ""), "v");
}

TEST(IniDocument, LookUpsFindTheFirstOfDuplicatesAfterErasing) {
    IniDocument d = Parse("[A]\nk=1\nK=2\n[b]\nx=1\n[a]\nk=3\n");
    EXPECT_EQ(d.ReadString("a", "K", ""), "1"); // first section, first line of the key
    d.EraseSection("A");
    EXPECT_EQ(d.ReadString("A", "k", ""), "3"); // the second section is found now
    d.EraseSection("a");
    EXPECT_FALSE(d.SectionExists("A"));
    d.WriteString("A", "k", "4");
    EXPECT_EQ(d.ReadSections(), QStringList({"b", "A"}));
    EXPECT_EQ(d.ReadString("a", "k", ""), "4");
    const qint64 before = d.LookupSteps();
    for (int i = 0; i < 100; ++i)
        d.ReadString("b", "x", "");
    EXPECT_LE(d.LookupSteps() - before, 200);
}

// Erasing by place removes just that one of two sections whose names differ only
// in case, and counts places as ReadSections lists them, erased ones left out.
TEST(IniDocument, ErasingByPlaceKeepsTheOtherOfTwoNamesDifferingInCase) {
    IniDocument d = Parse("[x]\nq=0\n[Set]\nk=1\n[SET]\nk=2\n[z]\nw=9\n");
    d.EraseSection("x");
    d.EraseSectionAt(0); // "Set", the first listed now
    EXPECT_EQ(d.ReadSections(), QStringList({"SET", "z"}));
    EXPECT_EQ(d.ReadString("set", "k", ""), "2");
    d.EraseSectionAt(5); // past the end: nothing
    d.EraseSectionAt(-1);
    EXPECT_EQ(d.ReadSections(), QStringList({"SET", "z"}));
    d.EraseSectionAt(0);
    EXPECT_FALSE(d.SectionExists("Set"));
    EXPECT_EQ(d.ReadString("z", "w", ""), "9");
}

// A save's temporary file has the settings file's permissions from its creation
// on, before any byte is in it, whatever the process's file mode mask: a private
// file never has a readable copy, and a shared one stays shared.
TEST(IniDocument, TheTemporaryFileOfASaveHasTheFilesPermissions) {
    using P = QFileDevice;
    const mode_t oldMask = ::umask(022);
    struct TCase {
        const char* Name;
        QFileDevice::Permissions Mode;
    };
    const TCase cases[] = {
        {"private", P::ReadOwner | P::WriteOwner},
        {"group", P::ReadOwner | P::WriteOwner | P::ReadGroup},
        {"world-writable", P::ReadOwner | P::WriteOwner | P::ReadGroup | P::WriteGroup |
                               P::ReadOther | P::WriteOther},
        {"read-only", P::ReadOwner},
    };
    for (const TCase& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.ini");
        IniDocument first(path);
        first.WriteString("S", "k", "old");
        first.UpdateFile();
        ASSERT_TRUE(QFile::setPermissions(path, c.Mode));
        const QFileDevice::Permissions want = QFile::permissions(path);

        const QString empty = CreateSavingFile(QFileInfo(path));
        ASSERT_FALSE(empty.isEmpty()) << c.Name;
        EXPECT_EQ(QFileInfo(empty).size(), 0) << c.Name;
        EXPECT_EQ(QFile::permissions(empty), want) << c.Name << ": on creation";
        QFile::remove(empty);

        QFileDevice::Permissions seen;
        WriteFileAtomically(path, QByteArray("new"),
                            [&seen](const QString& temp) { seen = QFile::permissions(temp); });
        EXPECT_EQ(seen, want) << c.Name << ": written, before the rename";
        EXPECT_EQ(QFile::permissions(path), want) << c.Name << ": after the save";
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.ini"})
            << c.Name;
    }
    ::umask(oldMask);
}
