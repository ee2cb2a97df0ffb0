// The alarm's decisions, apart from the window that carries them out: when it
// starts and stops, what starting and stopping do, which colour set is current,
// how blinking shows and hides the window, and what to tell the user about the
// sound file.
//
// Use from the clock window:
//   at start: FAlarmWindow.Reset(*this, now), so that a clock started inside the
//   alarm's minute does not ring; then every tick, for the current second t (as a
//   fraction of a day), in this order:
//     const TAlarmCheck c = FAlarmWindow.Check(*this, t);
//     if (c.Start) CarryOut(ActStartAlarmExecute(settings, run));
//     if (c.Stop)  CarryOut(ActPopStopAlarmExecute(settings, run));
//     ApplyColorState(run, settings, run.IsAlarmRunning, UseAlarmColor);  // then the colour key
//   CarryOut runs the effects in their order (see TAlarmEffect); for PlaySound:
//     PlayAlarmSound(platform, AlarmSoundFileName, [](const TAlarmMessage& m) {
//         PostMessageDialog(AlarmMessageText(m, Messages()), m.Kind);  // queued
//     });  (and m.Detail, when there is one, to standard error)
//   BlinkTimer (interval kBlinkIntervalMs): OnTimer sets the window's visibility to
//   BlinkVisibility(isVisible()), OnStopTimer to VisibleAfterBlink().
#pragma once

#include "core/ClockRunState.h"
#include "core/KvBalloonFlags.h"
#include "core/MessageTable.h"
#include "core/MsgDlgType.h"
#include "core/Settings.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace velmora {

// How long an alarm sounds: one minute, as a fraction of a day.
inline constexpr double kAlarmDuration = 1.0 / 1440.0;
inline constexpr uint32_t kBlinkIntervalMs = 2000;
inline constexpr uint32_t kAlarmBalloonTimeoutMs = 60000;

// The stop time that belongs to a start time. It may pass 24:00:00; times of day
// compare modulo a day, so 23:59:30 stops at 00:00:30.
double AlarmStopTimeFor(double startTime);

// What one tick of the clock asks of the alarm.
struct TAlarmCheck {
    bool Start = false;
    bool Stop = false;
};

// True when the time of day `now` lies in [start, stop), each taken to the whole
// millisecond; the window may pass midnight (stop beyond 24:00:00 or before start).
bool InAlarmWindow(double start, double stop, double now);

// The alarm as a time window rather than two exact seconds: a tick that finds the
// clock inside the window for the first time starts the alarm, the first tick
// outside it again stops it. So a tick that comes late (a busy machine, a stall)
// still starts an alarm whose start second it missed, for the rest of its minute,
// and an alarm always ends on time however long the stall over its stop second.
class TAlarmTimeWindow {
public:
    // Takes `now` as already seen, without effects.
    void Reset(const TVlmSettings& s, double now);
    // The check of one tick. While the alarm is not armed (IsAlarmSet) nothing is
    // due, but the window is still followed: arming inside the minute rings no alarm.
    TAlarmCheck Check(const TVlmSettings& s, double now);
    bool Inside() const { return FInside; }

private:
    bool FInside = false;
};

// One thing the window does when the alarm starts or stops.
enum class TAlarmEffect {
    StartBlink,        // BlinkTimer enabled
    StopBlink,         // BlinkTimer disabled; its stop event shows the window again
    ShowBalloon,       // AlarmBalloon() on the tray icon
    HideBalloon,       // removes whatever balloon is on screen
    PlaySound,         // PlayAlarmSound(platform, AlarmSoundFileName, report its message)
    StopSound,         // StopAlarmSound(platform)
    UpdateStopItems,   // StopAlarm1 and PopSep1 visible := IsAlarmRunning (as it is then)
    UpdateOptionDialog // when the options dialog is open: its test button caption and
                       // the enabled state of its alarm settings follow IsAlarmRunning
};
using TAlarmEffects = std::vector<TAlarmEffect>;

