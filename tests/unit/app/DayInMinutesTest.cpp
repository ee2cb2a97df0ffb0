// A whole day of the real clock window in seconds of test time: its fake clock walks
// 86 400 seconds from noon to noon, once second by second and once with seconds
// skipped at random as on a loaded machine. The alarm starts and stops once, every
// timed command runs once, and midnight re-fits the window once.
#include "core/IniDocument.h"
#include "core/KvTimer.h"
#include "app/clock/MainForm.h"
#include "fakes/FakePlatform.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <map>
#include <random>

using namespace velmora;

namespace {

const QDateTime kNoon(QDate(2026, 12, 6), QTime(12, 0, 0)); // a Sunday
const QStringList kCommandTimes = {"00:00:00", "07:30:30", "18:00:00", "23:59:59"};

struct DayRun {
    QTemporaryDir dir;
    FakePlatform platform;
    FakeClock clock{kNoon};
    std::unique_ptr<TMainForm> form;
    QStringList boxes;
    QTimer boxAnswerer;

    DayRun() {
        const QString prog = dir.filePath("prog.sh");
        const QString sound = dir.filePath("alarm.wav");
        for (const QString& f : {prog, sound}) {
            QFile file(f);
            file.open(QIODevice::WriteOnly);
        }
        QStringList lines = {"[Alarm]",
                             "IsAlarmSet=1",
                             "AlarmStartTime=07:30:00",
                             "UseAlarmColor=1",
                             "UseAlarmSound=1",
                             "AlarmSoundFileName=" + sound,
                             "[CommandList]",
                             QStringLiteral("Count=%1").arg(kCommandTimes.size() + 1),
                             "[Command0]",
                             "FileName=" + dir.filePath("Sync/VelmoSync")};
        for (int i = 0; i < kCommandTimes.size(); ++i)
            lines << QStringLiteral("[Command%1]").arg(i + 1) << "Title=at " + kCommandTimes[i]
                  << "FileName=" + prog << "OptionStr=" + kCommandTimes[i] << "AtSpTime=1"
                  << "SpTime=" + kCommandTimes[i];
        IniDocument d(dir.filePath("velmora.ini"), QLocale::c());
        d.SetStrings(lines);
        d.UpdateFile();
        // A box would stop the day: note it and answer it.
        boxAnswerer.setInterval(5);
        QObject::connect(&boxAnswerer, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    boxes << box->text();
                    box->accept();
                }
        });
        boxAnswerer.start();
        form = std::make_unique<TMainForm>(platform, clock, dir.filePath("velmora.ini"));
        form->ClockTimer()->SetEnabled(false); // the test drives the ticks
        form->DayWords().Sun = "S";
        form->DayWords().Mon = "Monday, a long word";
        form->AdjustMainFormMaxSize(form->Settings().FontColorMode);
    }

    struct Seen {
        int alarmStarts = 0, alarmStops = 0, widthChanges = 0;
        std::map<QString, int> commands;
    };

    // Walks the clock to the next noon in steps from `step`, ticking after each.
    Seen Walk(const std::function<int()>& step) {
        Seen seen;
        form->ClockTimerTimer();
        bool running = form->RunState().IsAlarmRunning;
        int width = form->width();
        const QDateTime end = kNoon.addDays(1);
        QDateTime now = kNoon;
        while (now < end) {
            now = std::min(now.addSecs(step()), end);
            clock.Set(now);
            form->ClockTimerTimer();
            seen.alarmStarts += !running && form->RunState().IsAlarmRunning;
            seen.alarmStops += running && !form->RunState().IsAlarmRunning;
            running = form->RunState().IsAlarmRunning;
            seen.widthChanges += form->width() != width;
            width = form->width();
        }
        for (const QString& call : platform.Calls.filter("launch:"))
            ++seen.commands[call.section('|', 1, 1)];
        return seen;
    }
};

void ExpectOnceEach(const DayRun& run, const DayRun::Seen& seen) {
    EXPECT_EQ(seen.alarmStarts, 1);
    EXPECT_EQ(seen.alarmStops, 1);
    EXPECT_EQ(run.platform.Calls.filter("play:").size(), 1);
    EXPECT_EQ(seen.widthChanges, 1); // Sunday's short word, then Monday's long one
    std::map<QString, int> once;
    for (const QString& t : kCommandTimes)
        once[t] = 1;
    EXPECT_EQ(seen.commands, once);
    EXPECT_EQ(run.boxes, QStringList());
    EXPECT_EQ(run.form->ClockStr(), " 2026-12-07 Monday, a long word 12:00:00 ");
}

} // namespace

TEST(DayInMinutes, EverySecondOfADay) {
    DayRun run;
    const DayRun::Seen seen = run.Walk([] { return 1; });
    ExpectOnceEach(run, seen);
}

TEST(DayInMinutes, ADayWithSecondsSkippedAtRandom) {
    // Mostly single seconds, often a few lost, now and then most of a minute.
    DayRun run;
    std::mt19937 random(20261206);
    std::discrete_distribution<int> kind({80, 18, 2});
    int ticks = 0;
    const DayRun::Seen seen = run.Walk([&] {
        ++ticks;
        switch (kind(random)) {
        case 0:
            return 1;
        case 1:
            return std::uniform_int_distribution<int>(2, 9)(random);
        default:
            return std::uniform_int_distribution<int>(10, 59)(random);
        }
    });
    ExpectOnceEach(run, seen);
    EXPECT_LT(ticks, 86400 * 3 / 4); // a good part of the seconds was never ticked
}
