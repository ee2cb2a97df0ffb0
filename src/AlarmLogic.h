// The alarm's decisions, apart from the window that carries them out: when it
// starts and stops, what starting and stopping do, which colour set is current,
// how blinking shows and hides the window, and what to tell the user about the
// sound file.
//
// Use from the clock window:
//   each second t (as a fraction of a day), in this order:
//     const TAlarmCheck c = CheckAlarmTime(*this, t);
//     if (c.Start) CarryOut(ActStartAlarmExecute(*this));
//     if (c.Stop)  CarryOut(ActPopStopAlarmExecute(*this));
//     ApplyColorState(*this, IsAlarmRunning, UseAlarmColor);  // then the colour key
//   CarryOut runs the effects in their order (see TAlarmEffect); for PlaySound:
//     if (auto m = PlayAlarmSound(platform, AlarmSoundFileName))
//         ShowMessageDialog(FormatMsg(AlarmMessagePattern(*m, Messages()), m->Args),
//                           m->Kind, mbOK, owner);
//   BlinkTimer (interval kBlinkIntervalMs): OnTimer sets the window's visibility to
//   BlinkVisibility(isVisible()), OnStopTimer to VisibleAfterBlink().
#pragma once

#include "Lang.h"
#include "Settings.h"
#include "VelmoLib.h"

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

// What one second of the clock asks of the alarm. Start comes before Stop; the
// stop is due at the stop time every day, whether the alarm runs or not.
struct TAlarmCheck {
    bool Start = false;
    bool Stop = false;
};
// Nothing while the alarm is not armed (IsAlarmSet).
TAlarmCheck CheckAlarmTime(const TVlmSettings& s, double now);

// One thing the window does when the alarm starts or stops.
enum class TAlarmEffect {
    StartBlink,        // BlinkTimer enabled
    StopBlink,         // BlinkTimer disabled; its stop event shows the window again
    ShowBalloon,       // AlarmBalloon() on the tray icon
    HideBalloon,       // removes whatever balloon is on screen
    PlaySound,         // PlayAlarmSound(platform, AlarmSoundFileName), then its message
    StopSound,         // StopAlarmSound(platform)
    UpdateStopItems,   // StopAlarm1 and PopSep1 visible := IsAlarmRunning (as it is then)
    UpdateOptionDialog // when the options dialog is open: its test button caption and
                       // the enabled state of its alarm settings follow IsAlarmRunning
};
using TAlarmEffects = std::vector<TAlarmEffect>;

// Starts the alarm: IsAlarmRunning := true, and returns what the window does, in
// order, following the four alarm-action flags. Starting while running starts
// again: the balloon shows again and the sound restarts from its beginning.
TAlarmEffects ActStartAlarmExecute(TVlmSettings& s);
// Stops the alarm: IsAlarmRunning := false, and returns what the window undoes,
// following the action flags as they are now.
TAlarmEffects ActPopStopAlarmExecute(TVlmSettings& s);

// True when the alarm colour set is the current one.
bool UsesAlarmColors(bool running, bool useColor);
// The current colours (FontColor .. BorderColor) := the alarm set while `running`
// and `useColor`, else the normal set. Runs every second, so edits of either set
// show at once and the alarm colours end on the first second after the alarm.
void ApplyColorState(TVlmSettings& s, bool running, bool useColor);

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

// A message for the user about the sound file: the text is the message table's
// entry `Key` followed by `Suffix`, its placeholders filled with `Args`.
struct TAlarmMessage {
    QString TMessageTable::*Key = nullptr;
    TMsgDlgType Kind = TMsgDlgType::Warning;
    QStringList Args;
    QString Suffix;
};
// The text to format with FormatMsg(pattern, message.Args).
QString AlarmMessagePattern(const TAlarmMessage& message, const TMessageTable& texts);

// True for the file types the player takes: ".mp3" and ".wav", in any letter case.
bool IsSupportedSoundFile(const QString& fileName);
// Nothing when `fileName` may be handed to the player; otherwise what to tell the
// user: no file chosen, file not found, or a type the player does not take.
std::optional<TAlarmMessage> CheckAlarmSoundFile(const QString& fileName);
// The player could not open or decode the file; `reason` is its own words.
TAlarmMessage CannotPlayMessage(const QString& fileName, const QString& reason);

// Stops what plays, then plays `fileName` in a loop when it can. Returns what to
// tell the user, if anything. `player` is the Platform (anything with its
// PlaySound and StopSound); a template so that this unit needs no system layer.
template <class TPlayer>
std::optional<TAlarmMessage> PlayAlarmSound(TPlayer& player, const QString& fileName) {
    player.StopSound();
    if (auto problem = CheckAlarmSoundFile(fileName))
        return problem;
    QString reason;
    if (!player.PlaySound(fileName, &reason))
        return CannotPlayMessage(fileName, reason);
    return std::nullopt;
}

template <class TPlayer> void StopAlarmSound(TPlayer& player) {
    player.StopSound();
}

} // namespace velmora
