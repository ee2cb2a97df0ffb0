#include "core/Settings.h"

#include "core/TextForms.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

TSettingsEnv Env() {
    TSettingsEnv e;
    e.MenuFontName = QStringLiteral("Menu Sans");
    e.MenuFontSize = 10;
    e.SystemColor = [](int) { return QColor(0x11, 0x22, 0x33); };
    return e;
}

IniDocument Parse(const QString& text) {
    IniDocument d(QString(), QLocale::c());
    d.SetStrings(text.split(QStringLiteral("\n")));
    return d;
}

TVlmSettings Load(const QString& text) {
    TVlmSettings s;
    LoadSettingsFrom(Parse(text), s, Env());
    return s;
}

} // namespace

TEST(Settings, DefaultsWithoutAFile) {
    const TVlmSettings s = Load(QString());
    EXPECT_TRUE(s.ShowDate && s.ShowDayOfTheWeek && s.ShowSecond && s.ShowBorder);
    EXPECT_TRUE(s.FormOnTopmost);
    EXPECT_EQ(s.FontColorMode, cmSolid);
    EXPECT_FALSE(s.D2DEnabled);
    EXPECT_EQ(s.BackgroundColorMode, cmSolid);
    EXPECT_FALSE(s.TransparentColor);
    EXPECT_EQ(s.BackgroundGradientDirection, gdVertical);
    EXPECT_EQ(s.NormalFontColor, 0x008000);
    EXPECT_EQ(s.NormalFontEndColor, 0x0080FF);
    EXPECT_EQ(s.NormalBackgroundColor, 0xC0DCC0);
    EXPECT_EQ(s.NormalBackgroundEndColor, 0xF0FBFF);
    EXPECT_EQ(s.AlarmBackgroundColor, 0xF0CAA6);
    EXPECT_EQ(s.AlarmFontColor, 0x800080);
    EXPECT_FALSE(s.AlphaBlend);
    EXPECT_EQ(s.AlphaBlendValue, 255);
    EXPECT_EQ(s.ScalingRateX, 1.0);
    EXPECT_FALSE(s.IsAlarmSet || s.UseAlarmBlink || s.UseAlarmColor || s.UseAlarmBalloon ||
                 s.UseAlarmSound);
    EXPECT_TRUE(SameTimeOfDay(s.AlarmStartTime, 0.5));
    EXPECT_TRUE(SameTimeOfDay(s.AlarmStopTime, 0.5 + 60 / 86400.0));
    EXPECT_EQ(s.AlarmHint, QStringLiteral("アラームのメッセージ"));
    EXPECT_TRUE(s.AlarmSoundFileName.isEmpty());
    EXPECT_EQ(s.FontName, "Menu Sans");
    EXPECT_EQ(s.FontSize, 10);
    EXPECT_EQ(s.Left, 324);
    EXPECT_EQ(s.Top, 522);
}

