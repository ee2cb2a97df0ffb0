// A clock on a temporary folder with its options dialog, message boxes answered
// by a script instead of shown.
#pragma once

#include "ClockFormFixture.h"
#include "app/LangFiles.h"
#include "app/MessageDialog.h"
#include "app/clock/MainForm.h"
#include "app/options/OptionForm.h"
#include "core/IniDocument.h"
#include "core/KvTimer.h"
#include "fakes/FakePlatform.h"

#include <QTemporaryDir>
#include <deque>
#include <memory>

namespace velmora {

struct OptionFixture : ClockFolder {
    std::unique_ptr<TMainForm> Main;
    std::unique_ptr<TOptionForm> Form;
    // Every message box asked for: its text; answered from Answers (OK when empty).
    QStringList Boxes;
    std::deque<int> Answers;

    explicit OptionFixture(const QString& iniText = QString())
        : ClockFolder(QDateTime(QDate(2026, 12, 7), QTime(9, 0, 0))) { // a Monday
        if (!iniText.isEmpty())
            WriteIniText(iniText);
        SetMessageDialogHook([this](const QString& text, TMsgDlgType, TMsgDlgButtons, QWidget*) {
            Boxes << text;
            if (Answers.empty())
                return mrOk;
            const int a = Answers.front();
            Answers.pop_front();
            return a;
        });
        Main = Make();
    }
    ~OptionFixture() {
        Main->FOptionForm = nullptr;
        Form.reset();
        Main.reset();
        SetMessageDialogHook({});
    }
    // The dialog as the clock opens it, shown (the showing sequence ran).
    TOptionForm& Open() {
        Form = std::make_unique<TOptionForm>(Main->OptionHost());
        Main->FOptionForm = Form.get();
        Form->show();
        return *Form;
    }
    template <class T> T& Page() { return *Form->PageOf<T>(); }
};

} // namespace velmora
