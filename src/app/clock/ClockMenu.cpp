#include "app/clock/ClockMenu.h"

#include "app/AppResources.h"
#include "app/LangFiles.h"
#include "app/LangTexts.h"
#include "app/MessageDialog.h"
#include "app/about/AboutForm.h"
#include "app/clock/LanguageMenu.h"
#include "platform/Platform.h"
#include "widgets/KvTrayIcon.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QTextStream>
#include <QWidget>

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

// `action` triggered runs `f`, for as long as the action lives.
template <class F> void OnTriggered(QAction* action, F f) {
    QObject::connect(action, &QAction::triggered, action, std::move(f));
}

} // namespace

TClockMenu::TClockMenu(QWidget& window, Platform& platform, const TProgramPaths& paths,
                       const TClockRunState& run, TWindowSide side)
    : FOwner(window), FPlatform(platform), FPaths(paths), FRun(run), FWindow(std::move(side)) {
    CreatePopupMenu();
    CreateTrayIcon();
}

TClockMenu::~TClockMenu() {
    // The window's children, but they call back into this part: they go with it.
    delete FTrayIcon1;
    delete FPopupMenu1;
    for (QAction* a : {FActStartAlarm, FActPopStopAlarm, FActPopAdjustTime, FActPopShowOption,
                       FActPopShowHelp, FActPopShowAbout, FActPopQuit, FActCreateShortcut})
        delete a;
}

void TClockMenu::CreatePopupMenu() {
    FActStartAlarm = NewAction(&FOwner, "ActStartAlarm");
    FActPopStopAlarm = NewAction(&FOwner, "ActPopStopAlarm");
    FActPopAdjustTime = NewAction(&FOwner, "ActPopAdjustTime");
    FActPopShowOption = NewAction(&FOwner, "ActPopShowOption");
    FActPopShowHelp = NewAction(&FOwner, "ActPopShowHelp");
    FActPopShowAbout = NewAction(&FOwner, "ActPopShowAbout");
    FActPopQuit = NewAction(&FOwner, "ActPopQuit");
    FActCreateShortcut = NewAction(&FOwner, "ActCreateShortcut");
    OnTriggered(FActPopQuit, [this] { ActPopQuitExecute(); });
    OnTriggered(FActPopStopAlarm, [this] { FWindow.StopAlarm(); });
    OnTriggered(FActPopAdjustTime, [this] { FWindow.AdjustTime(); });
    OnTriggered(FActStartAlarm, [this] { FWindow.StartAlarm(); });
    OnTriggered(FActPopShowHelp, [this] { ActPopShowHelpExecute(); });
    OnTriggered(FActCreateShortcut, [this] { ActCreateShortcutExecute(); });
    OnTriggered(FActPopShowAbout, [this] { ActPopShowAboutExecute(); });
    OnTriggered(FActPopShowOption, [this] { FWindow.ShowOptions(); });

    FPopupMenu1 = new QMenu(&FOwner);
    FPopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    FStopAlarm1 = FActPopStopAlarm;
    FPopupMenu1->addAction(FStopAlarm1);
    FPopSep1 = Separator(FPopupMenu1, "PopSep1");
    FPopupMenu1->addAction(FActPopAdjustTime);
    Separator(FPopupMenu1, "PopSep2");
    FCommand1 = FPopupMenu1->addMenu(QString());
    FCommand1->setObjectName(QStringLiteral("Command1"));
    Separator(FPopupMenu1, "PopSep3");
    FPopupMenu1->addAction(FActPopShowOption);
    FLanguage1 = FPopupMenu1->addMenu(QString());
    FLanguage1->setObjectName(QStringLiteral("Language1"));
    Separator(FPopupMenu1, "PopSep4");
    FPopupMenu1->addAction(FActPopShowHelp);
    FPopupMenu1->addAction(FActPopShowAbout);
    Separator(FPopupMenu1, "PopSep5");
    FPopupMenu1->addAction(FActPopQuit);
    UpdateStopItems();
    QObject::connect(FPopupMenu1, &QMenu::aboutToShow, FPopupMenu1, [this] { PopupMenu1Popup(); });
}

void TClockMenu::UpdateStopItems() {
    FStopAlarm1->setVisible(FRun.IsAlarmRunning);
    FPopSep1->setVisible(FRun.IsAlarmRunning);
}

void TClockMenu::ApplyCaptions() {
    const auto caption = [](const QString& key) {
        const QString text = Captions().value(key);
        return text.isEmpty() ? FallbackText(key) : text;
    };
    for (QAction* a : {FActStartAlarm, FActPopStopAlarm, FActPopAdjustTime, FActPopShowOption,
                       FActPopShowHelp, FActPopShowAbout, FActPopQuit, FActCreateShortcut})
        a->setText(caption(a->objectName() + QStringLiteral(".Caption")));
    FCommand1->setTitle(caption(QStringLiteral("Command1.Caption")));
    FLanguage1->setTitle(caption(QStringLiteral("Language1.Caption")));
    FTrayIcon1->SetHint(caption(QStringLiteral("TrayIcon1.Hint")));
    UpdateShortcutCaption();
}

