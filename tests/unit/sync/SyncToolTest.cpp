// The tool's arguments, the server names it accepts, the hash that marks its
// reports, where it finds the clock and what it writes there.
#include "SyncTool.h"

#include "ClockSetter.h"
#include "Report.h"
#include "SyncLock.h"
#include "core/StringHash.h"

#include <QFile>
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

TEST(SyncReport, TheSocketLiesInThePrivateRuntimeFolder) {
    EXPECT_EQ(ClockSocketPath("/run/user/1000"), "/run/user/1000/VelmoLimitMultiInstance.sock");
    EXPECT_EQ(ClockSocketPath("/tmp/velmora-1000"),
              "/tmp/velmora-1000/VelmoLimitMultiInstance.sock");
}

TEST(SyncLock, OnlyOneRunHoldsIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = SyncLockPath(dir.path());
    SyncLock first;
    ASSERT_EQ(first.Acquire(path), LockResult::Taken);
    {
        SyncLock second;
        EXPECT_EQ(second.Acquire(path), LockResult::Busy);
    }
    first.Release();
    SyncLock third;
    EXPECT_EQ(third.Acquire(path), LockResult::Taken);

    // Never through a link another program put in its place.
    SyncLock linked;
    const QString link = dir.filePath("link.lock");
    ASSERT_TRUE(QFile::link(dir.filePath("elsewhere"), link));
    EXPECT_EQ(linked.Acquire(link), LockResult::Failed);
    EXPECT_FALSE(QFile::exists(dir.filePath("elsewhere")));
}

TEST(SyncLock, TheMachinesLockIsSharedAndWaitedFor) {
    EXPECT_TRUE(MachineSyncLockPath() == "/run/lock/velmora-sync.lock" ||
                MachineSyncLockPath() == "/tmp/velmora-sync.lock");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("velmora-sync.lock");
    SyncLock first;
    ASSERT_EQ(first.Acquire(path), LockResult::Taken);
    // Readable by all, so that the run of another user can lock it too.
    EXPECT_EQ(QFile::permissions(path) & QFileDevice::ReadOther, QFileDevice::ReadOther);
    SyncLock second;
    EXPECT_EQ(second.AcquireWaiting(path, 300), LockResult::Busy);
    first.Release();
    // A file this user may only read (as another user's is) still locks.
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadOther));
    EXPECT_EQ(second.AcquireWaiting(path, 300), LockResult::Taken);
}

