// The settings record and the one table of its keys, walked by both loading and
// saving so that a key cannot be read one way and written another.
#pragma once

#include "core/ColorText.h"
#include "core/IniDocument.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>
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

// The text form of a key in the file.
enum class TKeyForm { Bool, Int, Float, Time, Color, String };

// What loading does with a number outside a key's range.
enum class TOutOfRange {
    Clamp,   // the nearest limit
    Keep,    // the field keeps the value it had (an enumeration)
    LowByte, // the low 8 bits (0 to 255), as the file format has always read it
};

// The numbers a numeric key may hold: every value is brought inside before it
// reaches the window, an image or a loop. The options dialog offers the same.
struct TKeyRange {
    double Min = 0;
    double Max = 0;
    TOutOfRange Rule = TOutOfRange::Clamp;
};

// The window's scale in each direction.
inline constexpr TKeyRange kScalingRateRange{0.75, 1.25};
// The whole window's alpha.
inline constexpr TKeyRange kAlphaBlendValueRange{0, 255, TOutOfRange::LowByte};
// The font style bits (bold, italic, underline, strike-out) in their byte.
inline constexpr TKeyRange kFontStyleRange{0, 255, TOutOfRange::LowByte};
// The clock font's size: points when positive, a height in pixels when negative
// (0 keeps the font's own size). The font dialog offers sizes up to 512.
inline constexpr TKeyRange kFontSizeRange{-512, 512};
// A window place and size: what the X protocol can carry.
inline constexpr TKeyRange kWindowPlaceRange{-32768, 32767};
inline constexpr TKeyRange kWindowSizeRange{0, 32767};
// The options dialog's pages (a page it does not have opens the first) and the
// command grid's column widths.
inline constexpr TKeyRange kOptionPageRange{0, 5, TOutOfRange::Keep};
inline constexpr TKeyRange kColWidthRange{0, 4096};

// `value` brought inside `range` by its rule; `before` is the field's value for
// TOutOfRange::Keep. A value that is not a number gives `before`.
double LimitToRange(double value, const TKeyRange& range, double before);

struct TSettingKey {
    const char* Section;
    const char* Key;
    std::function<void(const IniDocument&, TVlmSettings&, const TSettingsEnv&)> Load;
    std::function<void(IniDocument&, const TVlmSettings&, const TSettingsEnv&)> Save;
    TKeyForm Form = TKeyForm::String;
    // Every Int and Float key has one.
    std::optional<TKeyRange> Range;
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
