#include "core/AlarmLogic.h"

#include "core/TextForms.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmora;
using E = TAlarmEffect;

namespace {

double Hms(int h, int m, int s) {
    return (h * 3600 + m * 60 + s) / 86400.0;
}

TVlmSettings Armed(double start) {
    TVlmSettings s;
    s.IsAlarmSet = true;
    s.AlarmStartTime = start;
    s.AlarmStopTime = AlarmStopTimeFor(start);
    return s;
}

// The clock ticks once a second; the blink timer once an interval.
static_assert(kBlinkIntervalMs % 1000 == 0, "the model blinks on whole ticks");
constexpr int kTicksPerBlink = int(kBlinkIntervalMs / 1000);

// The clock window as far as the alarm touches it: carries out the effects the
// way the real window does and lets the blink timer tick at its interval.
struct TAlarmWindow {
    TVlmSettings S;
    TClockRunState R;
    TAlarmTimeWindow Window;
    bool Visible = true;
    bool Blinking = false;
    int BlinkPhase = 0;
    bool BalloonShown = false;
    bool SoundPlaying = false;
    int SoundStarts = 0;
    bool StopItemsVisible = false;

    void CarryOut(const TAlarmEffects& effects) {
        for (TAlarmEffect e : effects) {
            switch (e) {
            case E::StartBlink:
                Blinking = true;
                break;
            case E::StopBlink:
                Blinking = false;
                Visible = VisibleAfterBlink();
                break;
            case E::ShowBalloon:
                BalloonShown = true;
                break;
            case E::HideBalloon:
                BalloonShown = false;
                break;
            case E::PlaySound:
                SoundPlaying = true;
                ++SoundStarts;
                break;
            case E::StopSound:
                SoundPlaying = false;
                break;
            case E::UpdateStopItems:
                StopItemsVisible = R.IsAlarmRunning;
                break;
            case E::UpdateOptionDialog:
                break;
            }
        }
    }
    // One second of the clock, as the window's tick runs it.
    void Tick(double now) {
        const TAlarmCheck c = Window.Check(S, now);
        if (c.Start)
            CarryOut(ActStartAlarmExecute(S, R));
        if (c.Stop)
            CarryOut(ActPopStopAlarmExecute(S, R));
        ApplyColorState(R, S, R.IsAlarmRunning, S.UseAlarmColor);
        if (Blinking && ++BlinkPhase % kTicksPerBlink == 0)
            Visible = BlinkVisibility(Visible);
    }
};

TAlarmWindow AllActions(double start) {
    TAlarmWindow w;
    w.S = Armed(start);
    w.S.UseAlarmBlink = w.S.UseAlarmColor = w.S.UseAlarmBalloon = w.S.UseAlarmSound = true;
    w.S.NormalFontColor = 0x000001;
    w.S.AlarmFontColor = 0x0000FF;
    return w;
}

} // namespace