TEST(StepLimits, LargeOrEarlyStepsNeedMore) {
    constexpr std::int64_t kS = 1'000'000'000LL;
    constexpr std::int64_t kYear = 365LL * 86400 * kS;
    const std::int64_t build = 1'796'000'000; // the build date, Unix seconds
    const std::int64_t after = (build + 30 * 86400) * kS;
    const std::int64_t before = 0; // a clock whose battery died: 1970
    const std::optional<std::int64_t> unattended;
    // Asked, and the user said yes to the amount shown (in whole seconds).
    const auto yes = [](std::int64_t offsetNs) { return std::optional(offsetNs / kS); };
    struct Case {
        const char* name;
        std::int64_t local, offset;
        int agreeing; // independent servers that measured it
        std::optional<std::int64_t> approvedS;
        StepVerdict expected;
    };
    const Case cases[] = {
        {"a small step", after, 2500 * 1'000'000LL, 1, unattended, StepVerdict::Allowed},
        {"500 s ahead", after, 500 * kS, 1, unattended, StepVerdict::Allowed},
        {"exactly the panic threshold", after, 1000 * kS, 1, unattended, StepVerdict::Allowed},
        {"a second over it", after, 1001 * kS, 1, unattended, StepVerdict::TooLarge},
        {"three hours back", after, -3 * 3600 * kS, 1, unattended, StepVerdict::TooLarge},
        {"three hours, two servers", after, 3 * 3600 * kS, 2, unattended, StepVerdict::TooLarge},
        {"three hours, yes to it", after, 3 * 3600 * kS, 1, yes(3 * 3600 * kS),
         StepVerdict::Allowed},
        {"three hours back, yes to it", after, -3 * 3600 * kS, 1, yes(-3 * 3600 * kS),
         StepVerdict::Allowed},
        {"yes to a minute less", after, 3 * 3600 * kS, 1, yes((3 * 3600 - 60) * kS),
         StepVerdict::Allowed},
        {"yes to two minutes less", after, 3 * 3600 * kS, 1, yes((3 * 3600 - 120) * kS),
         StepVerdict::TooLarge},
        {"yes to the other direction", after, 3 * 3600 * kS, 1, yes(-3 * 3600 * kS),
         StepVerdict::TooLarge},
        {"23 hours, unattended", after, 23 * 3600 * kS, 1, unattended, StepVerdict::TooLarge},
        {"exactly one day, yes", after, kOneDayNs, 1, yes(kOneDayNs), StepVerdict::Allowed},
        {"a day and a second, one server", after, kOneDayNs + kS, 1, yes(kOneDayNs + kS),
         StepVerdict::Unconfirmed},
        {"a day back, one server", after, -kOneDayNs - kS, 1, yes(-kOneDayNs - kS),
         StepVerdict::Unconfirmed},
        {"a day and a second, one server, unattended", after, kOneDayNs + kS, 1, unattended,
         StepVerdict::Unconfirmed},
        {"a day and a second, two agreeing, yes", after, kOneDayNs + kS, 2, yes(kOneDayNs + kS),
         StepVerdict::Allowed},
        {"a day and a second, two agreeing, unattended", after, kOneDayNs + kS, 2, unattended,
         StepVerdict::TooLarge},
        {"ten years ahead, two agreeing, unattended", after, 10 * kYear, 2, unattended,
         StepVerdict::TooLarge},
        {"twenty years back, two agreeing", after, -20 * kYear, 2, yes(-20 * kYear),
         StepVerdict::BeforeBuildDate},
        {"just before the build date", build * kS + kS, -2 * kS, 1, unattended,
         StepVerdict::BeforeBuildDate},
        {"from 1970 to now, one server, unattended", before, after, 1, unattended,
         StepVerdict::Allowed},
        {"from 1970 to now, one server, yes", before, after, 1, yes(after), StepVerdict::Allowed},
        {"from 1970 to before the build date", before, build * kS - kS, 2, yes(build * kS - kS),
         StepVerdict::BeforeBuildDate},
    };
    for (const Case& c : cases) {
        StepFacts facts;
        facts.localNs = c.local;
        facts.offsetNs = c.offset;
        facts.buildDateUnixS = build;
        facts.agreeingServers = c.agreeing;
        facts.approvedS = c.approvedS;
        EXPECT_EQ(CheckStep(facts), c.expected) << c.name;
    }
}

TEST(SyncArguments, ApprovalAndServerLists) {
    struct Case {
        QStringList args;
        std::optional<SyncResult> expected;
        std::optional<std::int64_t> approved;
        QStringList hosts;
    };
    const Case cases[] = {
        {{"--approve=10800", "time.example"}, std::nullopt, 10800, {"time.example"}},
        {{"--approve=-3600", "a.example,b.example:1123"},
         std::nullopt,
         -3600,
         {"a.example", "b.example"}},
        {{"a.example,b.example,c.example,d.example"},
         std::nullopt,
         std::nullopt,
         {"a.example", "b.example", "c.example", "d.example"}},
        {{"a,b,c,d,e"}, SyncResult::Failed, std::nullopt, {}},
        {{"a.example,"}, SyncResult::Failed, std::nullopt, {}},
        {{"--approve=10800"}, SyncResult::NoArgument, std::nullopt, {}},
        {{"--approve=", "a"}, SyncResult::Failed, std::nullopt, {}},
        {{"--approve=1e5", "a"}, SyncResult::Failed, std::nullopt, {}},
        {{"--approve=999999999999", "a"}, SyncResult::Failed, std::nullopt, {}},
        {{"--approve=1", "--approve=2", "a"}, SyncResult::Failed, std::nullopt, {}},
        {{"--step-anyway", "a"}, SyncResult::Failed, std::nullopt, {}},
        {{"--approve=5", "a", "b"}, SyncResult::TooManyArguments, std::nullopt, {}},
    };
    for (const Case& c : cases) {
        SyncRequest request;
        EXPECT_EQ(CheckArguments(c.args, &request), c.expected) << c.args.join('|').toStdString();
        if (c.expected)
            continue;
        EXPECT_EQ(request.approvedS, c.approved) << c.args.join('|').toStdString();
        QStringList hosts;
        for (const ServerSpec& s : request.servers)
            hosts << s.host;
        EXPECT_EQ(hosts, c.hosts);
    }
}

