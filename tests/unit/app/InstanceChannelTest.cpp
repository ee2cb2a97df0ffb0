// The instance channel with real local sockets: who may speak, how much, how long.
#include "platform/linux/InstanceChannel.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

using namespace velmora;

namespace {

struct Channel {
    explicit Channel(TChannelLimits limits = {},
                     TInstanceChannel::TPeerUid peerUid = velmora::PeerUid)
        : channel(limits, getuid(), std::move(peerUid)) {
        path = dir.filePath("VelmoLimitMultiInstance.sock");
        ok = channel.Listen(path);
        channel.SetOnLine([this](const QByteArray& line) { lines << line; });
    }
    std::unique_ptr<QLocalSocket> Connect() {
        auto s = std::make_unique<QLocalSocket>();
        s->connectToServer(path);
        EXPECT_TRUE(s->waitForConnected(5000));
        return s;
    }
    // Lets the channel work until `done` or a generous limit.
    void Pump(const std::function<bool()>& done) {
        for (int i = 0; i < 500 && !done(); ++i)
            QTest::qWait(10);
    }

    QTemporaryDir dir;
    TInstanceChannel channel;
    QString path;
    bool ok = false;
    QList<QByteArray> lines;
};

bool Closed(const QLocalSocket& s) {
    return s.state() == QLocalSocket::UnconnectedState;
}

} // namespace

TEST(InstanceChannel, OnlyTheSameUserMaySpeak) {
    EXPECT_TRUE(PeerAllowed(getuid(), getuid()));
    EXPECT_FALSE(PeerAllowed(getuid() + 1, getuid()));
    EXPECT_FALSE(PeerAllowed(std::nullopt, getuid()));
    EXPECT_EQ(PeerUid(-1), std::nullopt);

    // A peer that the kernel names as another user is closed unheard.
    Channel foreign({}, [](qintptr) { return std::optional<uid_t>(getuid() + 1); });
    ASSERT_TRUE(foreign.ok);
    auto s = foreign.Connect();
    s->write("ACTIVATE\n");
    s->flush();
    foreign.Pump([&] { return Closed(*s) || !foreign.lines.isEmpty(); });
    s->waitForDisconnected(2000);
    EXPECT_TRUE(Closed(*s));
    EXPECT_TRUE(foreign.lines.isEmpty());

    // The real check lets this process's own user through.
    Channel own;
    ASSERT_TRUE(own.ok);
    auto mine = own.Connect();
    mine->write("ACTIVATE\n");
    mine->flush();
    own.Pump([&] { return !own.lines.isEmpty(); });
    EXPECT_EQ(own.lines, QList<QByteArray>{"ACTIVATE"});
}

TEST(InstanceChannel, OneLineOfAtMost255BytesPerPeer) {
    Channel c;
    ASSERT_TRUE(c.ok);
    const QByteArray longest(255, 'x');
    struct Case {
        QByteArray sent;
        QList<QByteArray> heard;
    };
    const Case cases[] = {
        {"SYNCRESULT 1 3\n", {"SYNCRESULT 1 3"}},
        {longest + "\n", {longest}},
        {longest + "y\n", {}},                        // one byte too many: dropped whole
        {QByteArray(1000, 'z') + "\nACTIVATE\n", {}}, // never split into pieces
        {"ACTIVATE\nSYNCRESULT 1 3\n", {"ACTIVATE"}}, // one line, then closed
    };
    for (const Case& k : cases) {
        c.lines.clear();
        auto s = c.Connect();
        s->write(k.sent);
        s->flush();
        c.Pump([&] { return Closed(*s) || s->waitForDisconnected(10); });
        EXPECT_TRUE(Closed(*s)) << k.sent.left(40).toStdString();
        QTest::qWait(50);
        EXPECT_EQ(c.lines, k.heard) << k.sent.left(40).toStdString();
    }
}

TEST(InstanceChannel, IdlePeersAreClosedAndFewAreServedAtOnce) {
    TChannelLimits limits;
    limits.MaxPeers = 3;
    limits.IdleMs = 60000;
    Channel c(limits);
    ASSERT_TRUE(c.ok);
    std::vector<std::unique_ptr<QLocalSocket>> peers;
    for (int i = 0; i < 6; ++i)
        peers.push_back(c.Connect());
    c.Pump([&] {
        return std::count_if(peers.begin(), peers.end(), [](auto& p) {
                   p->waitForDisconnected(1);
                   return Closed(*p);
               }) >= 3;
    });
    EXPECT_EQ(c.channel.PeerCount(), 3);
    int open = 0;
    for (auto& p : peers)
        open += Closed(*p) ? 0 : 1;
    EXPECT_EQ(open, 3);
    peers.clear();
    c.Pump([&] { return c.channel.PeerCount() == 0; });
    EXPECT_EQ(c.channel.PeerCount(), 0) << "a departed peer frees its place";

    // A peer that says nothing goes after its time.
    TChannelLimits quick;
    quick.IdleMs = 100;
    Channel idle(quick);
    ASSERT_TRUE(idle.ok);
    auto s = idle.Connect();
    idle.Pump([&] { return Closed(*s) || s->waitForDisconnected(10); });
    EXPECT_TRUE(Closed(*s));
    EXPECT_EQ(idle.channel.PeerCount(), 0);
}

TEST(InstanceChannel, AFailedListenSaysWhy) {
    TInstanceChannel channel({}, getuid());
    QString error;
    EXPECT_FALSE(channel.Listen("/no/such/folder/x.sock", &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(InstanceChannel, ASecondStartSendsItsLineOrSaysNobodyListens) {
    Channel c;
    ASSERT_TRUE(c.ok);
    EXPECT_TRUE(SendLine(c.path, "ACTIVATE\n", 2000));
    c.Pump([&] { return !c.lines.isEmpty(); });
    EXPECT_EQ(c.lines, QList<QByteArray>{"ACTIVATE"});

    QTemporaryDir dir;
    const struct {
        QString path;
        const char* why;
    } refused[] = {
        {dir.filePath("nobody.sock"), "no socket there"},
        {dir.filePath(QString(200, QLatin1Char('x'))), "longer than a socket path may be"},
        {QString(), "no path"},
    };
    for (const auto& r : refused)
        EXPECT_FALSE(SendLine(r.path, "ACTIVATE\n", 200)) << r.why;
}

TEST(InstanceChannel, TheSocketIsTheUsersAloneAndGoesWithTheChannel) {
    QString path;
    {
        Channel c;
        ASSERT_TRUE(c.ok);
        path = c.path;
        EXPECT_EQ(QFile::permissions(path) & (QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                              QFileDevice::ReadOther | QFileDevice::WriteOther),
                  QFileDevice::Permissions());
        // A second channel at the same path (the first one crashed) takes it over.
        TInstanceChannel again({}, getuid());
        EXPECT_TRUE(again.Listen(path));
    }
    EXPECT_FALSE(QFile::exists(path));
}
