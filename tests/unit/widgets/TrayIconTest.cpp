// The notification-area icon: tooltip, balloons through a recording sink with or
// without a tray, the icon that appears when a tray host arrives, mouse events.
#include "FakeBalloonSink.h"
#include "widgets/KvBalloonWindow.h"
#include "widgets/KvTrayIcon.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmora;
using velmora::test::TFakeBalloonSink;
using velmora::test::TFakeSinkLog;
using velmora::test::WaitUntil;

namespace {

struct TTrayLog {
    int Placed = 0;
    int Removed = 0;
    std::vector<TKvBalloonRequest> Fallbacks;
};

// Counts what would reach the tray host.
class TTestTrayIcon : public TKvTrayIcon {
public:
    TTestTrayIcon(std::shared_ptr<TFakeSinkLog> sink, std::shared_ptr<TTrayLog> log)
        : TKvTrayIcon(nullptr, std::make_unique<TFakeBalloonSink>(std::move(sink))),
          FLog(std::move(log)) {}

protected:
    void PlaceInTray() override {
        ++FLog->Placed;
        TKvTrayIcon::PlaceInTray();
    }
    void RemoveFromTray() override {
        ++FLog->Removed;
        TKvTrayIcon::RemoveFromTray();
    }
    void ShowFallbackBalloon(const TKvBalloonRequest& request) override {
        FLog->Fallbacks.push_back(request);
    }

private:
    std::shared_ptr<TTrayLog> FLog;
};

class TrayIconTest : public ::testing::Test {
protected:
    std::shared_ptr<TFakeSinkLog> sink = std::make_shared<TFakeSinkLog>();
    std::shared_ptr<TTrayLog> tray = std::make_shared<TTrayLog>();
    bool hostUp = true;
    int probes = 0;

    std::unique_ptr<TTestTrayIcon> MakeIcon() {
        auto icon = std::make_unique<TTestTrayIcon>(sink, tray);
        icon->SetTrayAvailableProbe([this] {
            ++probes;
            return hostUp;
        });
        return icon;
    }
    std::unique_ptr<TTestTrayIcon> MakeShownIcon() {
        auto icon = MakeIcon();
        icon->SetVisible(true);
        return icon;
    }
};

} // namespace

TEST_F(TrayIconTest, TooltipShowsOneAmpersandForOneTyped) {
    auto icon = MakeIcon();
    icon->SetHint(QStringLiteral("Tom&Jerry"));
    EXPECT_EQ(icon->Hint(), "Tom&Jerry");
    EXPECT_EQ(icon->TrayIcon()->toolTip(), "Tom&Jerry");
    icon->SetHint(QString(200, 'h'));
    EXPECT_EQ(icon->TrayIcon()->toolTip(), QString(127, 'h'));
    EXPECT_EQ(icon->Hint().size(), 200);
}

TEST_F(TrayIconTest, ShowingAddsTheIconWithItsTooltip) {
    auto icon = MakeIcon();
    icon->SetHint(QStringLiteral("clock"));
    EXPECT_FALSE(icon->Loaded());
    icon->SetVisible(true);
    EXPECT_TRUE(icon->Loaded());
    EXPECT_EQ(tray->Placed, 1);
    EXPECT_TRUE(icon->TrayIcon()->isVisible());
    EXPECT_FALSE(icon->Icon().isNull()) << "the application's icon is taken when none is set";
    EXPECT_EQ(icon->TrayIcon()->toolTip(), "clock");
    icon->SetVisible(true);
    EXPECT_EQ(tray->Placed, 1);
    icon->SetVisible(false);
    EXPECT_FALSE(icon->Loaded());
    EXPECT_EQ(tray->Removed, 1);
    EXPECT_FALSE(icon->TrayIcon()->isVisible());
}

TEST_F(TrayIconTest, BalloonsReachTheServiceWithoutATray) {
    hostUp = false;
    auto icon = MakeShownIcon();
    ASSERT_FALSE(icon->Loaded());
    icon->SetBalloonHint(QStringLiteral("text"));
    icon->ShowBalloon();
    icon->ShowBalloon(QStringLiteral("t"), QStringLiteral("h"), kbfInfo, {}, 1000);
    ASSERT_EQ(sink->Sent.size(), 2u);
    EXPECT_EQ(sink->Sent[0].Body, "text");
    EXPECT_EQ(sink->Sent[1].Summary, "t");
    icon->HideBalloon();
    EXPECT_EQ(sink->Closed, (std::vector<uint32_t>{8}));
    EXPECT_TRUE(tray->Fallbacks.empty());
}