TEST(AlarmLogic, AlarmWindowTable) {
    // Two ticks: the one before (`Before`, or none) and the one checked (`Now`).
    // A gap between them is a stall of the clock.
    struct Case {
        const char* Name;
        double Start;
        bool Set;
        double Before; // negative: no tick before (right after Reset at `Now`)
        double Now;
        bool Start_;
        bool Stop;
    };
    const Case cases[] = {
        {"start second", Hms(12, 0, 0), true, Hms(11, 59, 59), Hms(12, 0, 0), true, false},
        {"second before", Hms(12, 0, 0), true, Hms(11, 59, 58), Hms(11, 59, 59), false, false},
        {"inside the minute", Hms(12, 0, 0), true, Hms(12, 0, 58), Hms(12, 0, 59), false, false},
        {"stop second", Hms(12, 0, 0), true, Hms(12, 0, 59), Hms(12, 1, 0), false, true},
        {"after the stop", Hms(12, 0, 0), true, Hms(12, 1, 0), Hms(12, 1, 1), false, false},
        {"late start", Hms(23, 59, 30), true, Hms(23, 59, 29), Hms(23, 59, 30), true, false},
        {"inside across midnight", Hms(23, 59, 30), true, Hms(23, 59, 59), Hms(0, 0, 0), false,
         false},
        {"stop after midnight", Hms(23, 59, 30), true, Hms(0, 0, 29), Hms(0, 0, 30), false, true},
        {"start next day", Hms(12, 0, 0), true, 1.0 + Hms(11, 59, 59), 1.0 + Hms(12, 0, 0), true,
         false},
        {"stall over the start: runs for the rest of its minute", Hms(12, 0, 0), true,
         Hms(11, 59, 40), Hms(12, 0, 25), true, false},
        {"stall over the stop: ends at once", Hms(12, 0, 0), true, Hms(12, 0, 30), Hms(12, 3, 0),
         false, true},
        {"stall over the whole minute: nothing", Hms(12, 0, 0), true, Hms(11, 59, 0), Hms(12, 2, 0),
         false, false},
        {"stall over the stop across midnight", Hms(23, 59, 30), true, Hms(23, 59, 50),
         Hms(0, 5, 0), false, true},
        {"started inside the minute: no alarm", Hms(12, 0, 0), true, -1, Hms(12, 0, 10), false,
         false},
        {"not armed at start", Hms(12, 0, 0), false, Hms(11, 59, 59), Hms(12, 0, 0), false, false},
        {"not armed at stop", Hms(12, 0, 0), false, Hms(12, 0, 59), Hms(12, 1, 0), false, false},
    };
    for (const Case& c : cases) {
        TVlmSettings s = Armed(c.Start);
        s.IsAlarmSet = c.Set;
        TAlarmTimeWindow w;
        if (c.Before < 0) {
            w.Reset(s, c.Now);
        } else {
            w.Reset(s, c.Before - 1 / 86400.0);
            w.Check(s, c.Before);
        }
        const TAlarmCheck r = w.Check(s, c.Now);
        EXPECT_EQ(r.Start, c.Start_) << c.Name;
        EXPECT_EQ(r.Stop, c.Stop) << c.Name;
    }
}

TEST(AlarmLogic, WindowBoundsAreStartInclusiveStopExclusive) {
    const double start = Hms(23, 59, 30);
    const double stop = AlarmStopTimeFor(start);
    EXPECT_FALSE(InAlarmWindow(start, stop, Hms(23, 59, 29)));
    EXPECT_TRUE(InAlarmWindow(start, stop, Hms(23, 59, 30)));
    EXPECT_TRUE(InAlarmWindow(start, stop, Hms(0, 0, 29)));
    EXPECT_FALSE(InAlarmWindow(start, stop, Hms(0, 0, 30)));
    EXPECT_FALSE(InAlarmWindow(Hms(8, 0, 0), Hms(8, 0, 0), Hms(8, 0, 0))) << "empty window";
}

TEST(AlarmLogic, StopTimeIsOneMinuteAfterStartAndMayPassMidnight) {
    EXPECT_TRUE(SameTimeOfDay(AlarmStopTimeFor(Hms(12, 0, 0)), Hms(12, 1, 0)));
    const double late = AlarmStopTimeFor(Hms(23, 59, 30));
    EXPECT_GT(late, 1.0);
    EXPECT_TRUE(SameTimeOfDay(late, Hms(0, 0, 30)));
}

