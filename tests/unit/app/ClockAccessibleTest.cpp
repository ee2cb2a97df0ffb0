#include "core/KvTimer.h"
#include "app/clock/MainForm.h"
#include "fakes/FakePlatform.h"

#include <QAccessible>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

// Every accessibility event about `watched` while it lives.
struct TEventLog {
    static inline std::vector<QAccessible::Event> Events;
    static inline QObject* Watched = nullptr;
    static void Record(QAccessibleEvent* e) {
        if (e->object() == Watched)
            Events.push_back(e->type());
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

    // The next seconds change the description; none of them is announced.
    TEventLog::Watched = &form;
    TEventLog::Events.clear();
    QAccessible::installUpdateHandler(&TEventLog::Record);
    for (int i = 0; i < 3; ++i) {
        clock.AddSecs(1);
        form.ClockTimerTimer();
    }
    QAccessible::installUpdateHandler(nullptr);
    TEventLog::Watched = nullptr;
    EXPECT_EQ(a->text(QAccessible::Description), "2026-12-07 Mon 00:00:01");
    EXPECT_EQ(a->text(QAccessible::Description), form.ClockStr().trimmed());
    for (QAccessible::Event e : TEventLog::Events)
        EXPECT_TRUE(e != QAccessible::DescriptionChanged && e != QAccessible::NameChanged &&
                    e != QAccessible::ValueChanged && e != QAccessible::Alert &&
                    e != QAccessible::TextUpdated)
            << "event " << int(e);
}
