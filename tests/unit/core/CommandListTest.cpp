#include "core/KvCommandList.h"
#include "core/TextForms.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace velmora;

namespace {

double Hms(int h, int m, int s) {
    return double((h * 60 + m) * 60 + s) / 86400.0;
}

struct TFlags {
    bool Admin, Hide, Startup, Resume, SpTime;
};

TFlags FlagsOf(const TKvCommandItem& item) {
    return {item.AsAdmin(), item.HideWindow(), item.AtStartup(), item.AtResume(), item.AtSpTime()};
}

void ExpectFlags(const TKvCommandItem& item, TFlags want, const QString& text) {
    const TFlags got = FlagsOf(item);
    EXPECT_EQ(got.Admin, want.Admin) << text.toStdString();
    EXPECT_EQ(got.Hide, want.Hide) << text.toStdString();
    EXPECT_EQ(got.Startup, want.Startup) << text.toStdString();
    EXPECT_EQ(got.Resume, want.Resume) << text.toStdString();
    EXPECT_EQ(got.SpTime, want.SpTime) << text.toStdString();
}

std::unique_ptr<TKvCommandItem> Item(const QString& title, const QString& file = QString()) {
    auto item = std::make_unique<TKvCommandItem>();
    item->SetTitle(title);
    item->SetFileName(file);
    return item;
}

} // namespace

TEST(CommandItem, NewItemIsEmpty) {
    const TKvCommandItem item;
    EXPECT_TRUE(item.IsEmpty());
    ExpectFlags(item, {false, false, false, false, false}, "new");
    EXPECT_EQ(item.SpTime(), 0.0);
    EXPECT_EQ(item.GetCommandOptionsStr(QLocale::c()), QString());
}

TEST(CommandItem, OptionTextTable) {
    struct TCase {
        const char* Text;
        TFlags Flags;
        double Time;
        const char* Normal;
    };
    const TCase cases[] = {
        {"/A /H", {true, true, false, false, false}, 0, "/a /h"},
        {"x /s", {false, false, true, false, false}, 0, "/s"},
        {"/s/r", {false, false, true, true, false}, 0, "/s /r"},
        {"/ a", {false, false, false, false, false}, 0, ""},
        {"/t", {false, false, false, false, false}, 0, ""},
        {"/t=", {false, false, false, false, true}, 0, "/t=00:00:00"},
        {"/t=25:00", {false, false, false, false, true}, 0, "/t=00:00:00"},
        {"/t=7:05", {false, false, false, false, true}, Hms(7, 5, 0), "/t=07:05:00"},
        {"/T=23:59:59 /t=01:00",
         {false, false, false, false, true},
         Hms(23, 59, 59),
         "/t=23:59:59"},
        {"/admin /hx /s=1", {false, false, false, false, false}, 0, ""},
        {"  /r  \t/r/a\n", {true, false, false, true, false}, 0, "/a /r"},
        {"/t =7:00", {false, false, false, false, false}, 0, ""},
        {"/t=nonsense /h", {false, true, false, false, true}, 0, "/h /t=00:00:00"},
        {"", {false, false, false, false, false}, 0, ""},
    };
    for (const TCase& c : cases) {
        TKvCommandItem item;
        // Stale values must not survive: every call sets all six fields.
        item.SetCommandOptions("/a /h /s /r /t=12:34:56", QLocale::c());
        const QString text = QString::fromUtf8(c.Text);
        item.SetCommandOptions(text, QLocale::c());
        ExpectFlags(item, c.Flags, text);
        EXPECT_TRUE(SameTimeOfDay(item.SpTime(), c.Time)) << c.Text;
        EXPECT_EQ(item.GetCommandOptionsStr(QLocale::c()), QString::fromUtf8(c.Normal)) << c.Text;
    }
}

TEST(CommandItem, AllFlagsGiveTheFullTextAndReadBack) {
    TKvCommandItem item;
    item.SetAsAdmin(true);
    item.SetHideWindow(true);
    item.SetAtStartup(true);
    item.SetAtResume(true);
    item.SetAtSpTime(true);
    item.SetSpTime(Hms(7, 5, 9));
    const QString text = item.GetCommandOptionsStr(QLocale::c());
    EXPECT_EQ(text, "/a /h /s /r /t=07:05:09");
    TKvCommandItem back;
    back.SetCommandOptions(text, QLocale::c());
    ExpectFlags(back, {true, true, true, true, true}, text);
    EXPECT_TRUE(SameTimeOfDay(back.SpTime(), item.SpTime()));
}