TEST(AlarmLogic, FullMinuteWithAllActions) {
    TAlarmWindow w = AllActions(Hms(12, 0, 0));
    w.Tick(Hms(11, 59, 59));
    EXPECT_FALSE(w.R.IsAlarmRunning);
    EXPECT_EQ(w.R.FontColor, 0x000001);

    w.Tick(Hms(12, 0, 0));
    // The colours switch on the very second the alarm starts.
    EXPECT_TRUE(w.R.IsAlarmRunning);
    EXPECT_EQ(w.R.FontColor, 0x0000FF);
    EXPECT_TRUE(w.BalloonShown && w.SoundPlaying && w.Blinking && w.StopItemsVisible);

    int hides = 0;
    int shows = 0;
    for (int sec = 1; sec < 60; ++sec) {
        const bool was = w.Visible;
        w.Tick(Hms(12, 0, sec));
        hides += was && !w.Visible;
        shows += !was && w.Visible;
    }
    // Hidden two seconds, shown two seconds: about fifteen of each in a minute.
    EXPECT_EQ(kBlinkIntervalMs, 2000u);
    EXPECT_GE(hides, 14);
    EXPECT_GE(shows, 14);
    EXPECT_TRUE(w.R.IsAlarmRunning);

    while (w.Visible) // stop while blinking has the window hidden
        w.Tick(Hms(12, 0, 59));
    w.Tick(Hms(12, 1, 0));
    EXPECT_FALSE(w.R.IsAlarmRunning);
    EXPECT_TRUE(w.Visible);
    EXPECT_FALSE(w.Blinking || w.BalloonShown || w.SoundPlaying || w.StopItemsVisible);
    EXPECT_EQ(w.R.FontColor, 0x000001);
    EXPECT_EQ(w.SoundStarts, 1);
}

TEST(AlarmLogic, LateAlarmStopsAfterMidnight) {
    TAlarmWindow w = AllActions(Hms(23, 59, 30));
    w.Tick(Hms(23, 59, 30));
    w.Tick(Hms(0, 0, 29));
    EXPECT_TRUE(w.R.IsAlarmRunning);
    w.Tick(Hms(0, 0, 30));
    EXPECT_FALSE(w.R.IsAlarmRunning);
    EXPECT_TRUE(w.Visible);
}

TEST(AlarmLogic, ArmingAroundTheStartSecond) {
    // Armed on the start second itself: that second still starts the alarm.
    TAlarmWindow onTime = AllActions(Hms(7, 30, 0));
    onTime.S.IsAlarmSet = false;
    onTime.Tick(Hms(7, 29, 59));
    onTime.S.IsAlarmSet = true;
    onTime.Tick(Hms(7, 30, 0));
    EXPECT_TRUE(onTime.R.IsAlarmRunning);

    // Armed a second too late: no alarm today; the daily stop is harmless.
    TAlarmWindow late = AllActions(Hms(7, 30, 0));
    late.S.IsAlarmSet = false;
    late.Tick(Hms(7, 30, 0));
    late.S.IsAlarmSet = true;
    for (int sec = 1; sec <= 60; ++sec)
        late.Tick(Hms(7, 30, sec));
    EXPECT_FALSE(late.R.IsAlarmRunning);
    EXPECT_FALSE(late.SoundPlaying || late.StopItemsVisible);
    EXPECT_TRUE(late.Visible);
}

TEST(AlarmLogic, StoppedFromTheMenuStaysStopped) {
    TAlarmWindow w = AllActions(Hms(12, 0, 0));
    w.Tick(Hms(12, 0, 0));
    for (int sec = 1; sec <= 4 && w.Visible; ++sec)
        w.Tick(Hms(12, 0, sec));
    ASSERT_FALSE(w.Visible);
    w.CarryOut(ActPopStopAlarmExecute(w.S, w.R));
    EXPECT_FALSE(w.R.IsAlarmRunning);
    EXPECT_TRUE(w.Visible);
    EXPECT_FALSE(w.StopItemsVisible || w.SoundPlaying || w.BalloonShown);
    for (int sec = 5; sec <= 60; ++sec)
        w.Tick(Hms(12, 0, sec));
    EXPECT_FALSE(w.R.IsAlarmRunning);
    EXPECT_TRUE(w.Visible);
    EXPECT_EQ(w.R.FontColor, 0x000001);
}

