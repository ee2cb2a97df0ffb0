// The clock's side of the options dialog: opening it and finishing up after it.
#include "app/DayWords.h"
#include "app/LangFiles.h"
#include "app/VelmoraApp.h"
#include "app/clock/ClockCommands.h"
#include "app/clock/ClockLayering.h"
#include "app/clock/ClockMenu.h"
#include "app/clock/MainForm.h"
#include "app/options/OptionForm.h"
#include "core/KvCommandList.h"
#include "widgets/KvPaintBox.h"

namespace velmora {

void TMainForm::SettingsChanged(TSettingChange change) {
    switch (change) {
    case TSettingChange::Size:
        AdjustMainFormMaxSize(FSettings.FontColorMode);
        break;
    case TSettingChange::Font:
        setFont(ClockFont());
        FClockPaintBox->setFont(font());
        AdjustMainFormMaxSize(FSettings.FontColorMode);
        break;
    case TSettingChange::DrawingPath:
        FClockPaintBox->SetD2DEnabled(FSettings.D2DEnabled);
        AdjustMainFormMaxSize(FSettings.FontColorMode);
        break;
    case TSettingChange::Alpha:
        ApplyWindowAlpha();
        break;
    case TSettingChange::Stacking:
        FLayering->ApplyStacking();
        // Sent to the bottom, the clock comes to the front once, where it can be seen.
        if (!FSettings.FormOnTopmost)
            ForceForeground();
        break;
    case TSettingChange::FullScreenWatch:
        FLayering->UpdateFullScreenWatch();
        break;
    case TSettingChange::CommandTimings:
        FCommands->SetCommandTimingArray();
        break;
    case TSettingChange::Background:
        // Shown at once like every other choice, not from the next tick: the
        // colours, the picture and the see-through shape together.
        ApplyColorState();
        RenderClockImage();
        FClockPaintBox->update();
        break;
    }
}

bool TMainForm::D2DSupported() const {
    return FClockPaintBox->D2DSupported();
}

bool TMainForm::DialogOpen() const {
    return FOptionForm != nullptr || FMenu->AboutForm() != nullptr;
}

void TMainForm::ActPopShowOptionExecute() {
    if (DialogOpen())
        return;
    // No owner window: the dialog has its own task bar entry and stays up
    // while the clock blinks.
    auto form = std::make_unique<TOptionForm>(OptionHost());
    FOptionForm = form.get();
    // Cleared before the dialog goes, also when showing it fails.
    struct TClear {
        TOptionForm*& Ref;
        ~TClear() { Ref = nullptr; }
    } clear{FOptionForm};
    // Every close is OK; so is the dialog's loop ending because the program is
    // told to quit while it is open: the changes are kept either way.
    form->exec();
    FinishOptionForm(*form);
}

void TMainForm::FinishOptionForm(TOptionForm& form) {
    // A step that fails must not keep the later ones from running: a day-words
    // file that cannot be written is no reason to lose the settings.
    QStringList errors;
    const auto step = [&errors](const std::function<void()>& f) {
        try {
            f();
        } catch (const std::exception& e) {
            errors << UserErrorText(e);
        }
    };
    step([this] {
        if (FRun.IsAlarmRunning)
            ActPopStopAlarmExecute();
    });
    step([] {
        if (!DayLangFile().isEmpty())
            WriteDayLangKind(DayLangFile(), CurrentDayLangKind());
    });
    step([this] { FCommands->ACommandList().DeleteEmptyItems(); });
    step([this] { FCommands->SetCommandTimingArray(); });
    step([&form] { form.SaveOptionFormState(); });
    step([this] { SaveSettings(); });
    if (!errors.isEmpty())
        TVelmoraApp::ShowException(errors.join(QLatin1Char('\n')));
}

} // namespace velmora