// Starts the alarm: run.IsAlarmRunning := true, and returns what the window does,
// in order, following the four alarm-action flags. Starting while running starts
// again: the balloon shows again and the sound restarts from its beginning.
TAlarmEffects ActStartAlarmExecute(const TVlmSettings& s, TClockRunState& run);
// Stops the alarm: run.IsAlarmRunning := false, and returns what the window
// undoes, following the action flags as they are now.
TAlarmEffects ActPopStopAlarmExecute(const TVlmSettings& s, TClockRunState& run);

// True when the alarm colour set is the current one.
bool UsesAlarmColors(bool running, bool useColor);
// The current colours of `run` (FontColor .. BorderColor) := the alarm set of `s`
// while `running` and `useColor`, else the normal set. Runs every second, so
// edits of either set show at once and the alarm colours end on the first second
// after the alarm.
void ApplyColorState(TClockRunState& run, const TVlmSettings& s, bool running, bool useColor);

// The window's visibility after a blink tick: the opposite of what it was.
bool BlinkVisibility(bool visible);
// The window's visibility once blinking stops: always shown.
bool VisibleAfterBlink();

// The balloon of a starting alarm.
struct TAlarmBalloon {
    QString Title;
    QString Hint;
    TKvBalloonFlags Flag = kbfInfo;
    bool LargeIcon = false;
    uint32_t TimeoutMs = kAlarmBalloonTimeoutMs;
};
TAlarmBalloon AlarmBalloon(const TVlmSettings& s, const TMessageTable& texts);

// The alarm message as the balloon and the options dialog show it: the stored
// text, except that an unedited one (kUneditedAlarmHint) is the current
// language's default message, MsgAlarmHintDefault (itself while that is empty).
QString AlarmHintText(const QString& stored, const TMessageTable& texts);

// A message for the user about the sound file: the text is the message table's
// entry `Key`, its placeholders filled with `Args`. `Detail` is the player's own
// account (in its own words and language), for standard error, never the box.
struct TAlarmMessage {
    QString TMessageTable::*Key = nullptr;
    TMsgDlgType Kind = TMsgDlgType::Warning;
    QStringList Args;
    QString Detail;
};
// The text to format with FormatMsg(pattern, message.Args).
QString AlarmMessagePattern(const TAlarmMessage& message, const TMessageTable& texts);
// The text the user reads.
inline QString AlarmMessageText(const TAlarmMessage& message, const TMessageTable& texts) {
    return FormatMsg(AlarmMessagePattern(message, texts), message.Args);
}

// True for the file types the player takes: ".mp3" and ".wav", in any letter case.
bool IsSupportedSoundFile(const QString& fileName);
// Nothing when `fileName` may be handed to the player; otherwise what to tell the
// user: no file chosen, file not found, or a type the player does not take.
std::optional<TAlarmMessage> CheckAlarmSoundFile(const QString& fileName);
// The player could not open or decode the file; `reason` is its own words.
TAlarmMessage CannotPlayMessage(const QString& fileName, const QString& reason);

// Stops what plays, then starts `fileName` in a loop when it can, without waiting
// for the player. `report` gets what to tell the user, if anything: at once for a
// file that cannot be handed to the player, later for one the player cannot play.
// `player` is the Platform (anything with its PlaySound and StopSound); a template
// so that this unit needs no system layer.
template <class TPlayer, class TReport>
void PlayAlarmSound(TPlayer& player, const QString& fileName, TReport report) {
    player.StopSound();
    if (auto problem = CheckAlarmSoundFile(fileName)) {
        report(*problem);
        return;
    }
    player.PlaySound(fileName, [fileName, report](const auto& answer) {
        if (!answer.Playing)
            report(CannotPlayMessage(fileName, answer.Reason));
    });
}

template <class TPlayer> void StopAlarmSound(TPlayer& player) {
    player.StopSound();
}

} // namespace velmora