TEST(SyncReport, WhyTheClockWasNotSetTravelsWithTheResult) {
    SyncOutcome out;
    out.measurement.outcome = NtpOutcome::Measured;
    out.step = StepVerdict::TooLarge;
    EXPECT_EQ(OutcomeReason(out), SyncReason::StepTooLarge);
    out.step = StepVerdict::Allowed;
    out.set = ClockSetResult::NoPermission;
    EXPECT_EQ(OutcomeReason(out), SyncReason::Refused);
    out.set = ClockSetResult::TimeKeptBySystem;
    EXPECT_EQ(OutcomeReason(out), SyncReason::TimeKeptBySystem);
    out.measurement.outcome = NtpOutcome::NotResolved;
    EXPECT_EQ(OutcomeReason(out), SyncReason::NotResolved);
    out.measurement.outcome = NtpOutcome::KissOfDeath;
    EXPECT_EQ(OutcomeReason(out), SyncReason::BadAnswer);
    EXPECT_EQ(StepSeconds(10'800'400'000'000LL), 10800);
    EXPECT_EQ(StepSeconds(-10'800'500'000'000LL), -10801);

    const QByteArray line = ReportLine(26499, SyncResult::Failed, SyncReason::StepTooLarge, -10800);
    EXPECT_EQ(line, QByteArray("SYNCRESULT 26499 4 7 -10800\n"));
    const auto read = ParseReportLine(line);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->code, 4);
    EXPECT_EQ(read->reason, SyncReason::StepTooLarge);
    EXPECT_EQ(read->stepS, -10800);
    // The short line of a tool without reasons still reads, with none.
    const auto shortLine = ParseReportLine("SYNCRESULT 26499 4");
    ASSERT_TRUE(shortLine);
    EXPECT_EQ(shortLine->reason, SyncReason::None);
    for (const char* bad : {"SYNCRESULT 1 4 0 5", "SYNCRESULT 1 4 11 5", "SYNCRESULT 1 4 7",
                            "SYNCRESULT 1 4 7 1000000000000", "SYNCRESULT 1 4 7 --5",
                            "SYNCRESULT 1 4 7 5 6", "SYNCRESULT 1 4 -7 5"})
        EXPECT_FALSE(ParseReportLine(bad)) << bad;
}

TEST(TimeService, ErrorsAndUnits) {
    struct Case {
        const char* error;
        ClockSetResult expected;
    };
    const Case cases[] = {
        {"org.freedesktop.timedate1.AutomaticTimeSyncEnabled", ClockSetResult::TimeKeptBySystem},
        {"org.freedesktop.DBus.Error.AccessDenied", ClockSetResult::NoPermission},
        {"org.freedesktop.DBus.Error.InteractiveAuthorizationRequired",
         ClockSetResult::NoPermission},
        {"org.freedesktop.PolicyKit1.Error.Cancelled", ClockSetResult::NoPermission},
        {"org.freedesktop.DBus.Error.ServiceUnknown", ClockSetResult::NoService},
        {"org.freedesktop.DBus.Error.NoReply", ClockSetResult::Failed},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TimeServiceErrorResult(c.error), c.expected) << c.error;
    EXPECT_EQ(OffsetToUsec(2'500'000'000LL), 2'500'000);
    EXPECT_EQ(OffsetToUsec(1'499), 1);
    EXPECT_EQ(OffsetToUsec(1'500), 2);
    EXPECT_EQ(OffsetToUsec(-1'500), -2);
    EXPECT_EQ(OffsetToUsec(-2'750'000'400LL), -2'750'000);
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
