// The options dialog on a stand-in for the clock: what it asks of the clock is
// the host interface and nothing more.
#include "app/options/OptionHost.h"

#include "app/options/OptionAlarmPage.h"
#include "app/options/OptionControls.h"
#include "app/options/OptionForm.h"
#include "app/options/OptionTextPage.h"
#include "app/options/OptionWindowPage.h"
#include "core/ClockText.h"
#include "core/KvCommandList.h"
#include "fakes/FakePlatform.h"
#include "widgets/KvSpinEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

using namespace velmora;

namespace {

class FakeOptionHost final : public IOptionHost {
public:
    TVlmSettings S;
    TClockRunState Run;
    std::vector<TSettingChange> Changes;
    QStringList Calls;
    TKvCommandList Commands;
    TDayOfTheWeekStr Days;
    QTemporaryDir Dir;
    FakePlatform Fake;
    QAction Shortcut;

    FakeOptionHost() {
        auto sync = std::make_unique<TKvCommandItem>();
        sync->SetTitle(QStringLiteral("sync"));
        Commands.Add(std::move(sync));
    }
    TVlmSettings& Settings() override { return S; }
    const TClockRunState& RunState() const override { return Run; }
    void SettingsChanged(TSettingChange change) override { Changes.push_back(change); }
    void ActStartAlarmExecute() override {
        Calls << "start";
        Run.IsAlarmRunning = true;
    }
    void ActPopStopAlarmExecute() override {
        Calls << "stop";
        Run.IsAlarmRunning = false;
    }
    TKvCommandList& CommandList() override { return Commands; }
    void RunCommandItem(int index) override { Calls << QStringLiteral("run:%1").arg(index); }
    QAction* CreateShortcutAction() override { return &Shortcut; }
    TDayOfTheWeekStr& DayWords() override { return Days; }
    QString IniFileName() const override { return Dir.filePath(QStringLiteral("velmora.ini")); }
    Platform& GetPlatform() const override { return const_cast<FakePlatform&>(Fake); }
    QFont ClockFont() const override { return QFont(S.FontName); }
    int ClockDpiY() const override { return 96; }
    bool D2DSupported() const override { return true; }
    QColor ResolvedColor(TColor c) const override {
        return ColorToQColor(c, [](int i) { return QColor(i, i, i); });
    }
};

} // namespace

TEST(OptionHost, EachEditChangesTheRecordAndSaysWhatToShow) {
    FakeOptionHost host;
    host.S.FormOnTopmost = true;
    TOptionForm form(host);
    form.show();
    auto& text = *form.PageOf<TOptionTextPage>();
    auto& window = *form.PageOf<TOptionWindowPage>();
    const struct {
        const char* Name;
        std::function<void()> Edit;
        std::function<bool()> Stored;
        TSettingChange Change;
    } cases[] = {
        {"date", [&] { text.CheckBox101->click(); }, [&] { return host.S.ShowDate; },
         TSettingChange::Size},
        {"scale", [&] { window.SpinEdit301->SetValue(1.1L); },
         [&] { return host.S.ScalingRateX == 1.1; }, TSettingChange::Size},
        {"alpha", [&] { window.CheckBox301->click(); }, [&] { return host.S.AlphaBlend; },
         TSettingChange::Alpha},
        {"full screen", [&] { window.CheckBox302->click(); },
         [&] { return host.S.HideOnFullScreen; }, TSettingChange::FullScreenWatch},
        {"bottom", [&] { window.RadioGroup301->SetItemIndex(1); },
         [&] { return !host.S.FormOnTopmost; }, TSettingChange::Stacking},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        host.Changes.clear();
        ASSERT_FALSE(c.Stored());
        c.Edit();
        EXPECT_TRUE(c.Stored());
        EXPECT_EQ(host.Changes, std::vector<TSettingChange>{c.Change});
    }
    // Colours, the outline and the like are picked up by the clock's next tick.
    host.Changes.clear();
    form.PageOf<TOptionAlarmPage>()->CheckBox503->click();
    EXPECT_TRUE(host.S.UseAlarmColor);
    EXPECT_TRUE(host.Changes.empty());
}

TEST(OptionHost, TheAlarmTestButtonFollowsTheHostsRunState) {
    FakeOptionHost host;
    host.S.UseAlarmBlink = true;
    TOptionForm form(host);
    form.show();
    auto& alarm = *form.PageOf<TOptionAlarmPage>();
    const QString startCaption = alarm.Button502->text();
    alarm.Button502->click();
    EXPECT_EQ(host.Calls, QStringList{"start"});
    form.AlarmStateChanged(); // as the clock tells the open dialog
    EXPECT_NE(alarm.Button502->text(), startCaption);
    alarm.Button502->click();
    EXPECT_EQ(host.Calls, (QStringList{"start", "stop"}));
    form.AlarmStateChanged();
    EXPECT_EQ(alarm.Button502->text(), startCaption);
}
