// A clock on a temporary folder with its options dialog, message boxes answered
// by a script instead of shown.
#pragma once

#include "core/IniDocument.h"
#include "core/KvTimer.h"
#include "app/LangFiles.h"
#include "app/clock/MainForm.h"
#include "app/options/OptionForm.h"
#include "app/MessageDialog.h"
#include "fakes/FakePlatform.h"

#include <QTemporaryDir>
#include <deque>
#include <memory>

namespace velmora {

struct OptionFixture {
    QTemporaryDir Dir;
    FakePlatform Platform;
    FakeClock Clock{QDateTime(QDate(2026, 12, 7), QTime(9, 0, 0))}; // a Monday
    std::unique_ptr<TMainForm> Main;
    std::unique_ptr<TOptionForm> Form;
    // Every message box asked for: its text; answered from Answers (OK when empty).
    QStringList Boxes;
    std::deque<int> Answers;

    explicit OptionFixture(const QString& iniText = QString()) {
        if (!iniText.isEmpty()) {
            IniDocument d(Ini(), QLocale::c());
            d.SetStrings(iniText.split(QLatin1Char('\n')));
            d.UpdateFile();
        }
        SetMessageDialogHook([this](const QString& text, TMsgDlgType, TMsgDlgButtons, QWidget*) {
            Boxes << text;
            if (Answers.empty())
                return mrOk;
            const int a = Answers.front();
            Answers.pop_front();
            return a;
        });
        Main = std::make_unique<TMainForm>(Platform, Clock, Ini());
        Main->ClockTimer()->SetEnabled(false); // the test drives the ticks
    }
    ~OptionFixture() {
        Main->FOptionForm = nullptr;
        Form.reset();
        Main.reset();
        SetMessageDialogHook({});
    }
    QString Ini() const { return Dir.filePath(QStringLiteral("velmora.ini")); }
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