TEST_F(TrayIconTest, BalloonFromThePropertiesBecomesOneNotification) {
    auto icon = MakeShownIcon();
    icon->SetBalloonTitle(QString(70, 'T'));
    icon->SetBalloonHint(QString(300, 'x'));
    icon->SetBalloonFlags(kbfWarning);
    icon->SetOptions(kbfoLargeIcon | kbfoNoSound);
    icon->SetBalloonTimeout(3000);
    icon->ShowBalloon();
    ASSERT_EQ(sink->Sent.size(), 1u);
    const TKvNotification& n = sink->Sent[0];
    EXPECT_EQ(n.Summary, QString(63, 'T'));
    EXPECT_EQ(n.Body, QString(255, 'x'));
    EXPECT_EQ(n.AppIcon, "dialog-warning");
    EXPECT_TRUE(n.Hints.value("suppress-sound").toBool());
    EXPECT_EQ(n.ExpireTimeout, 3000);
    EXPECT_EQ(n.ReplacesId, 0u);
    // the properties keep the whole texts
    EXPECT_EQ(icon->BalloonTitle().size(), 70);
}

TEST_F(TrayIconTest, OverloadLeavesThePropertiesAndSetsTheTimeout) {
    auto icon = MakeShownIcon();
    icon->SetBalloonTitle(QStringLiteral("prop title"));
    icon->SetBalloonHint(QStringLiteral("prop text"));
    icon->ShowBalloon(QStringLiteral("Alarm"), QStringLiteral("07:00"), kbfError,
                      kbfoRespectQuietTime, 5000);
    ASSERT_EQ(sink->Sent.size(), 1u);
    EXPECT_EQ(sink->Sent[0].Summary, "Alarm");
    EXPECT_EQ(sink->Sent[0].AppIcon, "dialog-error");
    EXPECT_EQ(sink->Sent[0].Hints.value("urgency").toInt(), 0);
    EXPECT_EQ(icon->BalloonTitle(), "prop title");
    EXPECT_EQ(icon->BalloonFlags(), kbfNone);
    EXPECT_EQ(icon->BalloonTimeout(), 5000u);
    // The next plain ShowBalloon shows what was shown last, and replaces it.
    icon->ShowBalloon();
    ASSERT_EQ(sink->Sent.size(), 2u);
    EXPECT_EQ(sink->Sent[1].Summary, "Alarm");
    EXPECT_EQ(sink->Sent[1].ReplacesId, 7u);
    EXPECT_EQ(sink->Sent[1].ExpireTimeout, 5000);
}

TEST_F(TrayIconTest, HideBalloonClosesTheLastNotification) {
    auto icon = MakeShownIcon();
    icon->ShowBalloon(QStringLiteral("a"), QStringLiteral("one"), kbfInfo, {}, 1000);
    icon->ShowBalloon(QStringLiteral("b"), QStringLiteral("two"), kbfInfo, {}, 1000);
    icon->HideBalloon();
    EXPECT_EQ(sink->Closed, std::vector<uint32_t>{8});
    icon->HideBalloon(); // nothing left to close
    EXPECT_EQ(sink->Closed.size(), 1u);
    // the texts went with it: a plain ShowBalloon has nothing to show
    icon->ShowBalloon();
    EXPECT_EQ(sink->Sent.size(), 2u);
}

TEST_F(TrayIconTest, BalloonHiddenOnItsWayIsClosedWhenItsIdArrives) {
    sink->AnswerAtOnce = false;
    auto icon = MakeShownIcon();
    icon->ShowBalloon(QStringLiteral("a"), QStringLiteral("one"), kbfInfo, {}, 1000);
    icon->HideBalloon();
    EXPECT_TRUE(sink->Closed.empty());
    ASSERT_EQ(sink->Pending.size(), 1u);
    sink->Pending[0](21u);
    EXPECT_EQ(sink->Closed, std::vector<uint32_t>{21});
    // a newer balloon is not closed by an older answer
    icon->ShowBalloon(QStringLiteral("b"), QStringLiteral("two"), kbfInfo, {}, 1000);
    icon->ShowBalloon(QStringLiteral("c"), QStringLiteral("three"), kbfInfo, {}, 1000);
    sink->Pending[2](23u);
    sink->Pending[1](22u);
    EXPECT_EQ(sink->Closed, (std::vector<uint32_t>{21, 22}));
    icon->HideBalloon();
    EXPECT_EQ(sink->Closed, (std::vector<uint32_t>{21, 22, 23}));
}

