// The tool's arguments, the server names it accepts, the hash that marks its
// reports, where it finds the clock and what it writes there.
#include "SyncTool.h"

#include "ClockSetter.h"
#include "Report.h"
#include "StringHash.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmora;

TEST(SyncArguments, ResultCodesBeforeAnyNetwork) {
    struct Case {
        QStringList args;
        std::optional<SyncResult> expected;
    };
    const Case cases[] = {
        {{}, SyncResult::NoArgument},
        {{"pool.example", "extra"}, SyncResult::TooManyArguments},
        {{"a", "b", "c"}, SyncResult::TooManyArguments},
        {{""}, SyncResult::NoServerName},
        {{"   \t"}, SyncResult::NoServerName},
        {{"time.example:0"}, SyncResult::Failed},
        {{"time.example:65536"}, SyncResult::Failed},
        {{"time.example:ntp"}, SyncResult::Failed},
        {{"time.example:"}, SyncResult::Failed},
        {{"[::1"}, SyncResult::Failed},
        {{"time.example"}, std::nullopt},
    };
    for (const Case& c : cases) {
        ServerSpec target;
        EXPECT_EQ(CheckArguments(c.args, &target), c.expected) << c.args.join('|').toStdString();
    }
}

TEST(SyncArguments, ServerNamesAndPorts) {
    struct Case {
        QString text;
        bool ok;
        QString host;
        quint16 port;
    };
    const Case cases[] = {
        {"time.example", true, "time.example", 123},
        {" time.example ", true, "time.example", 123},
        {"time.example:1123", true, "time.example", 1123},
        {"192.0.2.7", true, "192.0.2.7", 123},
        {"192.0.2.7:65535", true, "192.0.2.7", 65535},
        {"::1", true, "::1", 123},
        {"2001:db8::5", true, "2001:db8::5", 123},
        {"[::1]", true, "::1", 123},
        {"[2001:db8::5]:4123", true, "2001:db8::5", 4123},
        {"[::1]:", false, "", 0},
        {"[::1]x", false, "", 0},
        {"[::1]:99999", false, "", 0},
        {"[time.example]:123", false, "", 0},
        {":123", false, "", 0},
        {"host:+5", false, "", 0},
        {"host:-5", false, "", 0},
    };
    for (const Case& c : cases) {
        const auto target = ParseServerSpec(c.text);
        ASSERT_EQ(target.has_value(), c.ok) << c.text.toStdString();
        if (target) {
            EXPECT_EQ(target->host, c.host) << c.text.toStdString();
            EXPECT_EQ(target->port, c.port) << c.text.toStdString();
        }
    }
}

TEST(StringHash, KnownValues) {
    EXPECT_EQ(CalcStringHash("abc"), 26499u);
    EXPECT_EQ(CalcStringHash(QString()), 0u);
    EXPECT_EQ(CalcStringHash(QString::fromUtf8("ä")), 228u);
    EXPECT_EQ(CalcStringHash(QString::fromUtf8("日本")), 443772u);
    // Code units, not code points: the two halves of a surrogate pair count apart.
    EXPECT_EQ(CalcStringHash(QString::fromUtf8("😀")), 942544u);
    // Long enough for the top bits to be folded back several times.
    EXPECT_EQ(CalcStringHash("abcdefghij"), 180004458u);
    EXPECT_EQ(CalcStringHash("/opt/velmora/Sync/VelmoSync"), 175651347u);
}

TEST(StringHash, TopFourBitsNeverSet) {
    QString s;
    for (int i = 0; i < 500; ++i) {
        s.append(QChar(char16_t(0xFFFF - i * 131)));
        EXPECT_EQ(CalcStringHash(s) & 0xF0000000u, 0u) << i;
    }
}

