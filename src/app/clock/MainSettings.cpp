// Loading and saving the clock's settings file.
#include "app/LangFiles.h"
#include "app/LangTexts.h"
#include "app/MessageDialog.h"
#include "app/clock/ClockCommands.h"
#include "app/clock/MainForm.h"
#include "core/CommandSections.h"
#include "core/KvCommandList.h"
#include "core/ProgramPaths.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace velmora {

void TMainForm::SyncSettingsFromWindow() {
    // Asked of the window system: the toolkit's idea of a top-level window's place
    // can be stale after the window manager placed it. A hidden window (blinking,
    // or closed on the way out) keeps the place it was last shown at.
    if (isVisible() && !FPlaceKept)
        RememberPlace();
    FSettings.Width = width();
    FSettings.Height = height();
}

void TMainForm::RememberPlace() {
    const QPoint p = FPlatform.WindowPosition(this).value_or(pos());
    FSettings.Left = p.x();
    FSettings.Top = p.y();
}

void TMainForm::LoadSettings() {
    RemoveUnfinishedSaves(FIniFileName); // what a save killed before its end left
    const IniDocument doc(FIniFileName);
    if (!doc.ReadError().isEmpty()) {
        // Starting with defaults is fine; writing them over the user's file is not.
        FSettingsUnreadable = true;
        QTextStream(stderr) << "velmora: " << FIniFileName << ": " << doc.ReadError() << Qt::endl;
        ShowMessageDialog(FormatMsg(OrFallback(Messages().MsgErrorSettingsUnreadable,
                                               QStringLiteral("MsgErrorSettingsUnreadable")),
                                    {FIniFileName, FileProblemText(doc.ReadProblem())}),
                          TMsgDlgType::Warning, mbOK);
    }
    if (doc.ForeignEncoding()) {
        FKeepForeignOriginal = true;
        ShowMessageDialog(FormatMsg(OrFallback(Messages().MsgWarnSettingsNotUtf16,
                                               QStringLiteral("MsgWarnSettingsNotUtf16")),
                                    {FIniFileName, FIniFileName + QStringLiteral(".bak")}),
                          TMsgDlgType::Warning, mbOK);
    }
    SyncSettingsFromWindow();
    LoadSettingsFrom(doc, FSettings, Env());
    FCommands->ACommandList().Clear();
    const QString own = FPaths.OwnFolder;
    FSettings.AlarmSoundFileName = ResolveStoredPath(FSettings.AlarmSoundFileName, own);
    if (LoadCommandList(doc, FCommands->ACommandList(), Messages().Command0Title, FPaths.SyncTool,
                        [&own](const QString& stored) { return ResolveStoredPath(stored, own); }))
        // Queued: the clock comes up first, and the user reads it at leisure.
        PostMessageDialog(FormatMsg(OrFallback(Messages().MsgWarnTooManyCommands,
                                               QStringLiteral("MsgWarnTooManyCommands")),
                                    {QString::number(kMaxCommandCount)}),
                          TMsgDlgType::Warning);
    move(FSettings.Left, FSettings.Top);
    resize(std::max(FSettings.Width, 1), std::max(FSettings.Height, 1));
    FStoredPlace = QPoint(FSettings.Left, FSettings.Top);
    FStoredLangFile = CurrentLangFile();
}

void TMainForm::SaveSettings() {
    // The user was told at start-up that this file is left alone.
    if (FSettingsUnreadable)
        return;
    // Set until a save succeeds: the settings in memory are the only copy of the
    // changes, and the next save, whatever starts it, writes them all.
    FSaveFailed = true;
    try {
        WriteSettingsFile();
    } catch (const std::exception& e) {
        QTextStream(stderr) << "velmora: " << e.what() << Qt::endl;
        throw TIniWriteError(FormatMsg(OrFallback(Messages().MsgErrorSettingsNotSaved,
                                                  QStringLiteral("MsgErrorSettingsNotSaved")),
                                       {FIniFileName, QString::fromUtf8(e.what())})
                                 .toStdString());
    }
    FSaveFailed = false;
}

void TMainForm::WriteSettingsFile() {
    SyncSettingsFromWindow();
    const QString own = FPaths.OwnFolder;
    FSettings.LangFileName = StoredPathFor(CurrentLangFile(), own);
    IniDocument doc(FIniFileName);
    // Became unreadable (or too large) since the start: never replace what could
    // not be read.
    if (!doc.ReadError().isEmpty())
        throw TIniWriteError(doc.ReadError().toStdString());
    if (FKeepForeignOriginal && QFileInfo::exists(FIniFileName)) {
        const QString backup = FIniFileName + QStringLiteral(".bak");
        QFile::remove(backup);
        if (!QFile::copy(FIniFileName, backup))
            throw TIniWriteError(FormatMsg(OrFallback(Messages().MsgErrorSettingsNotKept,
                                                      QStringLiteral("MsgErrorSettingsNotKept")),
                                           {backup})
                                     .toStdString());
    }
    FKeepForeignOriginal = false;
    // Files of the program's own folder are named relative to it, so that the
    // folder keeps working when it is moved or copied to another machine.
    TVlmSettings stored = FSettings;
    stored.AlarmSoundFileName = StoredPathFor(FSettings.AlarmSoundFileName, own);
    SaveSettingsTo(doc, stored, Env());
    SaveCommandSections(doc, FCommands->ACommandList(),
                        [&own](const QString& path) { return StoredPathFor(path, own); });
    // A packaged clock keeps its settings in a folder of their own, made on first
    // save; a folder that cannot be made shows as the file that cannot be written.
    QDir().mkpath(QFileInfo(FIniFileName).path());
    doc.UpdateFile();
    FStoredPlace = QPoint(FSettings.Left, FSettings.Top);
    FStoredLangFile = CurrentLangFile();
}

} // namespace velmora
