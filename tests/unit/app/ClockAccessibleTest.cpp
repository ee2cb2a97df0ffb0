#include "core/KvTimer.h"
#include "app/clock/MainForm.h"
#include "fakes/FakePlatform.h"

#include <QAccessible>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

using namespace velmora;

namespace {

// Every accessibility event about `watched` or a widget inside it while it lives.
// Qt drops all events until an assistive tool turns accessibility on, which no
// tool does on the offscreen platform: the log turns it on itself, so that what
// the clock would announce to a screen reader reaches it.
struct TEventLog {
    static inline std::vector<QAccessible::Event> Events;
    static inline QWidget* Watched = nullptr;
    static void Record(QAccessibleEvent* e) {
        auto* w = qobject_cast<QWidget*>(e->object());
        if (Watched && w && (w == Watched || Watched->isAncestorOf(w)))
            Events.push_back(e->type());
    }
    static QPlatformAccessibility* Platform() {
        return QGuiApplicationPrivate::platformIntegration()->accessibility();
    }
    static void Start(QWidget* watched) {
        Watched = watched;
        Events.clear();
        QAccessible::installUpdateHandler(&Record);
        Platform()->setActive(true);
    }
    static void Stop() {
        Platform()->setActive(false);
        QAccessible::installUpdateHandler(nullptr);
        Watched = nullptr;
    }
    static bool Saw(QAccessible::Event type) {
        return std::find(Events.begin(), Events.end(), type) != Events.end();
    }
};

} // namespace

TEST(ClockAccessible, NameIsTheProgramAndDescriptionTheTextOnScreen) {
    QTemporaryDir dir;
    FakePlatform platform;
    FakeClock clock{QDateTime(QDate(2026, 12, 6), QTime(23, 59, 58))};
    TMainForm form(platform, clock, dir.filePath("velmora.ini"));
    form.ClockTimer()->SetEnabled(false);
    form.ClockTimerTimer();

    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&form);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->text(QAccessible::Name), "Velmora");
    EXPECT_EQ(a->role(), QAccessible::Window);
    EXPECT_EQ(a->text(QAccessible::Description), "2026-12-06 Sun 23:59:58");
    EXPECT_EQ(a->text(QAccessible::Description), form.ClockStr().trimmed());

    // The log hears what the window does: showing it is announced.
    ASSERT_NE(TEventLog::Platform(), nullptr);
    TEventLog::Start(&form);
    ASSERT_TRUE(QAccessible::isActive());
    form.show();
    EXPECT_TRUE(TEventLog::Saw(QAccessible::ObjectShow));

    // The next seconds change the description; none of them is announced.
    TEventLog::Events.clear();
    for (int i = 0; i < 3; ++i) {
        clock.AddSecs(1);
        form.ClockTimerTimer();
    }
    const std::vector<QAccessible::Event> ticks = TEventLog::Events;
    // ... while a change of the widget's own description would have been.
    form.setAccessibleDescription(QStringLiteral("probe"));
    EXPECT_TRUE(TEventLog::Saw(QAccessible::DescriptionChanged));
    form.setAccessibleDescription(QString());
    TEventLog::Stop();
    EXPECT_EQ(a->text(QAccessible::Description), "2026-12-07 Mon 00:00:01");
    EXPECT_EQ(a->text(QAccessible::Description), form.ClockStr().trimmed());
    for (QAccessible::Event e : ticks)
        EXPECT_TRUE(e != QAccessible::DescriptionChanged && e != QAccessible::NameChanged &&
                    e != QAccessible::ValueChanged && e != QAccessible::Alert &&
                    e != QAccessible::TextUpdated)
            << "event " << int(e);
}