TEST(CommandItem, TimeUsesTheLocaleSeparatorAndA24HourClock) {
    // Finnish writes times with "." between the fields.
    const QLocale fi(QLocale::Finnish, QLocale::Finland);
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    TKvCommandItem item;
    item.SetAtSpTime(true);
    item.SetSpTime(Hms(19, 5, 9));
    const QString sep = LocaleTimeSeparator(fi);
    EXPECT_EQ(item.GetCommandOptionsStr(fi), "/t=19" + sep + "05" + sep + "09");
    // Even where the locale reads AM/PM, the switch text counts hours to 23.
    EXPECT_EQ(item.GetCommandOptionsStr(us), "/t=19:05:09");
    item.SetCommandOptions("/t=7:05 PM", us);
    EXPECT_TRUE(SameTimeOfDay(item.SpTime(), Hms(19, 5, 0)));
    // What each locale writes, it reads back.
    for (const QLocale& l : {QLocale::c(), fi, us, QLocale(QLocale::German, QLocale::Germany),
                             QLocale(QLocale::Japanese, QLocale::Japan)}) {
        item.SetAtSpTime(true);
        item.SetSpTime(Hms(23, 59, 58));
        TKvCommandItem back;
        back.SetCommandOptions(item.GetCommandOptionsStr(l), l);
        EXPECT_TRUE(back.AtSpTime()) << l.name().toStdString();
        EXPECT_TRUE(SameTimeOfDay(back.SpTime(), Hms(23, 59, 58))) << l.name().toStdString();
    }
}

TEST(CommandItem, AssignCopiesEveryField) {
    TKvCommandItem a;
    a.SetTitle("T");
    a.SetFileName("/bin/f");
    a.SetOptionStr("-x");
    a.SetCommandOptions("/a /h /s /r /t=01:02:03", QLocale::c());
    TKvCommandItem b;
    b.Assign(a);
    EXPECT_EQ(b.Title(), "T");
    EXPECT_EQ(b.FileName(), "/bin/f");
    EXPECT_EQ(b.OptionStr(), "-x");
    EXPECT_EQ(b.GetCommandOptionsStr(QLocale::c()), a.GetCommandOptionsStr(QLocale::c()));
}

TEST(CommandList, OwnsItemsAndKeepsOrder) {
    TKvCommandList list;
    EXPECT_EQ(list.Add(Item("a")), 0);
    EXPECT_EQ(list.Add(Item("c")), 1);
    list.Insert(1, Item("b"));
    list.Insert(3, Item("d"));
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Items(1).Title(), "b");
    EXPECT_EQ(list.Items(3).Title(), "d");

    const TKvCommandItem* c = &list.Items(2);
    EXPECT_EQ(list.IndexOf(c), 2);
    EXPECT_EQ(list.Remove(c), 2);
    EXPECT_EQ(list.Remove(c), -1); // gone: no second removal
    TKvCommandItem stranger;
    EXPECT_EQ(list.IndexOf(&stranger), -1);
    list.Delete(0);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(0).Title(), "b");
    EXPECT_EQ(list.Items(1).Title(), "d");
}

TEST(CommandList, MoveByCopyAndDelete) {
    // How the options dialog moves an item down: a copy at the new place, then the
    // old one deleted.
    TKvCommandList list;
    for (const char* t : {"0", "1", "2"})
        list.Add(Item(t));
    auto copy = std::make_unique<TKvCommandItem>();
    copy->Assign(list.Items(1));
    list.Insert(3, std::move(copy));
    list.Delete(1);
    EXPECT_EQ(list.Items(1).Title(), "2");
    EXPECT_EQ(list.Items(2).Title(), "1");
}

TEST(CommandList, BadIndexesThrow) {
    TKvCommandList list;
    list.Add(Item("a"));
    EXPECT_THROW(list.Items(1), std::out_of_range);
    EXPECT_THROW(list.Items(-1), std::out_of_range);
    EXPECT_THROW(list.Delete(1), std::out_of_range);
    EXPECT_THROW(list.Insert(2, Item("x")), std::out_of_range);
    EXPECT_THROW(list.Add(nullptr), std::invalid_argument);
    EXPECT_EQ(list.Count(), 1);
}

