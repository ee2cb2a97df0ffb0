#include "core/CommandSections.h"

#include "core/TextForms.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

const QString kTitle0 = QStringLiteral("Sync the clock");
const QString kDir = QStringLiteral("/opt/velmora");

IniDocument Parse(const QString& text) {
    IniDocument d(QString(), QLocale::c());
    d.SetStrings(text.split(QStringLiteral("\n")));
    return d;
}

// The document's non-blank lines, one text for readable failures.
std::string Lines(const IniDocument& doc) {
    QStringList lines = doc.GetStrings();
    lines.removeAll(QString());
    return lines.join(QLatin1Char('|')).toStdString();
}

std::string Join(const QStringList& lines) {
    return lines.join(QLatin1Char('|')).toStdString();
}

void Load(const IniDocument& doc, TKvCommandList& list) {
    LoadCommandList(doc, list, kTitle0, SyncToolPath(kDir));
}

QStringList Titles(const TKvCommandList& list) {
    QStringList t;
    for (int i = 0; i < list.Count(); ++i)
        t << list.Items(i).Title();
    return t;
}

QString Section(const QString& name, const QString& title) {
    return "[" + name + "]\nTitle=" + title + "\nFileName=/bin/" + title + "\n";
}

} // namespace

TEST(CommandSections, NoSectionsGiveTheBuiltInCommand) {
    for (const QString& text : {QString(), QStringLiteral("[Command0]\n[CommandList]\nCount=1")}) {
        TKvCommandList list;
        Load(Parse(text), list);
        ASSERT_EQ(list.Count(), 1) << text.toStdString();
        const TKvCommandItem& c = list.Items(0);
        EXPECT_EQ(c.Title(), kTitle0);
        EXPECT_EQ(c.FileName(), "/opt/velmora/Sync/VelmoSync");
        EXPECT_EQ(c.OptionStr(), "pool.ntp.org");
        // The tool asks the system's time service itself: no administrator rights.
        EXPECT_FALSE(c.AsAdmin());
        EXPECT_EQ(c.GetCommandOptionsStr(QLocale::c()), "");
        EXPECT_EQ(c.SpTime(), 0.0);
    }
}

TEST(CommandSections, FirstSaveOfTheBuiltInCommand) {
    IniDocument doc = Parse("[MainForm]\nLeft=1");
    TKvCommandList list;
    Load(doc, list);
    SaveCommandSections(doc, list);
    EXPECT_EQ(Lines(doc), Join({"[MainForm]", "Left=1", "[CommandList]", "Count=1", "[Command0]",
                                "Title=" + kTitle0, "FileName=/opt/velmora/Sync/VelmoSync",
                                "OptionStr=pool.ntp.org", "AsAdmin=0", "HideWindow=0",
                                "AtStartup=0", "AtResume=0", "AtSpTime=0", "SpTime=00:00:00"}));
}

TEST(CommandSections, Command0WithOnlyATitleTakesTheSectionDefaults) {
    TKvCommandList list;
    Load(Parse("[Command0]\nTitle=Mine"), list);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Items(0).Title(), "Mine");
    EXPECT_FALSE(list.Items(0).AsAdmin());
    EXPECT_EQ(list.Items(0).FileName(), "/opt/velmora/Sync/VelmoSync");
    EXPECT_EQ(list.Items(0).OptionStr(), "pool.ntp.org");

    TKvCommandList other;
    Load(Parse("[Command0]\nAsAdmin=1"), other);
    EXPECT_EQ(other.Items(0).Title(), QStringLiteral("とけー あわせ"));
    EXPECT_TRUE(other.Items(0).AsAdmin());
}

TEST(CommandSections, ReadsEveryKey) {
    TKvCommandList list;
    Load(Parse("[CommandList]\nCount=2\n[Command1]\nFileName=/usr/bin/x\nOptionStr=-v 'a b'\n"
               "AsAdmin=1\nHideWindow=1\nAtStartup=1\nAtResume=1\nAtSpTime=1\nSpTime=07:05:09\n"),
         list);
    ASSERT_EQ(list.Count(), 2);
    const TKvCommandItem& c = list.Items(1);
    EXPECT_EQ(c.Title(), "Command1"); // no Title: the section's name
    EXPECT_EQ(c.FileName(), "/usr/bin/x");
    EXPECT_EQ(c.OptionStr(), "-v 'a b'");
    EXPECT_EQ(c.GetCommandOptionsStr(QLocale::c()), "/a /h /s /r /t=07:05:09");

    TKvCommandList bad;
    Load(Parse("[CommandList]\nCount=2\n[Command1]\nAsAdmin=yes\nSpTime=noon"), bad);
    EXPECT_FALSE(bad.Items(1).AsAdmin());
    EXPECT_EQ(bad.Items(1).SpTime(), 0.0);
    EXPECT_TRUE(bad.Items(1).FileName().isEmpty());
}