TEST(AlarmLogic, ATestAlarmWithoutArmingRunsUntilStopped) {
    TAlarmWindow w = AllActions(Hms(12, 0, 0));
    w.S.IsAlarmSet = false;
    w.CarryOut(ActStartAlarmExecute(w.S, w.R));
    for (int sec = 0; sec <= 90; ++sec)
        w.Tick(Hms(12, 0, 0) + sec / 86400.0);
    EXPECT_TRUE(w.R.IsAlarmRunning);
    // Starting again while running shows the balloon again and restarts the sound.
    w.CarryOut(ActStartAlarmExecute(w.S, w.R));
    EXPECT_EQ(w.SoundStarts, 2);
    EXPECT_TRUE(w.R.IsAlarmRunning);
}

TEST(AlarmLogic, EffectsFollowTheActionFlags) {
    struct Case {
        bool Blink, Color, Balloon, Sound;
        TAlarmEffects Start, Stop;
    };
    const TAlarmEffects tail{E::UpdateStopItems, E::UpdateOptionDialog};
    auto with = [&](TAlarmEffects head) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    const Case cases[] = {
        {false, false, false, false, with({}), with({})},
        {true, true, true, true, with({E::StartBlink, E::ShowBalloon, E::PlaySound}),
         with({E::StopBlink, E::HideBalloon, E::StopSound})},
        {true, false, false, false, with({E::StartBlink}), with({E::StopBlink})},
        {false, true, false, false, with({}), with({})},
        {false, false, true, false, with({E::ShowBalloon}), with({E::HideBalloon})},
        {false, false, false, true, with({E::PlaySound}), with({E::StopSound})},
    };
    for (const Case& c : cases) {
        TVlmSettings s;
        s.UseAlarmBlink = c.Blink;
        s.UseAlarmColor = c.Color;
        s.UseAlarmBalloon = c.Balloon;
        s.UseAlarmSound = c.Sound;
        TClockRunState run;
        EXPECT_EQ(ActStartAlarmExecute(s, run), c.Start);
        EXPECT_TRUE(run.IsAlarmRunning);
        EXPECT_EQ(ActPopStopAlarmExecute(s, run), c.Stop);
        EXPECT_FALSE(run.IsAlarmRunning);
    }
}

TEST(AlarmLogic, ColourStateChoosesTheSet) {
    TVlmSettings s;
    TClockRunState run;
    s.NormalFontColor = 1;
    s.NormalFontStartColor = 2;
    s.NormalFontEndColor = 3;
    s.NormalBackgroundColor = 4;
    s.NormalBackgroundStartColor = 5;
    s.NormalBackgroundEndColor = 6;
    s.NormalBorderColor = 7;
    s.AlarmFontColor = 11;
    s.AlarmFontStartColor = 12;
    s.AlarmFontEndColor = 13;
    s.AlarmBackgroundColor = 14;
    s.AlarmBackgroundStartColor = 15;
    s.AlarmBackgroundEndColor = 16;
    s.AlarmBorderColor = 17;
    const struct {
        bool Running, UseColor;
        int Base;
    } cases[] = {{false, false, 0}, {false, true, 0}, {true, false, 0}, {true, true, 10}};
    for (const auto& c : cases) {
        ApplyColorState(run, s, c.Running, c.UseColor);
        const TColor current[] = {run.FontColor,       run.FontStartColor,
                                  run.FontEndColor,    run.BackgroundColor,
                                  run.BackgroundStartColor, run.BackgroundEndColor,
                                  run.BorderColor};
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(current[i], c.Base + i + 1) << c.Running << c.UseColor << " colour " << i;
    }
    // An edit of the alarm set shows on the next second while the alarm runs.
    s.AlarmBorderColor = 99;
    ApplyColorState(run, s, true, true);
    EXPECT_EQ(run.BorderColor, 99);
}

TEST(AlarmLogic, BalloonOfTheAlarm) {
    TVlmSettings s;
    s.AlarmHint = QStringLiteral("お昼です");
    TMessageTable texts;
    texts.BalloonTitleAlarm = QStringLiteral("Velmora [Alarm]");
    for (bool large : {false, true}) {
        s.ShowLargeNotificationIcon = large;
        const TAlarmBalloon b = AlarmBalloon(s, texts);
        EXPECT_EQ(b.Title, texts.BalloonTitleAlarm);
        EXPECT_EQ(b.Hint, s.AlarmHint);
        EXPECT_EQ(b.Flag, kbfInfo);
        EXPECT_EQ(b.LargeIcon, large);
        EXPECT_EQ(b.TimeoutMs, 60000u);
    }
}