TEST(SyncReport, SocketPathRules) {
    const auto existsOnly = [](QStringList dirs) {
        return [dirs](const QString& d) { return dirs.contains(d); };
    };
    struct Case {
        const char* name;
        SocketEnvironment env;
        QString expected;
    };
    const Case cases[] = {
        {"runtime folder",
         {"/run/user/1000", "", "/tmp", 1000, existsOnly({"/run/user/1000"})},
         "/run/user/1000/VelmoLimitMultiInstance.sock"},
        {"runtime folder wins over pkexec",
         {"/run/user/1000", "1001", "/tmp", 0, existsOnly({"/run/user/1000", "/run/user/1001"})},
         "/run/user/1000/VelmoLimitMultiInstance.sock"},
        {"runtime folder gone: temp without user, as the clock does",
         {"/gone", "", "/tmp", 1000, existsOnly({})},
         "/tmp/VelmoLimitMultiInstance.sock"},
        {"through pkexec as root",
         {"", "1000", "/tmp", 0, existsOnly({"/run/user/1000"})},
         "/run/user/1000/VelmoLimitMultiInstance.sock"},
        {"through pkexec without a user runtime folder",
         {"", "1000", "/tmp", 0, existsOnly({})},
         "/tmp/VelmoLimitMultiInstance-1000.sock"},
        {"no runtime folder",
         {"", "", "/var/tmp", 1000, existsOnly({})},
         "/var/tmp/VelmoLimitMultiInstance-1000.sock"},
        {"PKEXEC_UID that is no number is ignored",
         {"", "../../etc", "/tmp", 1000, existsOnly({"/run/user/../../etc"})},
         "/tmp/VelmoLimitMultiInstance-1000.sock"},
        {"PKEXEC_UID with a sign is ignored",
         {"", "+7", "/tmp", 1000, existsOnly({"/run/user/7"})},
         "/tmp/VelmoLimitMultiInstance-1000.sock"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClockSocketPath(c.env), c.expected) << c.name;
}

TEST(SyncReport, TheClockReceivesOneLine) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("VelmoLimitMultiInstance.sock");
    EXPECT_FALSE(SendReport(path, 1, SyncResult::ClockSet, 200)) << "nobody listens yet";

    QLocalServer server;
    ASSERT_TRUE(server.listen(path));
    ASSERT_TRUE(SendReport(path, 175651347u, SyncResult::ClockSet));
    ASSERT_TRUE(server.waitForNewConnection(5000));
    QLocalSocket* peer = server.nextPendingConnection();
    ASSERT_NE(peer, nullptr);
    QByteArray got = peer->readAll();
    while (!got.endsWith('\n') && peer->waitForReadyRead(5000))
        got += peer->readAll();
    EXPECT_EQ(got, QByteArray("SYNCRESULT 175651347 3\n"));
    EXPECT_EQ(ReportLine(0, SyncResult::Failed), QByteArray("SYNCRESULT 0 4\n"));
}

TEST(ClockSetterSplit, OffsetsBecomeSecondsAndPositiveNanoseconds) {
    struct Case {
        std::int64_t ns, sec, nsec;
    };
    const Case cases[] = {
        {0, 0, 0},
        {1'500'000'000LL, 1, 500'000'000},
        {-250'000'000LL, -1, 750'000'000},
        {-2'000'000'000LL, -2, 0},
        {-1, -1, 999'999'999},
    };
    for (const Case& c : cases) {
        const SplitOffset s = SplitOffsetNs(c.ns);
        EXPECT_EQ(s.seconds, c.sec) << c.ns;
        EXPECT_EQ(s.nanoseconds, c.nsec) << c.ns;
    }
}

TEST(SyncReport, TheClockReadsOnlyWellFormedLines) {
    const auto line = ParseReportLine(ReportLine(4294967295u, SyncResult::Failed));
    ASSERT_TRUE(line);
    EXPECT_EQ(line->hash, 4294967295u);
    EXPECT_EQ(line->code, 4);
    const auto trimmed = ParseReportLine("SYNCRESULT 26499 3");
    ASSERT_TRUE(trimmed);
    EXPECT_EQ(trimmed->hash, 26499u);
    EXPECT_EQ(trimmed->code, 3);

    for (const char* bad :
         {"", "SYNCRESULT", "SYNCRESULT 1", "SYNCRESULT 1 2 3", "syncresult 1 2", "SYNCRESULT -1 2",
          "SYNCRESULT 1 -2", "SYNCRESULT 4294967296 1", "SYNCRESULT  1 2", "SYNCRESULT 1 2\r\n",
          "SYNCRESULT 0x10 2", "ACTIVATE"})
        EXPECT_FALSE(ParseReportLine(bad)) << bad;
}