TEST(CommandSections, CountAndGapsTable) {
    const QString four = Section("Command0", "a") + Section("Command1", "b") +
                         Section("Command2", "c") + Section("Command3", "d");
    struct TCase {
        QString Text;
        QStringList Titles;
    };
    const TCase cases[] = {
        {four, {"a"}}, // no CommandList section
        {"[CommandList]\nCount=4\n" + four, {"a", "b", "c", "d"}},
        {"[CommandList]\nCount=9\n" + four, {"a", "b", "c", "d"}},
        {"[CommandList]\nCount=2\n" + four, {"a", "b"}},
        {"[CommandList]\nCount=0\n" + four, {"a"}},
        {"[CommandList]\nCount=-5\n" + four, {"a"}},
        {"[CommandList]\nCount=many\n" + four, {"a"}},
        {"[CommandList]\nCount=2147483647\n" + Section("Command0", "a"), {"a"}},
        {"[CommandList]\nCount=4\n" + Section("Command0", "a") + Section("Command1", "b") +
             Section("Command3", "d"),
         {"a", "b"}},
        {"[CommandList]\nCount=3\n" + Section("Command1", "b") + Section("Command2", "c"),
         {kTitle0, "b", "c"}},
        {"[CommandList]\nCount=3\n[Command1]\n" + Section("Command2", "c"), {kTitle0}},
    };
    for (const TCase& c : cases) {
        TKvCommandList list;
        Load(Parse(c.Text), list);
        EXPECT_EQ(Titles(list), c.Titles) << c.Text.toStdString();
    }
}

TEST(CommandSections, GapIsClosedOnTheNextSave) {
    IniDocument doc = Parse("[CommandList]\nCount=4\n" + Section("Command0", "a") +
                            Section("Command1", "b") + Section("Command3", "d") + "[Other]\nk=v");
    TKvCommandList list;
    Load(doc, list);
    SaveCommandSections(doc, list);
    EXPECT_EQ(doc.ReadSections(), QStringList({"Other", "CommandList", "Command0", "Command1"}));
    EXPECT_EQ(doc.ReadInteger("CommandList", "Count", 0), 2);
}

TEST(CommandSections, SectionsBeyondThePreviousCountStay) {
    IniDocument doc =
        Parse("[CommandList]\nCount=1\n" + Section("Command0", "a") + Section("Command5", "f"));
    TKvCommandList list;
    Load(doc, list);
    SaveCommandSections(doc, list);
    EXPECT_EQ(doc.ReadSections(), QStringList({"Command5", "CommandList", "Command0"}));
}

TEST(CommandSections, StaleSectionsOfReusedNamesAreWrittenAfresh) {
    // Command1 lies beyond the stored count, with a key of its own, and the empty
    // Command0 section does not count as present: both are rewritten at the end.
    IniDocument doc = Parse("[Command0]\n[Command1]\nTitle=old\nStray=1\n[CommandList]\nCount=1\n"
                            "[Command2]\nTitle=kept");
    TKvCommandList list;
    Load(doc, list);
    list.Add(std::make_unique<TKvCommandItem>());
    list.Items(1).SetTitle("new");
    SaveCommandSections(doc, list);
    EXPECT_EQ(doc.ReadSections(), QStringList({"Command2", "CommandList", "Command0", "Command1"}));
    EXPECT_EQ(doc.ReadString("Command1", "Title", ""), "new");
    EXPECT_EQ(doc.ReadString("Command1", "Stray", "gone"), "gone");
    EXPECT_EQ(doc.ReadString("Command0", "Title", ""), kTitle0);
}

TEST(CommandSections, HugeStoredCountSavesAtOnce) {
    IniDocument doc = Parse("[CommandList]\nCount=2147483647\n" + Section("Command0", "a") +
                            Section("Command1", "b") + Section("Command7", "h"));
    TKvCommandList list;
    Load(doc, list);
    ASSERT_EQ(list.Count(), 2);
    SaveCommandSections(doc, list);
    EXPECT_EQ(doc.ReadSections(), QStringList({"CommandList", "Command0", "Command1"}));
}

TEST(CommandSections, DeletingCommandTwoOfFourThenSaving) {
    IniDocument doc =
        Parse("[MainForm]\nLeft=1\n[CommandList]\nCount=4\n" + Section("Command0", "a") +
              Section("Command1", "b") + Section("Command2", "c") + Section("Command3", "d"));
    TKvCommandList list;
    Load(doc, list);
    list.Items(3).SetCommandOptions("/s /t=7:05", QLocale::c());
    list.Delete(2);
    SaveCommandSections(doc, list);

    EXPECT_EQ(doc.ReadSections(),
              QStringList({"MainForm", "CommandList", "Command0", "Command1", "Command2"}));
    EXPECT_EQ(doc.ReadInteger("CommandList", "Count", 0), 3);
    EXPECT_EQ(doc.ReadString("Command2", "Title", ""), "d");
    EXPECT_EQ(doc.ReadString("Command2", "FileName", ""), "/bin/d");
    EXPECT_EQ(doc.ReadString("Command2", "SpTime", ""), "07:05:00");
    EXPECT_TRUE(doc.ReadBool("Command2", "AtStartup", false));

    // What was saved loads back the same.
    TKvCommandList again;
    Load(doc, again);
    EXPECT_EQ(Titles(again), QStringList({"a", "b", "d"}));
    EXPECT_EQ(again.Items(2).GetCommandOptionsStr(QLocale::c()), "/s /t=07:05:00");
}

