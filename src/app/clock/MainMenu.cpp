// The clock's popup menu, its captions and its actions.
#include "app/about/AboutForm.h"
#include "core/KvCommandList.h"
#include "widgets/KvTrayIcon.h"
#include "app/LangFiles.h"
#include "app/clock/LanguageMenu.h"
#include "app/clock/ClockCommands.h"
#include "app/clock/MainForm.h"
#include "app/options/OptionForm.h"
#include "app/MessageDialog.h"
#include "app/AppResources.h"
#include "platform/Platform.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QMenu>
#include <QTextStream>

namespace velmora {

namespace {

// An action named as the menu and the language files name it.
QAction* NewAction(QObject* owner, const char* name) {
    auto* a = new QAction(owner);
    a->setObjectName(QLatin1String(name));
    return a;
}

QAction* Separator(QMenu* menu, const char* name) {
    QAction* s = menu->addSeparator();
    s->setObjectName(QLatin1String(name));
    return s;
}

} // namespace

void TMainForm::CreatePopupMenu() {
    ActStartAlarm = NewAction(this, "ActStartAlarm");
    ActPopStopAlarm = NewAction(this, "ActPopStopAlarm");
    ActPopAdjustTime = NewAction(this, "ActPopAdjustTime");
    ActPopShowOption = NewAction(this, "ActPopShowOption");
    ActPopShowHelp = NewAction(this, "ActPopShowHelp");
    ActPopShowAbout = NewAction(this, "ActPopShowAbout");
    ActPopQuit = NewAction(this, "ActPopQuit");
    ActCreateShortcut = NewAction(this, "ActCreateShortcut");
    connect(ActPopQuit, &QAction::triggered, this, &TMainForm::ActPopQuitExecute);
    connect(ActPopStopAlarm, &QAction::triggered, this, &TMainForm::ActPopStopAlarmExecute);
    connect(ActPopAdjustTime, &QAction::triggered, this,
            [this] { FCommands->ActPopAdjustTimeExecute(); });
    connect(ActStartAlarm, &QAction::triggered, this, &TMainForm::ActStartAlarmExecute);
    connect(ActPopShowHelp, &QAction::triggered, this, &TMainForm::ActPopShowHelpExecute);
    connect(ActCreateShortcut, &QAction::triggered, this, &TMainForm::ActCreateShortcutExecute);
    connect(ActPopShowAbout, &QAction::triggered, this, &TMainForm::ActPopShowAboutExecute);
    connect(ActPopShowOption, &QAction::triggered, this, &TMainForm::ActPopShowOptionExecute);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    StopAlarm1 = ActPopStopAlarm;
    PopupMenu1->addAction(StopAlarm1);
    PopSep1 = Separator(PopupMenu1, "PopSep1");
    PopupMenu1->addAction(ActPopAdjustTime);
    Separator(PopupMenu1, "PopSep2");
    Command1 = PopupMenu1->addMenu(QString());
    Command1->setObjectName(QStringLiteral("Command1"));
    Separator(PopupMenu1, "PopSep3");
    PopupMenu1->addAction(ActPopShowOption);
    Language1 = PopupMenu1->addMenu(QString());
    Language1->setObjectName(QStringLiteral("Language1"));
    Separator(PopupMenu1, "PopSep4");
    PopupMenu1->addAction(ActPopShowHelp);
    PopupMenu1->addAction(ActPopShowAbout);
    Separator(PopupMenu1, "PopSep5");
    PopupMenu1->addAction(ActPopQuit);
    // The stop item and its separator show only while an alarm runs.
    StopAlarm1->setVisible(FRun.IsAlarmRunning);
    PopSep1->setVisible(FRun.IsAlarmRunning);
    connect(PopupMenu1, &QMenu::aboutToShow, this, &TMainForm::PopupMenu1Popup);
}

void TMainForm::ApplyCaptions() {
    const auto caption = [](const QString& key) {
        const QString text = Captions().value(key);
        return text.isEmpty() ? FallbackText(key) : text;
    };
    for (QAction* a : {ActStartAlarm, ActPopStopAlarm, ActPopAdjustTime, ActPopShowOption,
                       ActPopShowHelp, ActPopShowAbout, ActPopQuit, ActCreateShortcut})
        a->setText(caption(a->objectName() + QStringLiteral(".Caption")));
    Command1->setTitle(caption(QStringLiteral("Command1.Caption")));
    Language1->setTitle(caption(QStringLiteral("Language1.Caption")));
    if (TrayIcon1)
        TrayIcon1->SetHint(caption(QStringLiteral("TrayIcon1.Hint")));
}

void TMainForm::PopupMenu1Popup() {
    Command1->setEnabled(FCommands->CommandCount() > 1);
    BuildCommandMenu(Command1);
    BuildLanguageMenu(Language1, [this](const QString& path) { LanguageListClick(path); });
}

void TMainForm::BuildCommandMenu(QMenu* parent) {
    parent->clear();
    // Command 0, the time sync, has its own item; the others are listed by number.
    for (int i = 1; i < FCommands->CommandCount(); ++i) {
        QAction* item = parent->addAction(QStringLiteral("%1: %2").arg(i).arg(FCommands->CommandTitle(i)));
        item->setData(i);
        connect(item, &QAction::triggered, this, [this, i] { FCommands->CommandMenuClick(i); });
    }
}

void TMainForm::LanguageListClick(const QString& path) {
    const TLangChange change = ChooseLanguage(path);
    ApplyCaptions();
    FCommands->ACommandList().Items(0).SetTitle(Messages().Command0Title);
    if (FOptionForm)
        FOptionForm->ApplyLangToOptionForm();
    // A menu's slot: the error is shown, never thrown through the toolkit.
    if (!change.Error.isEmpty())
        PostMessageDialog(change.Error, TMsgDlgType::Error);
    ScheduleSave();
}

void TMainForm::contextMenuEvent(QContextMenuEvent* event) {
    PopupMenu1->popup(event->globalPos());
}

void TMainForm::ActPopQuitExecute() {
    StopTimers(); // nothing may fire between Quit and the end of the loop
    QCoreApplication::quit();
}

void TMainForm::ActPopShowHelpExecute() {
    // The page that fits the current language, in the folder of the help page.
    const QString path = CurrentHelpPage(QFileInfo(FPaths.HelpFile).path());
    if (!QFileInfo::exists(path)) {
        ShowMessageDialog(FormatMsg(Messages().MsgErrorFileNotFound, {path}), TMsgDlgType::Error,
                          mbOK, this);
        return;
    }
    QString why;
    int code = 0;
    if (!FPlatform.OpenDocument(path, &why, &code)) {
        QTextStream(stderr) << "velmora: " << why << Qt::endl;
        ShowMessageDialog(HelpPageErrorText(path, code), TMsgDlgType::Error, mbOK, this);
    }
}

void TMainForm::ActCreateShortcutExecute() {
    const QString& program = FPaths.ProgramFile;
    if (FPlatform.CreateAutostartEntry(program))
        ShowMessageDialog(Messages().MsgInfoCreatedShortcut, TMsgDlgType::Information, mbOK);
    else
        ShowMessageDialog(Messages().MsgErrorCannotCreateShortcut, TMsgDlgType::Error, mbOK);
}

void TMainForm::ActPopShowAboutExecute() {
    if (DialogOpen())
        return;
    TAboutForm form(FPlatform);
    FAboutForm = &form;
    struct TClear {
        TAboutForm*& Form;
        ~TClear() { Form = nullptr; }
    } clear{FAboutForm};
    form.exec();
}

void TMainForm::TrayIcon1DblClick() {
    ForceForeground();
}

void TMainForm::CreateTrayIcon() {
    TrayIcon1 = new TKvTrayIcon(this);
    TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
    RegisterAppResources();
    TrayIcon1->LoadIconPng(QStringLiteral(":/app/velmora16.png"));
    TrayIcon1->SetPopupMenu(PopupMenu1);
    TrayIcon1->SetOnDblClick([this](TKvTrayIcon*) { TrayIcon1DblClick(); });
    TrayIcon1->SetBalloonTimeout(1000);
    TrayIcon1->SetBalloonAnchor(this);
}

} // namespace velmora
