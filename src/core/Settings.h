// The settings record and the one table of its keys, walked by both loading and
// saving so that a key cannot be read one way and written another.
#pragma once

#include "core/ColorText.h"
#include "core/IniDocument.h"

#include <QString>
#include <array>
#include <functional>
#include <vector>

namespace velmora {

enum TVlmColorMode : int { cmTransparent = 0, cmSolid = 1, cmGradient = 2 };
enum TGradientDirection : int { gdHorizontal = 0, gdVertical = 1 };

// Font style bits as stored in the file.
enum TFontStyleBits : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// The settings of the clock, with the window values that belong to them (what
// the clock holds only while it runs is TClockRunState). The
// enumerations start at their zero values: a file with an unknown number for them
// leaves them there, as before loading.
struct TVlmSettings {
    // The window (applied to and taken from it around loading and saving).
    int Left = 324;
    int Top = 522;
    int Width = 0;
    int Height = 0;
    QString FontName = QStringLiteral("Tahoma");
    int FontSize = 8;
    int FontStyle = 0;
    bool AlphaBlend = false;
    int AlphaBlendValue = 255;
    bool TransparentColor = false; // key-coloured pixels see-through
    bool D2DEnabled = false;       // the anti-aliased, gradient-capable drawing path

    QString LangFileName; // current language file, written first

    bool ShowDate = false;
    bool ShowDayOfTheWeek = false;
    bool ShowSecond = false;
    bool ShowBorder = false;
    TVlmColorMode FontColorMode = cmTransparent;
    TVlmColorMode BackgroundColorMode = cmTransparent;
    TGradientDirection FontGradientDirection = gdHorizontal;
    TGradientDirection BackgroundGradientDirection = gdHorizontal;
    TColor NormalFontColor = 0;
    TColor NormalBackgroundColor = 0;
    TColor NormalBorderColor = 0;
    TColor NormalFontStartColor = 0;
    TColor NormalFontEndColor = 0;
    TColor NormalBackgroundStartColor = 0;
    TColor NormalBackgroundEndColor = 0;
    double ScalingRateX = 1.0;
    double ScalingRateY = 1.0;
    bool FormOnTopmost = false;
    bool ShowLargeNotificationIcon = false;
    // A topmost clock steps aside while the active window is full-screen on its monitor.
    bool HideOnFullScreen = false;
    bool IsAlarmSet = false;
    double AlarmStartTime = 0.5;
    double AlarmStopTime = 0.5 + 1.0 / 1440.0;
    bool UseAlarmBlink = false;
    bool UseAlarmColor = false;
    bool UseAlarmBalloon = false;
    bool UseAlarmSound = false;
    TColor AlarmFontColor = 0;
    TColor AlarmBackgroundColor = 0;
    TColor AlarmBorderColor = 0;
    TColor AlarmFontStartColor = 0;
    TColor AlarmFontEndColor = 0;
    TColor AlarmBackgroundStartColor = 0;
    TColor AlarmBackgroundEndColor = 0;
    // kUneditedAlarmHint until the user writes a message of their own.
    QString AlarmHint;
    QString AlarmSoundFileName;
};

// The alarm message a settings file holds while the user has not written one:
// the built-in default. It shows as the current language's default message
// (AlarmHintText), so nobody reads Japanese they did not choose.
inline const QString kUneditedAlarmHint = QStringLiteral("アラームのメッセージ");

// What the defaults of a few keys depend on.
struct TSettingsEnv {
    QString MenuFontName;
    int MenuFontSize = 9;
    TSystemColorFn SystemColor;
};

// The options dialog's remembered state.
struct TOptionFormState {
    int ActivePageIndex = 0;
    std::array<int, 4> ColWidths{150, 200, 200, 150};
};

struct TSettingKey {
    const char* Section;
    const char* Key;
    std::function<void(const IniDocument&, TVlmSettings&, const TSettingsEnv&)> Load;
    std::function<void(IniDocument&, const TVlmSettings&, const TSettingsEnv&)> Save;
};

// The keys of sections MainForm, ClockStr, Appearance and Alarm in file order.
const std::vector<TSettingKey>& SettingKeys();

// Reads every key of the table into `s`, in table order. The language file name
// is not read here (the language code reads it earlier).
void LoadSettingsFrom(const IniDocument& doc, TVlmSettings& s, const TSettingsEnv& env);
// Writes LangFileName, then every key of the table in order.
void SaveSettingsTo(IniDocument& doc, const TVlmSettings& s, const TSettingsEnv& env);

void LoadOptionFormStateFrom(const IniDocument& doc, TOptionFormState& state);
void SaveOptionFormStateTo(IniDocument& doc, const TOptionFormState& state);

// The settings file beside the executable: its path with ".ini" in place of its
// extension (a path without one gets ".ini" appended).
QString IniFileNameFor(const QString& executablePath);

} // namespace velmora