TEST(AlarmLogic, SoundFileMessages) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto touch = [&](const QString& name) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        return f.fileName();
    };
    const QString capitals = touch(QStringLiteral("Bell.MP3"));
    const QString wav = touch(QStringLiteral("チャイム.wav"));
    const QString ogg = touch(QStringLiteral("bell.ogg"));
    const QString none = touch(QStringLiteral("bell"));
    const QString missing = dir.filePath(QStringLiteral("gone.wav"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.wav")));
    const QString folder = dir.filePath(QStringLiteral("folder.wav"));

    struct Case {
        QString File;
        QString TMessageTable::*Key;
        TMsgDlgType Kind;
        QStringList Args;
    };
    const Case cases[] = {
        {capitals, nullptr, {}, {}},
        {wav, nullptr, {}, {}},
        {QString(), &TMessageTable::MsgWarnNoSoundFileName, TMsgDlgType::Warning, {}},
        {missing, &TMessageTable::MsgErrorFileNotFound, TMsgDlgType::Error, {missing}},
        {folder, &TMessageTable::MsgErrorFileNotFound, TMsgDlgType::Error, {folder}},
        {ogg, &TMessageTable::MsgWarnNotSupportedFileType, TMsgDlgType::Warning, {}},
        {none, &TMessageTable::MsgWarnNotSupportedFileType, TMsgDlgType::Warning, {}},
    };
    for (const Case& c : cases) {
        const std::optional<TAlarmMessage> m = CheckAlarmSoundFile(c.File);
        ASSERT_EQ(m.has_value(), c.Key != nullptr) << c.File.toStdString();
        if (!m)
            continue;
        EXPECT_TRUE(m->Key == c.Key) << c.File.toStdString();
        EXPECT_EQ(m->Kind, c.Kind) << c.File.toStdString();
        EXPECT_EQ(m->Args, c.Args) << c.File.toStdString();
        EXPECT_TRUE(m->Detail.isEmpty());
    }
}

TEST(AlarmLogic, CannotPlayMessageKeepsThePlayersWordsOutOfTheBox) {
    TMessageTable texts;
    texts.MsgErrorCannotOpenItem = QStringLiteral("ひらけません: [%s]");
    const TAlarmMessage m = CannotPlayMessage(QStringLiteral("/a/b.wav"), QStringLiteral("bad"));
    EXPECT_EQ(m.Kind, TMsgDlgType::Error);
    // Exactly the language's text: no " (%s)" left over, no English appended.
    EXPECT_EQ(AlarmMessagePattern(m, texts), texts.MsgErrorCannotOpenItem);
    EXPECT_EQ(m.Args, QStringList(QStringLiteral("/a/b.wav")));
    EXPECT_EQ(m.Detail, QStringLiteral("bad"));
}

TEST(AlarmLogic, AnUneditedMessageIsTheLanguagesDefault) {
    TMessageTable english;
    english.MsgAlarmHintDefault = QStringLiteral("Alarm message");
    const TMessageTable none; // no language file read yet
    const struct {
        QString stored;
        const TMessageTable& texts;
        QString shown;
    } cases[] = {
        {kUneditedAlarmHint, english, QStringLiteral("Alarm message")},
        {kUneditedAlarmHint, none, kUneditedAlarmHint},
        {QStringLiteral("お昼です"), english, QStringLiteral("お昼です")},
        {QStringLiteral("Alarm message"), english, QStringLiteral("Alarm message")},
        {QString(), english, QString()}, // an empty message is the user's too
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AlarmHintText(c.stored, c.texts), c.shown) << c.stored.toStdString();
        TVlmSettings s;
        s.AlarmHint = c.stored;
        EXPECT_EQ(AlarmBalloon(s, c.texts).Hint, c.shown);
    }
}