TEST(CommandSections, EmptyListSavesACountOfZero) {
    IniDocument doc =
        Parse("[CommandList]\nCount=2\n" + Section("Command0", "a") + Section("Command1", "b"));
    TKvCommandList list;
    SaveCommandSections(doc, list);
    EXPECT_EQ(Lines(doc), Join({"[CommandList]", "Count=0"}));
}

namespace {

// A file with `sections` command sections Command0, Command1, ... and `count`.
QString ManyCommands(int sections, const QString& count) {
    QString text = "[CommandList]\nCount=" + count + "\n";
    for (int k = 0; k < sections; ++k)
        text += QStringLiteral("[Command%1]\nTitle=t%1\n").arg(k);
    return text;
}

} // namespace

TEST(CommandSections, TheListStopsAtTheMostAPersonCanUse) {
    struct TCase {
        int Sections;
        QString Count;
        int Loaded;
        bool Cut;
    };
    const TCase cases[] = {
        {kMaxCommandCount - 1, "2000000000", kMaxCommandCount - 1, false}, // a gap ends it first
        {kMaxCommandCount, "2000000000", kMaxCommandCount, false},
        {kMaxCommandCount + 1, "2000000000", kMaxCommandCount, true},
        {kMaxCommandCount + 5, QString::number(kMaxCommandCount), kMaxCommandCount, false},
        {kMaxCommandCount + 5, QString::number(kMaxCommandCount + 1), kMaxCommandCount, true},
    };
    for (const TCase& c : cases) {
        TKvCommandList list;
        const bool cut =
            LoadCommandList(Parse(ManyCommands(c.Sections, c.Count)), list, kTitle0, "/x");
        EXPECT_EQ(list.Count(), c.Loaded)
            << c.Sections << " sections, Count=" << c.Count.toStdString();
        EXPECT_EQ(cut, c.Cut) << c.Sections << " sections, Count=" << c.Count.toStdString();
    }
}

TEST(CommandSections, CommandsBeyondTheLimitStayInTheFile) {
    IniDocument doc = Parse(ManyCommands(kMaxCommandCount + 3, "2000000000"));
    TKvCommandList list;
    Load(doc, list);
    SaveCommandSections(doc, list);
    EXPECT_EQ(doc.ReadInteger("CommandList", "Count", 0), kMaxCommandCount);
    for (int k = kMaxCommandCount; k < kMaxCommandCount + 3; ++k)
        EXPECT_EQ(doc.ReadString(QStringLiteral("Command%1").arg(k), "Title", ""),
                  QStringLiteral("t%1").arg(k));
    EXPECT_EQ(doc.ReadString("Command999", "Title", ""), "t999");
}

// The largest file loading accepts, filled with as many command sections as fit,
// loads and saves with a bounded number of look-up steps each: the cost grows
// with the file, never with its square. Counted, not timed, so a slow machine or
// a sanitizer build cannot make it flaky.
TEST(CommandSections, LookUpsCostTheSameWhateverTheFileSize) {
    const QString one = QStringLiteral("[Command%1]\r\nTitle=t\r\n");
    QString text = QStringLiteral("[CommandList]\r\nCount=2000000000\r\n");
    int sections = 0;
    while ((text.size() + one.size() + 8) * 2 + 2 < kMaxIniFileSize)
        text += one.arg(sections++);
    ASSERT_GT(sections, 50000);
    QByteArray bytes("\xFF\xFE", 2);
    for (QChar c : text)
        bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    ASSERT_LE(bytes.size(), kMaxIniFileSize);

    IniDocument doc(QString(), QLocale::c());
    doc.LoadFromBytes(bytes);
    TKvCommandList list;
    EXPECT_TRUE(LoadCommandList(doc, list, kTitle0, "/x"));
    SaveCommandSections(doc, list);
    ASSERT_EQ(list.Count(), kMaxCommandCount);
    // Some tens of steps for each command read and written (its section's own
    // lines), however many sections the file holds; a scan through the sections
    // per look-up would take billions.
    EXPECT_LT(doc.LookupSteps(), 100 * kMaxCommandCount);
    EXPECT_EQ(doc.ReadSections().size(), sections + 1);
}