TEST_F(TrayIconTest, WithoutNotificationServiceQtsBalloonIsUsed) {
    auto icon = MakeShownIcon();
    sink->Available = false;
    icon->ShowBalloon(QStringLiteral("t"), QStringLiteral("h"), kbfWarning, {}, 1000);
    EXPECT_TRUE(sink->Sent.empty());
    ASSERT_EQ(tray->Fallbacks.size(), 1u);
    EXPECT_EQ(tray->Fallbacks[0].Flags, kbfWarning);
    // a service that fails to answer also falls back
    sink->Available = true;
    sink->Fail = true;
    icon->ShowBalloon(QStringLiteral("t2"), QStringLiteral("h2"), kbfInfo, {}, 1000);
    EXPECT_EQ(sink->Sent.size(), 1u);
    ASSERT_EQ(tray->Fallbacks.size(), 2u);
    EXPECT_EQ(tray->Fallbacks[1].Title, "t2");
}

TEST_F(TrayIconTest, UserBalloonShowsTheNotificationIcon) {
    auto icon = MakeShownIcon();
    QImage big(32, 32, QImage::Format_ARGB32);
    big.fill(Qt::red);
    icon->SetNotificationIcon(big);
    EXPECT_TRUE(icon->Options().testFlag(kbfoLargeIcon));
    icon->ShowBalloon(QStringLiteral("t"), QStringLiteral("h"), kbfUser, {}, 1000);
    ASSERT_EQ(sink->Sent.size(), 1u);
    const auto image = sink->Sent[0].Hints.value("image-data").value<TKvNotificationImage>();
    EXPECT_EQ(image.Width, 32);
    EXPECT_EQ(image.Height, 32);
}

TEST_F(TrayIconTest, NoTrayIsNoErrorAndNoPolling) {
    hostUp = false;
    auto icon = MakeIcon();
    icon->SetVisible(true);
    EXPECT_FALSE(icon->Loaded());
    EXPECT_TRUE(icon->WaitingForHost());
    const int seen = probes;
    // No timer of its own is running, whatever its interval...
    int timers = 0;
    QObjectList watched = icon->findChildren<QObject*>();
    watched << icon.get();
    for (QObject* o : watched)
        timers += QAbstractEventDispatcher::instance()->registeredTimers(o).size();
    EXPECT_EQ(timers, 0) << "a timer runs in the icon while it waits for a host";
    // ... and nothing else asks either, watched past a poll every second or two.
    QTest::qWait(2500);
    EXPECT_EQ(probes, seen) << "nothing asks again until the system reports a change";
    EXPECT_EQ(tray->Placed, 0);
}

TEST_F(TrayIconTest, IconAppearsWhenATrayHostArrives) {
    hostUp = false;
    auto icon = MakeIcon();
    icon->SetHint(QStringLiteral("tip"));
    icon->SetVisible(true);
    icon->TrayHostChanged(); // a change that brought no host
    EXPECT_FALSE(icon->Loaded());
    hostUp = true;
    icon->TrayHostChanged();
    EXPECT_TRUE(icon->Loaded());
    EXPECT_FALSE(icon->WaitingForHost());
    EXPECT_EQ(tray->Placed, 1);
    EXPECT_EQ(icon->TrayIcon()->toolTip(), "tip");
}

TEST_F(TrayIconTest, IconComesBackWithTheTrayHost) {
    auto icon = MakeShownIcon();
    ASSERT_EQ(tray->Placed, 1);
    hostUp = false;
    icon->TrayHostChanged();
    EXPECT_FALSE(icon->Loaded());
    EXPECT_TRUE(icon->WaitingForHost());
    hostUp = true;
    icon->TrayHostChanged();
    EXPECT_TRUE(icon->Loaded());
    EXPECT_EQ(tray->Placed, 2) << "added once per new host";
    // A host replaced by another (the selection changes hands): added to the new one.
    icon->TrayHostChanged();
    EXPECT_EQ(tray->Placed, 3);
}

