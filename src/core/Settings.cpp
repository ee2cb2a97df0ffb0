#include "core/Settings.h"

#include "core/TextForms.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

using Field = TSettingKey;

TColor Named(const char* text) {
    return StringToColor(QLatin1String(text)).value_or(0);
}

Field BoolKey(const char* sec, const char* key, bool TVlmSettings::*f, bool def) {
    return {sec,
            key,
            [=](const IniDocument& d, TVlmSettings& s, const TSettingsEnv&) {
                s.*f = d.ReadBool(sec, key, def);
            },
            [=](IniDocument& d, const TVlmSettings& s, const TSettingsEnv&) {
                d.WriteBool(sec, key, s.*f);
            },
            TKeyForm::Bool,
            std::nullopt};
}

// An integer key within `range`.
Field IntKey(const char* sec, const char* key, int TVlmSettings::*f, TKeyRange range,
             std::function<int(const TVlmSettings&, const TSettingsEnv&)> def) {
    return {sec,
            key,
            [=](const IniDocument& d, TVlmSettings& s, const TSettingsEnv& e) {
                const int before = s.*f;
                const int32_t read = d.ReadInteger(sec, key, def(s, e));
                s.*f = int(LimitToRange(read, range, before));
            },
            [=](IniDocument& d, const TVlmSettings& s, const TSettingsEnv&) {
                d.WriteInteger(sec, key, s.*f);
            },
            TKeyForm::Int,
            range};
}

// An integer defaulting to the value the field has before loading.
Field CurrentIntKey(const char* sec, const char* key, int TVlmSettings::*f, TKeyRange range) {
    return IntKey(sec, key, f, range,
                  [f](const TVlmSettings& s, const TSettingsEnv&) { return s.*f; });
}

Field ColorKey(const char* sec, const char* key, TColor TVlmSettings::*f, const char* def) {
    const TColor d0 = Named(def);
    return {sec,
            key,
            [=](const IniDocument& d, TVlmSettings& s, const TSettingsEnv&) {
                s.*f = d.ReadColor(sec, key, d0);
            },
            [=](IniDocument& d, const TVlmSettings& s, const TSettingsEnv& e) {
                d.WriteColor(sec, key, s.*f, e.SystemColor);
            },
            TKeyForm::Color,
            std::nullopt};
}

// A float key within `range`; a text that is not a number gives `def`.
Field FloatKey(const char* sec, const char* key, double TVlmSettings::*f, double def,
               TKeyRange range) {
    return {sec,
            key,
            [=](const IniDocument& d, TVlmSettings& s, const TSettingsEnv&) {
                s.*f = LimitToRange(d.ReadFloat(sec, key, def), range, def);
            },
            [=](IniDocument& d, const TVlmSettings& s, const TSettingsEnv&) {
                d.WriteFloat(sec, key, s.*f);
            },
            TKeyForm::Float,
            range};
}

Field StringKey(const char* sec, const char* key, QString TVlmSettings::*f, QString def) {
    return {sec,
            key,
            [=](const IniDocument& d, TVlmSettings& s, const TSettingsEnv&) {
                s.*f = d.ReadString(sec, key, def);
            },
            [=](IniDocument& d, const TVlmSettings& s, const TSettingsEnv&) {
                d.WriteString(sec, key, s.*f);
            },
            TKeyForm::String,
            std::nullopt};
}

// A key stored as its low 8 bits, 0 to 255.
Field LowByteKey(const char* sec, const char* key, int TVlmSettings::*f, int def, TKeyRange range) {
    return {sec,
            key,
            [=](const IniDocument& d, TVlmSettings& s, const TSettingsEnv&) {
                s.*f = int(LimitToRange(d.ReadInteger(sec, key, def), range, def));
            },
            [=](IniDocument& d, const TVlmSettings& s, const TSettingsEnv&) {
                d.WriteInteger(sec, key, s.*f & 0xFF);
            },
            TKeyForm::Int,
            range};
}

// An enumerated key: a number outside `count` values leaves the field as it was.
template <typename E>
Field EnumKey(const char* sec, const char* key, E TVlmSettings::*f, int def, int count,
              std::function<void(TVlmSettings&, int)> apply = nullptr) {
    return {sec,
            key,
            [=](const IniDocument& d, TVlmSettings& s, const TSettingsEnv&) {
                const int v = d.ReadInteger(sec, key, def);
                if (v < 0 || v >= count)
                    return;
                if (apply)
                    apply(s, v);
                else
                    s.*f = E(v);
            },
            [=](IniDocument& d, const TVlmSettings& s, const TSettingsEnv&) {
                d.WriteInteger(sec, key, int(s.*f));
            },
            TKeyForm::Int,
            TKeyRange{0, double(count - 1), TOutOfRange::Keep}};
}