TEST(CommandList, DeleteEmptyItems) {
    TKvCommandList list;
    list.Add(Item("zero"));
    list.Add(Item(""));
    list.Add(Item("", "/bin/two"));
    list.Add(Item(""));
    list.Add(Item("four"));
    list.DeleteEmptyItems();
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(0).Title(), "zero");
    EXPECT_EQ(list.Items(1).FileName(), "/bin/two");
    EXPECT_EQ(list.Items(2).Title(), "four");

    // Item 0, the time sync, stays even when emptied.
    TKvCommandList empty;
    empty.Add(Item(""));
    empty.Add(Item(""));
    empty.Add(Item("two"));
    empty.DeleteEmptyItems();
    ASSERT_EQ(empty.Count(), 2);
    EXPECT_TRUE(empty.Items(0).IsEmpty());
    EXPECT_EQ(empty.Items(1).Title(), "two");
}

TEST(CommandList, TimingArrays) {
    TKvCommandList list;
    const char* options[] = {"/s", "", "/t=1:00 /r", "/s /r", "", "/t=2:00"};
    for (const char* o : options) {
        auto item = Item("x");
        item->SetCommandOptions(o, QLocale::c());
        list.Add(std::move(item));
    }
    EXPECT_EQ(list.GetAtStartupArray(), (std::vector<int32_t>{0, 3}));
    EXPECT_EQ(list.GetAtResumeArray(), (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(list.GetAtSpTimeArray(), (std::vector<int32_t>{2, 5}));
    EXPECT_TRUE(TKvCommandList().GetAtStartupArray().empty());
    list.Clear();
    EXPECT_TRUE(list.GetAtSpTimeArray().empty());
}

TEST(SplitCommandLine, WordsLikeAShell) {
    struct TCase {
        const char* Text;
        QStringList Words;
    };
    const TCase cases[] = {
        {"", {}},
        {"   \t ", {}},
        {"pool.ntp.org", {"pool.ntp.org"}},
        {"  -a   b\tc\nd ", {"-a", "b", "c", "d"}},
        {"'a b'  \"c d\"", {"a b", "c d"}},
        {"x'y z'\"w\"", {"xy zw"}},
        {"'' \"\" a", {"", "", "a"}},
        {"a\\ b", {"a b"}},
        {"\\'q\\\"", {"'q\""}},
        {"'\\n' \"\\n\"", {"\\n", "\\n"}},
        {"\"\\\"\\\\\\$\\`\"", {"\"\\$`"}},
        {"\"it's\" 'say \"hi\"'", {"it's", "say \"hi\""}},
        {"a\\\nb", {"ab"}},
        {"\"a\\\nb\"", {"ab"}},
        {"end\\", {"end\\"}},
        {"\"日本 語\" 時計", {"日本 語", "時計"}},
        // Nothing is expanded, substituted, globbed or chained.
        {"'; rm -rf /'", {"; rm -rf /"}},
        {"a; rm -rf / && b | c > d", {"a;", "rm", "-rf", "/", "&&", "b", "|", "c", ">", "d"}},
        {"$HOME ~ * $(id) `id` #x", {"$HOME", "~", "*", "$(id)", "`id`", "#x"}},
        {"\"$(touch /tmp/x)\"", {"$(touch /tmp/x)"}},
    };
    for (const TCase& c : cases) {
        QString error;
        const auto words = SplitCommandLine(QString::fromUtf8(c.Text), &error);
        ASSERT_TRUE(words.has_value()) << c.Text;
        EXPECT_EQ(*words, c.Words) << c.Text;
        EXPECT_TRUE(error.isEmpty());
    }
}

TEST(SplitCommandLine, UnbalancedQuotesAreRefused) {
    for (const char* text : {"'", "\"", "a 'b c", "a \"b c", "\"a\\\"", "'a'\"b", "\"'\" '"}) {
        QString error;
        EXPECT_FALSE(SplitCommandLine(QString::fromUtf8(text), &error).has_value()) << text;
        EXPECT_TRUE(error.contains("quote")) << text;
    }
    EXPECT_FALSE(SplitCommandLine("'").has_value()); // no error text wanted
}
