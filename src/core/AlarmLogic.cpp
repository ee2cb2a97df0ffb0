#include "core/AlarmLogic.h"

#include "core/ColorSets.h"
#include "core/TextForms.h"

#include <QFileInfo>

namespace velmora {

double AlarmStopTimeFor(double startTime) {
    return startTime + kAlarmDuration;
}

bool InAlarmWindow(double start, double stop, double now) {
    const int64_t a = TimeOfDayMs(start);
    const int64_t b = TimeOfDayMs(stop);
    const int64_t t = TimeOfDayMs(now);
    if (a == b)
        return false;
    return a < b ? (a <= t && t < b) : (t >= a || t < b);
}

void TAlarmTimeWindow::Reset(const TVlmSettings& s, double now) {
    FInside = InAlarmWindow(s.AlarmStartTime, s.AlarmStopTime, now);
}

TAlarmCheck TAlarmTimeWindow::Check(const TVlmSettings& s, double now) {
    const bool was = FInside;
    FInside = InAlarmWindow(s.AlarmStartTime, s.AlarmStopTime, now);
    TAlarmCheck c;
    if (!s.IsAlarmSet)
        return c;
    c.Start = FInside && !was;
    c.Stop = !FInside && was;
    return c;
}

TAlarmEffects ActStartAlarmExecute(const TVlmSettings& s, TClockRunState& run) {
    TAlarmEffects e;
    if (s.UseAlarmBlink)
        e.push_back(TAlarmEffect::StartBlink);
    if (s.UseAlarmBalloon)
        e.push_back(TAlarmEffect::ShowBalloon);
    if (s.UseAlarmSound)
        e.push_back(TAlarmEffect::PlaySound);
    run.IsAlarmRunning = true;
    e.push_back(TAlarmEffect::UpdateStopItems);
    e.push_back(TAlarmEffect::UpdateOptionDialog);
    return e;
}

TAlarmEffects ActPopStopAlarmExecute(const TVlmSettings& s, TClockRunState& run) {
    TAlarmEffects e;
    if (s.UseAlarmBlink)
        e.push_back(TAlarmEffect::StopBlink);
    if (s.UseAlarmBalloon)
        e.push_back(TAlarmEffect::HideBalloon);
    if (s.UseAlarmSound)
        e.push_back(TAlarmEffect::StopSound);
    run.IsAlarmRunning = false;
    e.push_back(TAlarmEffect::UpdateStopItems);
    e.push_back(TAlarmEffect::UpdateOptionDialog);
    return e;
}

bool UsesAlarmColors(bool running, bool useColor) {
    return running && useColor;
}

void ApplyColorState(TClockRunState& run, const TVlmSettings& s, bool running, bool useColor) {
    CopyColorSet(run, s, UsesAlarmColors(running, useColor) ? TColorSet::Alarm : TColorSet::Normal);
}

bool BlinkVisibility(bool visible) {
    return !visible;
}

bool VisibleAfterBlink() {
    return true;
}

TAlarmBalloon AlarmBalloon(const TVlmSettings& s, const TMessageTable& texts) {
    TAlarmBalloon b;
    b.Title = texts.BalloonTitleAlarm;
    b.Hint = AlarmHintText(s.AlarmHint, texts);
    b.LargeIcon = s.ShowLargeNotificationIcon;
    return b;
}

QString AlarmHintText(const QString& stored, const TMessageTable& texts) {
    if (stored != kUneditedAlarmHint || texts.MsgAlarmHintDefault.isEmpty())
        return stored;
    return texts.MsgAlarmHintDefault;
}

QString AlarmMessagePattern(const TAlarmMessage& message, const TMessageTable& texts) {
    return message.Key ? texts.*message.Key : QString();
}

bool IsSupportedSoundFile(const QString& fileName) {
    const QString ext = QFileInfo(fileName).suffix().toLower();
    return ext == QLatin1String("mp3") || ext == QLatin1String("wav");
}

std::optional<TAlarmMessage> CheckAlarmSoundFile(const QString& fileName) {
    if (fileName.isEmpty())
        return TAlarmMessage{&TMessageTable::MsgWarnNoSoundFileName, TMsgDlgType::Warning, {}, {}};
    // A folder is no sound file, whatever its name.
    if (!QFileInfo(fileName).isFile())
        return TAlarmMessage{
            &TMessageTable::MsgErrorFileNotFound, TMsgDlgType::Error, {fileName}, {}};
    if (!IsSupportedSoundFile(fileName))
        return TAlarmMessage{
            &TMessageTable::MsgWarnNotSupportedFileType, TMsgDlgType::Warning, {}, {}};
    return std::nullopt;
}

TAlarmMessage CannotPlayMessage(const QString& fileName, const QString& reason) {
    return TAlarmMessage{
        &TMessageTable::MsgErrorCannotOpenItem, TMsgDlgType::Error, {fileName}, reason};
}

} // namespace velmora