TEST(Settings, ReadingRules) {
    struct Case {
        const char* file;
        std::function<bool(const TVlmSettings&)> check;
        const char* what;
    } cases[] = {
        {"[ClockStr]\nShowDate=2", [](auto& s) { return s.ShowDate; }, "2 is true"},
        {"[ClockStr]\nShowDate=yes", [](auto& s) { return s.ShowDate; }, "yes is the default"},
        {"[clockstr]\nshowdate=0", [](auto& s) { return !s.ShowDate; }, "lower-case key"},
        {"[Appearance]\nAlphaBlendValue=300", [](auto& s) { return s.AlphaBlendValue == 44; },
         "low 8 bits"},
        {"[Appearance]\nAlphaBlendValue=-1", [](auto& s) { return s.AlphaBlendValue == 255; },
         "-1 is 255"},
        {"[Appearance]\nFontColorMode=0",
         [](auto& s) { return s.FontColorMode == cmSolid && !s.D2DEnabled; }, "0 is solid"},
        {"[Appearance]\nFontColorMode=2",
         [](auto& s) { return s.FontColorMode == cmGradient && s.D2DEnabled; }, "gradient"},
        {"[Appearance]\nFontColorMode=7",
         [](auto& s) { return s.FontColorMode == cmTransparent && !s.D2DEnabled; },
         "7 changes nothing"},
        {"[Appearance]\nBackgroundColorMode=0",
         [](auto& s) { return s.BackgroundColorMode == cmTransparent && s.TransparentColor; },
         "keying on"},
        {"[Appearance]\nBackgroundColorMode=3",
         [](auto& s) { return s.BackgroundColorMode == cmTransparent && !s.TransparentColor; },
         "3 changes nothing"},
        {"[Appearance]\nFontGradientDirection=1",
         [](auto& s) { return s.FontGradientDirection == gdVertical; }, "vertical"},
        {"[Appearance]\nBackgroundGradientDirection=5",
         [](auto& s) { return s.BackgroundGradientDirection == gdHorizontal; }, "unchanged"},
        {"[Appearance]\nScalingRateX=3", [](auto& s) { return s.ScalingRateX == 1.25; },
         "limited to the dialog's range"},
        {"[Appearance]\nScalingRateY=abc", [](auto& s) { return s.ScalingRateY == 1.0; },
         "bad float"},
        {"[Appearance]\nNormalFontColor=clRed", [](auto& s) { return s.NormalFontColor == 0xFF; },
         "colour name"},
        {"[Appearance]\nNormalFontColor=$000000FF",
         [](auto& s) { return s.NormalFontColor == 0xFF; }, "colour number"},
        {"[Appearance]\nNormalFontColor=", [](auto& s) { return s.NormalFontColor == 0x008000; },
         "empty colour takes the default"},
        {"[Appearance]\nNormalFontColor=greenish",
         [](auto& s) { return s.NormalFontColor == 0x008000; }, "bad colour"},
        {"[Appearance]\nFontName=", [](auto& s) { return s.FontName == "Tahoma"; },
         "empty name keeps the window's"},
        {"[Appearance]\nFontStyle=259", [](auto& s) { return s.FontStyle == 3; }, "style bits"},
        {"[Alarm]\nAlarmHint=", [](auto& s) { return s.AlarmHint.isEmpty(); }, "empty hint"},
        {"[Alarm]\nAlarmStartTime=7:30:00",
         [](auto& s) {
             return SameTimeOfDay(s.AlarmStartTime, 7.5 / 24) &&
                    SameTimeOfDay(s.AlarmStopTime, 7.5 / 24 + 1 / 1440.0);
         },
         "alarm time"},
        {"[Alarm]\nAlarmStartTime=25:00",
         [](auto& s) { return SameTimeOfDay(s.AlarmStartTime, 0.5); }, "bad time"},
        {"[MainForm]\nLeft=-50\nTop=x", [](auto& s) { return s.Left == -50 && s.Top == 522; },
         "position"},
        {"[Appearance]\nLargeNotificationIcon=1",
         [](auto& s) { return s.ShowLargeNotificationIcon; }, "key named differently"},
        {"[Appearance]\nHideOnFullScreen=1", [](auto& s) { return s.HideOnFullScreen; },
         "step aside for full-screen windows"},
        {"[Appearance]\nHideOnFullScreen=maybe", [](auto& s) { return !s.HideOnFullScreen; },
         "unreadable: off"},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(c.check(Load(QString::fromUtf8(c.file)))) << c.what;
}

TEST(Settings, NewFileHasTheKeysInOrderAndRoundTripsByteForByte) {
    TVlmSettings s;
    s.Width = 220;
    s.Height = 25;
    LoadSettingsFrom(Parse(QString()), s, Env());
    s.LangFileName = QStringLiteral("/opt/v/Lang/Vlm日本語_かな.lang");
    IniDocument d(QString(), QLocale::c());
    SaveSettingsTo(d, s, Env());
    const QStringList expected = {"[Language]",
                                  "LangFileName=/opt/v/Lang/Vlm日本語_かな.lang",
                                  "",
                                  "[MainForm]",
                                  "Left=324",
                                  "Top=522",
                                  "Width=220",
                                  "Height=25",
                                  "",
                                  "[ClockStr]",
                                  "ShowDate=1",
                                  "ShowDayOfTheWeek=1",
                                  "ShowSecond=1",
                                  "",
                                  "[Appearance]",
                                  "FontName=Menu Sans",
                                  "FontSize=10",
                                  "FontStyle=0",
                                  "FontColorMode=1",
                                  "FontGradientDirection=0",
                                  "NormalFontColor=$00008000",
                                  "NormalFontStartColor=$00008000",
                                  "NormalFontEndColor=$000080FF",
                                  "BackgroundColorMode=1",
                                  "BackgroundGradientDirection=1",
                                  "NormalBackgroundColor=$00C0DCC0",
                                  "NormalBackgroundStartColor=$00C0DCC0",
                                  "NormalBackgroundEndColor=$00F0FBFF",
                                  "ShowBorder=1",
                                  "NormalBorderColor=$00008000",
                                  "ScalingRateX=1",
                                  "ScalingRateY=1",
                                  "AlphaBlend=0",
                                  "AlphaBlendValue=255",
                                  "FormOnTopmost=1",
                                  "LargeNotificationIcon=0",
                                  "HideOnFullScreen=0",
                                  "",
                                  "[Alarm]",
                                  "IsAlarmSet=0",
                                  "AlarmStartTime=12:00:00",
                                  "UseAlarmBlink=0",
                                  "UseAlarmColor=0",
                                  "AlarmFontColor=$00800080",
                                  "AlarmFontStartColor=$00800080",
                                  "AlarmFontEndColor=$000000FF",
                                  "AlarmBackgroundColor=$00F0CAA6",
                                  "AlarmBackgroundStartColor=$00F0CAA6",
                                  "AlarmBackgroundEndColor=$00F0FBFF",
                                  "AlarmBorderColor=$000000FF",
                                  "UseAlarmBalloon=0",
                                  "AlarmHint=アラームのメッセージ",
                                  "UseAlarmSound=0",
                                  "AlarmSoundFileName=",
                                  ""};
    EXPECT_EQ(d.GetStrings(), expected);

    // Loading what was written and writing it again gives the same bytes.
    TVlmSettings again;
    IniDocument reread(QString(), QLocale::c());
    reread.LoadFromBytes(d.ToBytes());
    LoadSettingsFrom(reread, again, Env());
    again.LangFileName = s.LangFileName;
    IniDocument second(QString(), QLocale::c());
    SaveSettingsTo(second, again, Env());
    EXPECT_EQ(second.ToBytes(), d.ToBytes());
}

TEST(Settings, ExistingSectionsKeepTheirPlaceAndUnknownKeys) {
    IniDocument d = Parse("[Alarm]\nMine=1\n[Custom]\nx=y\n[ClockStr]\nShowDate=0");
    TVlmSettings s;
    LoadSettingsFrom(d, s, Env());
    SaveSettingsTo(d, s, Env());
    const QStringList sections = d.ReadSections();
    EXPECT_EQ(sections,
              (QStringList{"Alarm", "Custom", "ClockStr", "Language", "MainForm", "Appearance"}));
    EXPECT_EQ(d.ReadString("Alarm", "Mine", ""), "1");
    EXPECT_EQ(d.ReadSectionValues("Alarm").first(), "Mine=1");
    EXPECT_EQ(d.ReadString("ClockStr", "ShowDate", ""), "0");
}

TEST(Settings, SystemColourIsWrittenAsItsRgb) {
    TVlmSettings s = Load("[Appearance]\nNormalFontColor=clBtnFace");
    EXPECT_EQ(uint32_t(s.NormalFontColor), 0xFF00000Fu);
    IniDocument d(QString(), QLocale::c());
    SaveSettingsTo(d, s, Env());
    EXPECT_EQ(d.ReadString("Appearance", "NormalFontColor", ""), "$00332211");
}

TEST(Settings, OptionFormState) {
    TOptionFormState st;
    LoadOptionFormStateFrom(
        Parse("[OptionForm]\nActivePageIndex=3\nColWidths[2]=77\nColWidths[3]=x"), st);
    EXPECT_EQ(st.ActivePageIndex, 3);
    EXPECT_EQ(st.ColWidths, (std::array<int, 4>{150, 200, 77, 150}));
    IniDocument d(QString(), QLocale::c());
    SaveOptionFormStateTo(d, st);
    EXPECT_EQ(d.GetStrings(),
              (QStringList{"[OptionForm]", "ActivePageIndex=3", "ColWidths[0]=150",
                           "ColWidths[1]=200", "ColWidths[2]=77", "ColWidths[3]=150", ""}));
}

namespace {

// The number a key's own save writes after loading `value` (missing when empty).
double LoadedThenSaved(const TSettingKey& key, const QString& value) {
    IniDocument in(QString(), QLocale::c());
    if (!value.isNull())
        in.WriteString(key.Section, key.Key, value);
    TVlmSettings s;
    key.Load(in, s, Env());
    IniDocument out(QString(), QLocale::c());
    key.Save(out, s, Env());
    return out.ReadFloat(key.Section, key.Key, -1e300);
}

// What the key's save writes when nothing was loaded into the field.
double Untouched(const TSettingKey& key) {
    IniDocument out(QString(), QLocale::c());
    key.Save(out, TVlmSettings(), Env());
    return out.ReadFloat(key.Section, key.Key, -1e300);
}

QString Number(double v, TKeyForm form) {
    return form == TKeyForm::Int ? QString::number(int64_t(v)) : QString::number(v, 'g', 15);
}

} // namespace

// Walks the key table itself: a numeric key added without a range fails here.
TEST(Settings, EveryNumericKeyStaysInItsRange) {
    int checked = 0;
    for (const TSettingKey& key : SettingKeys()) {
        const std::string name = std::string(key.Section) + "/" + key.Key;
        if (key.Form != TKeyForm::Int && key.Form != TKeyForm::Float)
            continue;
        ASSERT_TRUE(key.Range.has_value()) << name << " has no range";
        const TKeyRange r = *key.Range;
        const double step = key.Form == TKeyForm::Int ? 1 : 0.01;
        const double missing = LoadedThenSaved(key, QString());
        struct TCase {
            double Value;
            const char* What;
        };
        const TCase cases[] = {{r.Min - step, "below"},   {r.Min, "at min"},
                               {r.Max, "at max"},         {r.Max + step, "above"},
                               {-2147483648.0, "lowest"}, {2147483647.0, "highest"}};
        for (const TCase& c : cases) {
            const double got = LoadedThenSaved(key, Number(c.Value, key.Form));
            const bool inside = c.Value >= r.Min && c.Value <= r.Max;
            EXPECT_GE(got, r.Min) << name << " " << c.What;
            EXPECT_LE(got, r.Max) << name << " " << c.What;
            const std::string at = name + " " + c.What;
            if (r.Rule == TOutOfRange::Keep && !inside) {
                EXPECT_EQ(got, Untouched(key)) << at << ": field unchanged";
            } else if (r.Rule == TOutOfRange::LowByte && !inside) {
                EXPECT_EQ(got, double(int64_t(c.Value) & 0xFF)) << at;
            } else if (r.Rule != TOutOfRange::Keep) {
                EXPECT_DOUBLE_EQ(got, std::clamp(c.Value, r.Min, r.Max)) << at;
            }
        }
        for (const char* bad : {"abc", "", "1e999", "nan"})
            EXPECT_EQ(LoadedThenSaved(key, QString::fromLatin1(bad)), missing)
                << name << " unreadable \"" << bad << "\" takes the default";
        ++checked;
    }
    EXPECT_GE(checked, 12); // the window, font, mode, direction, scale and alpha keys
}

TEST(Settings, HostileNumbersAreLimited) {
    const TVlmSettings s = Load("[Appearance]\nScalingRateX=1000\nScalingRateY=-7\n"
                                "FontSize=-2147483648\n[MainForm]\nWidth=2000000000\nLeft=-99999");
    EXPECT_EQ(s.ScalingRateX, kScalingRateRange.Max);
    EXPECT_EQ(s.ScalingRateY, kScalingRateRange.Min);
    EXPECT_EQ(s.FontSize, int(kFontSizeRange.Min));
    EXPECT_EQ(s.Width, int(kWindowSizeRange.Max));
    EXPECT_EQ(s.Left, int(kWindowPlaceRange.Min));
}

TEST(Settings, OptionFormStateStaysInRange) {
    struct TCase {
        QString Text;
        int Page;
        int Col0;
    };
    const TCase cases[] = {
        {"ActivePageIndex=5\nColWidths[0]=4096", 5, 4096},
        {"ActivePageIndex=6\nColWidths[0]=4097", 0, 4096},
        {"ActivePageIndex=-1\nColWidths[0]=-1", 0, 0},
        {"ActivePageIndex=2147483647\nColWidths[0]=-2147483648", 0, 0},
        {"ActivePageIndex=x\nColWidths[0]=y", 0, 150},
    };
    for (const TCase& c : cases) {
        TOptionFormState st;
        LoadOptionFormStateFrom(Parse("[OptionForm]\n" + c.Text), st);
        EXPECT_EQ(st.ActivePageIndex, c.Page) << c.Text.toStdString();
        EXPECT_EQ(st.ColWidths[0], c.Col0) << c.Text.toStdString();
    }
}

TEST(Settings, IniFileNameBesideTheExecutable) {
    EXPECT_EQ(IniFileNameFor("/opt/v/velmora"), "/opt/v/velmora.ini");
    EXPECT_EQ(IniFileNameFor("/opt/v/Velmora.exe"), "/opt/v/Velmora.ini");
    EXPECT_EQ(IniFileNameFor("/opt/v.d/clock"), "/opt/v.d/clock.ini");
    EXPECT_EQ(IniFileNameFor("/opt/v/copy.of.clock"), "/opt/v/copy.of.ini");
}
