// The clock's side of the options dialog: opening it and finishing up after it.
#include "app/VelmoraApp.h"
#include "app/DayWords.h"
#include "core/KvCommandList.h"
#include "app/clock/MainForm.h"
#include "app/options/OptionForm.h"

namespace velmora {

bool TMainForm::DialogOpen() const {
    return FOptionForm != nullptr || FAboutForm != nullptr;
}

void TMainForm::ActPopShowOptionExecute() {
    if (DialogOpen())
        return;
    // No owner window: the dialog has its own task bar entry and stays up
    // while the clock blinks.
    auto form = std::make_unique<TOptionForm>(*this);
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
            errors << QString::fromUtf8(e.what());
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
    step([this] { ACommandList->DeleteEmptyItems(); });
    step([this] { SetCommandTimingArray(); });
    step([&form] { form.SaveOptionFormState(); });
    step([this] { SaveSettings(); });
    if (!errors.isEmpty())
        TVelmoraApp::ShowException(errors.join(QLatin1Char('\n')));
}

} // namespace velmora