std::vector<TSettingKey> BuildKeys() {
    const char* M = "MainForm";
    const char* C = "ClockStr";
    const char* A = "Appearance";
    const char* L = "Alarm";
    std::vector<TSettingKey> k;
    k.push_back(CurrentIntKey(M, "Left", &TVlmSettings::Left, kWindowPlaceRange));
    k.push_back(CurrentIntKey(M, "Top", &TVlmSettings::Top, kWindowPlaceRange));
    k.push_back(CurrentIntKey(M, "Width", &TVlmSettings::Width, kWindowSizeRange));
    k.push_back(CurrentIntKey(M, "Height", &TVlmSettings::Height, kWindowSizeRange));
    k.push_back(BoolKey(C, "ShowDate", &TVlmSettings::ShowDate, true));
    k.push_back(BoolKey(C, "ShowDayOfTheWeek", &TVlmSettings::ShowDayOfTheWeek, true));
    k.push_back(BoolKey(C, "ShowSecond", &TVlmSettings::ShowSecond, true));
    // An empty name keeps the window's own font name.
    k.push_back({A, "FontName",
                 [=](const IniDocument& d, TVlmSettings& s, const TSettingsEnv& e) {
                     const QString name = d.ReadString(A, "FontName", e.MenuFontName);
                     if (!name.isEmpty())
                         s.FontName = name;
                 },
                 [=](IniDocument& d, const TVlmSettings& s, const TSettingsEnv&) {
                     d.WriteString(A, "FontName", s.FontName);
                 },
                 TKeyForm::String, std::nullopt});
    k.push_back(IntKey(A, "FontSize", &TVlmSettings::FontSize, kFontSizeRange,
                       [](const TVlmSettings&, const TSettingsEnv& e) { return e.MenuFontSize; }));
    k.push_back(LowByteKey(A, "FontStyle", &TVlmSettings::FontStyle, 0, kFontStyleRange));
    // 0 and 1 both give solid text on the plain path; 2 the gradient path.
    k.push_back(
        EnumKey(A, "FontColorMode", &TVlmSettings::FontColorMode, 1, 3, [](TVlmSettings& s, int v) {
            s.FontColorMode = v == 2 ? cmGradient : cmSolid;
            s.D2DEnabled = v == 2;
        }));
    k.push_back(EnumKey(A, "FontGradientDirection", &TVlmSettings::FontGradientDirection, 0, 2));
    k.push_back(ColorKey(A, "NormalFontColor", &TVlmSettings::NormalFontColor, "clGreen"));
    k.push_back(
        ColorKey(A, "NormalFontStartColor", &TVlmSettings::NormalFontStartColor, "clGreen"));
    k.push_back(ColorKey(A, "NormalFontEndColor", &TVlmSettings::NormalFontEndColor, "$000080FF"));
    k.push_back(EnumKey(A, "BackgroundColorMode", &TVlmSettings::BackgroundColorMode, 1, 3,
                        [](TVlmSettings& s, int v) {
                            s.BackgroundColorMode = TVlmColorMode(v);
                            s.TransparentColor = v == cmTransparent;
                        }));
    k.push_back(EnumKey(A, "BackgroundGradientDirection",
                        &TVlmSettings::BackgroundGradientDirection, 1, 2));
    k.push_back(
        ColorKey(A, "NormalBackgroundColor", &TVlmSettings::NormalBackgroundColor, "clMoneyGreen"));
    k.push_back(ColorKey(A, "NormalBackgroundStartColor", &TVlmSettings::NormalBackgroundStartColor,
                         "clMoneyGreen"));
    k.push_back(ColorKey(A, "NormalBackgroundEndColor", &TVlmSettings::NormalBackgroundEndColor,
                         "clCream"));
    k.push_back(BoolKey(A, "ShowBorder", &TVlmSettings::ShowBorder, true));
    k.push_back(ColorKey(A, "NormalBorderColor", &TVlmSettings::NormalBorderColor, "clGreen"));
    k.push_back(FloatKey(A, "ScalingRateX", &TVlmSettings::ScalingRateX, 1.0, kScalingRateRange));
    k.push_back(FloatKey(A, "ScalingRateY", &TVlmSettings::ScalingRateY, 1.0, kScalingRateRange));
    k.push_back(BoolKey(A, "AlphaBlend", &TVlmSettings::AlphaBlend, false));
    k.push_back(LowByteKey(A, "AlphaBlendValue", &TVlmSettings::AlphaBlendValue, 255,
                           kAlphaBlendValueRange));
    k.push_back(BoolKey(A, "FormOnTopmost", &TVlmSettings::FormOnTopmost, true));
    k.push_back(
        BoolKey(A, "LargeNotificationIcon", &TVlmSettings::ShowLargeNotificationIcon, false));
    k.push_back(BoolKey(A, "HideOnFullScreen", &TVlmSettings::HideOnFullScreen, false));
    k.push_back(BoolKey(L, "IsAlarmSet", &TVlmSettings::IsAlarmSet, false));
    k.push_back({L, "AlarmStartTime",
                 [=](const IniDocument& d, TVlmSettings& s, const TSettingsEnv&) {
                     s.AlarmStartTime = d.ReadTime(L, "AlarmStartTime", 0.5);
                     s.AlarmStopTime = s.AlarmStartTime + 1.0 / 1440.0;
                 },
                 [=](IniDocument& d, const TVlmSettings& s, const TSettingsEnv&) {
                     d.WriteTime(L, "AlarmStartTime", s.AlarmStartTime);
                 },
                 TKeyForm::Time, std::nullopt});
    k.push_back(BoolKey(L, "UseAlarmBlink", &TVlmSettings::UseAlarmBlink, false));
    k.push_back(BoolKey(L, "UseAlarmColor", &TVlmSettings::UseAlarmColor, false));
    k.push_back(ColorKey(L, "AlarmFontColor", &TVlmSettings::AlarmFontColor, "clPurple"));
    k.push_back(ColorKey(L, "AlarmFontStartColor", &TVlmSettings::AlarmFontStartColor, "clPurple"));
    k.push_back(ColorKey(L, "AlarmFontEndColor", &TVlmSettings::AlarmFontEndColor, "clRed"));
    k.push_back(
        ColorKey(L, "AlarmBackgroundColor", &TVlmSettings::AlarmBackgroundColor, "clSkyBlue"));
    k.push_back(ColorKey(L, "AlarmBackgroundStartColor", &TVlmSettings::AlarmBackgroundStartColor,
                         "clSkyBlue"));
    k.push_back(
        ColorKey(L, "AlarmBackgroundEndColor", &TVlmSettings::AlarmBackgroundEndColor, "clCream"));
    k.push_back(ColorKey(L, "AlarmBorderColor", &TVlmSettings::AlarmBorderColor, "clRed"));
    k.push_back(BoolKey(L, "UseAlarmBalloon", &TVlmSettings::UseAlarmBalloon, false));
    k.push_back(StringKey(L, "AlarmHint", &TVlmSettings::AlarmHint, kUneditedAlarmHint));
    k.push_back(BoolKey(L, "UseAlarmSound", &TVlmSettings::UseAlarmSound, false));
    k.push_back(StringKey(L, "AlarmSoundFileName", &TVlmSettings::AlarmSoundFileName, QString()));
    return k;
}

} // namespace