TEST_F(TrayIconTest, HiddenIconStaysHiddenWhenTheHostReturns) {
    auto icon = MakeShownIcon();
    icon->SetVisible(false);
    hostUp = false;
    icon->TrayHostChanged();
    hostUp = true;
    icon->TrayHostChanged();
    EXPECT_EQ(tray->Placed, 1);
    EXPECT_FALSE(icon->Loaded());
    EXPECT_FALSE(icon->TrayIcon()->isVisible());
}

TEST_F(TrayIconTest, MouseEventsInOrder) {
    auto icon = MakeShownIcon();
    QStringList events;
    const auto name = [](Qt::MouseButton b) {
        return b == Qt::LeftButton ? "left" : b == Qt::RightButton ? "right" : "middle";
    };
    icon->SetOnMouseDown([&](TKvTrayIcon*, Qt::MouseButton b, Qt::KeyboardModifiers, int, int) {
        events << QStringLiteral("down ") + name(b);
    });
    icon->SetOnMouseUp([&](TKvTrayIcon*, Qt::MouseButton b, Qt::KeyboardModifiers, int, int) {
        events << QStringLiteral("up ") + name(b);
    });
    icon->SetOnClick([&](TKvTrayIcon*) { events << "click"; });
    icon->SetOnDblClick([&](TKvTrayIcon*) { events << "dblclick"; });
    struct Case {
        QSystemTrayIcon::ActivationReason reason;
        QStringList expected;
    } cases[] = {
        {QSystemTrayIcon::Trigger, {"down left", "click", "up left"}},
        {QSystemTrayIcon::DoubleClick, {"dblclick"}},
        {QSystemTrayIcon::Context, {"down right", "up right"}},
        {QSystemTrayIcon::MiddleClick, {"down middle", "up middle"}},
        {QSystemTrayIcon::Unknown, {}},
    };
    for (const Case& c : cases) {
        events.clear();
        emit icon->TrayIcon()->activated(c.reason);
        EXPECT_EQ(events, c.expected) << int(c.reason);
    }
}