void TClockMenu::Popup(const QPoint& globalPos) {
    FPopupMenu1->popup(globalPos);
}

void TClockMenu::PopupMenu1Popup() {
    FCommand1->setEnabled(FWindow.CommandTitles().size() > 1);
    BuildCommandMenu(FCommand1);
    BuildLanguageMenu(FLanguage1, [this](const QString& path) { LanguageListClick(path); });
}

void TClockMenu::BuildCommandMenu(QMenu* parent) {
    parent->clear();
    // Command 0, the time sync, has its own item; the others are listed by number.
    const QStringList titles = FWindow.CommandTitles();
    for (int i = 1; i < titles.size(); ++i) {
        QAction* item = parent->addAction(QStringLiteral("%1: %2").arg(i).arg(titles[i]));
        item->setData(i);
        OnTriggered(item, [this, i] { FWindow.RunCommand(i); });
    }
}

void TClockMenu::LanguageListClick(const QString& path) {
    const TLangChange change = ChooseLanguage(path);
    ApplyCaptions();
    FWindow.LanguageChosen();
    // A menu's slot: the error is shown, never thrown through the toolkit.
    if (!change.Error.isEmpty())
        PostMessageDialog(change.Error, TMsgDlgType::Error);
}

void TClockMenu::ActPopQuitExecute() {
    FWindow.StopTimers(); // nothing may fire between Quit and the end of the loop
    QCoreApplication::quit();
}

void TClockMenu::ActPopShowHelpExecute() {
    // The page that fits the current language, in the folder of the help page.
    const QString path = CurrentHelpPage(QFileInfo(FPaths.HelpFile).path());
    if (!QFileInfo::exists(path)) {
        ShowMessageDialog(FormatMsg(Messages().MsgErrorFileNotFound, {path}), TMsgDlgType::Error,
                          mbOK, &FOwner);
        return;
    }
    QString why;
    int code = 0;
    // The opener may find no browser only after it started: that news comes
    // later and is queued, as it does not come from the menu's own call.
    const auto noOpener = [path] { return NoOpenerText(path); };
    if (!FPlatform.OpenDocument(path, &why, &code, [noOpener](int) {
            PostMessageDialog(noOpener(), TMsgDlgType::Error);
        })) {
        QTextStream(stderr) << "velmora: " << why << Qt::endl;
        ShowMessageDialog(code == kNoOpenerCode ? noOpener() : HelpPageErrorText(path, code),
                          TMsgDlgType::Error, mbOK, &FOwner);
    }
}

void TClockMenu::ActCreateShortcutExecute() {
    // The one button adds the entry, or takes away the one it added.
    const QString& program = FPaths.ProgramFile;
    QString why;
    if (FPlatform.HasAutostartEntry(program)) {
        if (FPlatform.RemoveAutostartEntry(program, &why))
            ShowMessageDialog(OrFallback(Messages().MsgInfoRemovedShortcut,
                                         QStringLiteral("MsgInfoRemovedShortcut")),
                              TMsgDlgType::Information, mbOK);
        else
            ShowMessageDialog(OrFallback(Messages().MsgErrorCannotRemoveShortcut,
                                         QStringLiteral("MsgErrorCannotRemoveShortcut")),
                              TMsgDlgType::Error, mbOK);
    } else if (FPlatform.CreateAutostartEntry(program, &why)) {
        ShowMessageDialog(Messages().MsgInfoCreatedShortcut, TMsgDlgType::Information, mbOK);
    } else {
        ShowMessageDialog(Messages().MsgErrorCannotCreateShortcut, TMsgDlgType::Error, mbOK);
    }
    if (!why.isEmpty())
        QTextStream(stderr) << "velmora: " << why << Qt::endl;
    UpdateShortcutCaption();
}

void TClockMenu::UpdateShortcutCaption() {
    const QString key = FPlatform.HasAutostartEntry(FPaths.ProgramFile)
                            ? QStringLiteral("ActRemoveShortcut.Caption")
                            : QStringLiteral("ActCreateShortcut.Caption");
    FActCreateShortcut->setText(OrFallback(Captions().value(key), key));
}

void TClockMenu::ActPopShowAboutExecute() {
    if (FWindow.DialogOpen())
        return;
    TAboutForm form(FPlatform);
    FAboutForm = &form;
    struct TClear {
        TAboutForm*& Form;
        ~TClear() { Form = nullptr; }
    } clear{FAboutForm};
    form.exec();
}

void TClockMenu::TrayIcon1DblClick() {
    FWindow.BringForward();
}

void TClockMenu::CreateTrayIcon() {
    FTrayIcon1 = new TKvTrayIcon(&FOwner);
    FTrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
    RegisterAppResources();
    FTrayIcon1->LoadIconPng(QStringLiteral(":/app/velmora16.png"));
    FTrayIcon1->SetPopupMenu(FPopupMenu1);
    FTrayIcon1->SetOnDblClick([this](TKvTrayIcon*) { TrayIcon1DblClick(); });
    FTrayIcon1->SetBalloonTimeout(1000);
    FTrayIcon1->SetBalloonAnchor(&FOwner);
}

} // namespace velmora