double LimitToRange(double value, const TKeyRange& range, double before) {
    if (!std::isfinite(value))
        return before;
    if (value >= range.Min && value <= range.Max)
        return value;
    switch (range.Rule) {
    case TOutOfRange::Keep:
        return before;
    case TOutOfRange::LowByte:
        return double(int64_t(value) & 0xFF);
    case TOutOfRange::Clamp:
        break;
    }
    return std::clamp(value, range.Min, range.Max);
}

const std::vector<TSettingKey>& SettingKeys() {
    static const std::vector<TSettingKey> keys = BuildKeys();
    return keys;
}

void LoadSettingsFrom(const IniDocument& doc, TVlmSettings& s, const TSettingsEnv& env) {
    for (const TSettingKey& k : SettingKeys())
        k.Load(doc, s, env);
}

void SaveSettingsTo(IniDocument& doc, const TVlmSettings& s, const TSettingsEnv& env) {
    doc.WriteString(QStringLiteral("Language"), QStringLiteral("LangFileName"), s.LangFileName);
    for (const TSettingKey& k : SettingKeys())
        k.Save(doc, s, env);
}

void LoadOptionFormStateFrom(const IniDocument& doc, TOptionFormState& state) {
    const QString O = QStringLiteral("OptionForm");
    const TOptionFormState defaults;
    state.ActivePageIndex =
        int(LimitToRange(doc.ReadInteger(O, QStringLiteral("ActivePageIndex"), 0), kOptionPageRange,
                         defaults.ActivePageIndex));
    for (int i = 0; i < 4; ++i)
        state.ColWidths[i] = int(LimitToRange(
            doc.ReadInteger(O, QStringLiteral("ColWidths[%1]").arg(i), defaults.ColWidths[i]),
            kColWidthRange, defaults.ColWidths[i]));
}

void SaveOptionFormStateTo(IniDocument& doc, const TOptionFormState& state) {
    const QString O = QStringLiteral("OptionForm");
    doc.WriteInteger(O, QStringLiteral("ActivePageIndex"), state.ActivePageIndex);
    for (int i = 0; i < 4; ++i)
        doc.WriteInteger(O, QStringLiteral("ColWidths[%1]").arg(i), state.ColWidths[i]);
}

QString IniFileNameFor(const QString& executablePath) {
    const QFileInfo fi(executablePath);
    const QString name = fi.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    return fi.path() + QLatin1Char('/') + base + QStringLiteral(".ini");
}

} // namespace velmora