TEST_F(TrayIconTest, RightClickOpensThePopupMenu) {
    auto icon = MakeShownIcon();
    auto menu = std::make_unique<QMenu>();
    menu->addAction(QStringLiteral("Quit"));
    icon->SetPopupMenu(menu.get());
    emit icon->TrayIcon()->activated(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(menu->isVisible());
    emit icon->TrayIcon()->activated(QSystemTrayIcon::Context);
    EXPECT_TRUE(menu->isVisible());
    menu->close();
    // a destroyed menu is forgotten
    menu.reset();
    EXPECT_EQ(icon->PopupMenu(), nullptr);
    emit icon->TrayIcon()->activated(QSystemTrayIcon::Context);
}

TEST_F(TrayIconTest, NothingFiresAfterDestruction) {
    {
        sink->AnswerAtOnce = false;
        auto icon = MakeShownIcon();
        icon->ShowBalloon(QStringLiteral("t"), QStringLiteral("h"), kbfInfo, {}, 1000);
    }
    ASSERT_EQ(sink->Pending.size(), 1u);
    sink->Pending[0](std::nullopt); // would fall back if the icon still listened
    sink->Pending[0](5u);
    EXPECT_TRUE(tray->Fallbacks.empty());
    EXPECT_TRUE(sink->Closed.empty());
}

TEST_F(TrayIconTest, IconIsSixteenSquareThirtyTwoBit) {
    QTemporaryDir dir;
    QImage wide(40, 20, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    const QString path = dir.filePath("icon.png");
    ASSERT_TRUE(wide.save(path));
    auto icon = MakeIcon();
    ASSERT_TRUE(icon->LoadIconPng(path));
    const QImage& img = icon->Icon();
    EXPECT_EQ(img.size(), QSize(16, 16));
    EXPECT_EQ(img.format(), QImage::Format_ARGB32_Premultiplied);
    // scaled to 16 x 8 in the middle, transparent above and below
    EXPECT_EQ(qAlpha(img.pixel(8, 0)), 0);
    EXPECT_EQ(img.pixelColor(8, 8), QColor(Qt::blue));
    EXPECT_EQ(qAlpha(img.pixel(8, 15)), 0);
    EXPECT_FALSE(icon->LoadIconPng(dir.filePath("missing.png")));
    EXPECT_EQ(icon->Icon().size(), QSize(16, 16));
    EXPECT_TRUE(KvTrayIconImage(QImage()).isNull());
}

TEST_F(TrayIconTest, WithNeitherTrayNorServiceAWindowBesideTheAnchorShowsTheBalloon) {
    sink->Available = false;
    TKvTrayIcon icon(nullptr, std::make_unique<TFakeBalloonSink>(sink));
    icon.SetTrayAvailableProbe([] { return false; });
    QWidget anchor(nullptr, Qt::FramelessWindowHint);
    anchor.setGeometry(300, 200, 120, 30);
    anchor.show();
    icon.SetBalloonAnchor(&anchor);
    icon.SetVisible(true);
    icon.ShowBalloon(QStringLiteral("Alarm"), QStringLiteral("Wake up"), kbfInfo, {}, 300);
    EXPECT_TRUE(sink->Sent.empty());
    TKvBalloonWindow* w = icon.BalloonWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Title(), "Alarm");
    EXPECT_EQ(w->Text(), "Wake up");
    EXPECT_FALSE(w->isModal());
    EXPECT_EQ(w->geometry().topLeft(), KvBalloonPlace(anchor.frameGeometry(), w->size(),
                                                      anchor.screen()->availableGeometry()));
    // Its time-out takes it away, with nobody answering anything.
    EXPECT_TRUE(WaitUntil([&] { return icon.BalloonWindow() == nullptr; }));
    // HideBalloon takes it away too.
    icon.ShowBalloon(QStringLiteral("Alarm"), QStringLiteral("again"), kbfInfo, {}, 60000);
    ASSERT_NE(icon.BalloonWindow(), nullptr);
    icon.HideBalloon();
    EXPECT_EQ(icon.BalloonWindow(), nullptr);
}

TEST(KvBalloonPlace, BesideTheAnchorAndWhollyOnTheScreen) {
    const QRect screen(0, 0, 1024, 768);
    const QSize size(200, 60);
    const struct {
        QRect Anchor;
        QPoint Expected;
        const char* What;
    } cases[] = {
        {{300, 200, 120, 30}, {220, 234}, "below, right edges lined up"},
        {{300, 700, 120, 30}, {220, 636}, "above when there is no room below"},
        {{0, 100, 50, 30}, {0, 134}, "kept off the left edge"},
        {{1000, 10, 100, 30}, {824, 44}, "kept off the right edge"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KvBalloonPlace(c.Anchor, size, screen), c.Expected) << c.What;
}

TEST_F(TrayIconTest, ThePopupMenuIsTheIconsContextMenuForStatusItemHosts) {
    // Xfce's panel and KDE Plasma read the menu of a status item over D-Bus and
    // open it themselves: the toolkit exports the icon's context menu.
    auto icon = MakeShownIcon();
    auto menu = std::make_unique<QMenu>();
    icon->SetPopupMenu(menu.get());
    EXPECT_EQ(icon->TrayIcon()->contextMenu(), menu.get());
    icon->SetPopupMenu(nullptr);
    EXPECT_EQ(icon->TrayIcon()->contextMenu(), nullptr);
}

TEST_F(TrayIconTest, TwoQuickActivationsAreADoubleClick) {
    // A status-item host reports a double-click as two Activate calls.
    auto icon = MakeShownIcon();
    QStringList events;
    icon->SetOnClick([&](TKvTrayIcon*) { events << "click"; });
    icon->SetOnDblClick([&](TKvTrayIcon*) { events << "dblclick"; });
    emit icon->TrayIcon()->activated(QSystemTrayIcon::Trigger);
    emit icon->TrayIcon()->activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(events, QStringList({"click", "dblclick"}));
    // A third click starts a new pair.
    emit icon->TrayIcon()->activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(events, QStringList({"click", "dblclick", "click"}));
    // Clicks further apart are two clicks.
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    emit icon->TrayIcon()->activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(events, QStringList({"click", "dblclick", "click", "click"}));
    // A tray that reports the double-click itself gets one double-click.
    emit icon->TrayIcon()->activated(QSystemTrayIcon::DoubleClick);
    emit icon->TrayIcon()->activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(events, QStringList({"click", "dblclick", "click", "click", "dblclick", "click"}));
}
