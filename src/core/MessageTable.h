// The texts of messages and balloons by their language-file keys, and how a
// message's placeholders are filled. The language files fill the table; the
// alarm, the message boxes and the forms read it.
#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// The texts named by their keys. All start empty; each load overwrites them.
struct TMessageTable {
    // Section "Lang: Msg". Caption of every message box; empty until a language
    // file is loaded (the message box then has its own fallback title).
    QString MsgDialogCaption;
    QString MsgErrorFileNotFound;
    QString MsgErrorShowErrorCode;
    QString MsgErrorCannotOpenItem;
    QString MsgErrorCannotCreateShortcut;
    QString MsgWarnNoNTPServerName;
    QString MsgWarnNoSoundFileName;
    QString MsgWarnTooManyCharacters;
    QString MsgWarnNotSupportedFileType;
    QString MsgWarnEditMemoEmpty;
    QString MsgWarnNameValueInvalid;
    QString MsgWarnCheckNameValue;
    QString MsgWarnDayLangSameSectionNotExists;
    QString MsgWarnDayLangTheLastSection;
    QString MsgWarnExitWithoutDelete;
    QString MsgWarnAlarmOptionNotChecked;
    QString MsgConfirmOverwriteItem;
    QString MsgConfirmAddItem;
    QString MsgConfirmDeleteItem;
    QString MsgConfirmOKCancel;
    QString MsgInfoOverwroteItem;
    QString MsgInfoAddedItem;
    QString MsgInfoDeletedItem;
    QString MsgInfoCreatedShortcut;
    // A day-word set title that cannot be stored; %s is the title. Not written
    // into the default file; a language file may still translate it.
    QString MsgWarnDayLangTitleInvalid;
    // The settings file: unreadable (%s the file, %s why), not UTF-16 (%s the
    // file, %s its backup), its backup not made (%s the backup). Not written into
    // the default file either.
    QString MsgErrorSettingsUnreadable;
    QString MsgWarnSettingsNotUtf16;
    QString MsgErrorSettingsNotKept;
    // The time sync's question before a large step (%s: how far the clock is off).
    QString MsgConfirmStepClock;
    // The alarm message while the user has not written one of their own.
    QString MsgAlarmHintDefault;
    // A file was not changed: %s the file, %s the reason (one of MsgReason...).
    QString MsgErrorFileNotChanged;
    // Why a file could not be read or written (%d: the size limit in MB).
    QString MsgReasonLinkCircle;
    QString MsgReasonNotRegularFile;
    QString MsgReasonTooLarge;
    QString MsgReasonCannotRead;
    QString MsgReasonCannotWrite;
    QString MsgReasonNotUtf16;
    // Why a command could not start, and why a page found no program to open it.
    QString MsgReasonNoFileName;
    QString MsgReasonFileMissing;
    QString MsgReasonNotExecutableAdmin;
    QString MsgReasonParametersUnreadable;
    QString MsgReasonCannotStart;
    QString MsgReasonNoOpener;
    // The autostart entry was removed, or could not be.
    QString MsgInfoRemovedShortcut;
    QString MsgErrorCannotRemoveShortcut;
    // A save that could not be done (%s the file, %s why); the changes are kept
    // and the next save tries again.
    QString MsgErrorSettingsNotSaved;
    // More commands in the file than the list holds (%d the most it holds).
    QString MsgWarnTooManyCommands;
    // Section "Lang: Balloon".
    QString BalloonTitleNormal;
    QString BalloonTitleAlarm;
    QString BalloonWarnNoSwitch;
    QString BalloonWarnTooManySwitches;
    QString BalloonWarnNoNTPServerName;
    QString BalloonInfoAdjustTimeSucceeded;
    QString BalloonErrorCannotAdjustTime;
    QString BalloonErrorAdjustTimeError;
    QString BalloonWarnNetworkNotAlive;
    // Why the time sync did not set the clock, and how far the clock is off. Not
    // written into the default file.
    QString BalloonWarnStepTooLarge;
    QString BalloonErrorCannotAdjustTimeReason;
    QString SyncClockAhead;
    QString SyncClockBehind;
    QString SyncOffsetHoursMinutes;
    QString SyncOffsetDaysHours;
    QString SyncReasonNotResolved;
    QString SyncReasonNoAnswer;
    QString SyncReasonBadAnswer;
    QString SyncReasonRefused;
    QString SyncReasonTimeKeptBySystem;
    QString SyncReasonNoService;
    QString SyncReasonStepTooLarge;
    QString SyncReasonUnconfirmed;
    QString SyncReasonBeforeBuildDate;
    QString SyncReasonBusy;
    // Sections "Lang: Command", "Lang: Button", "Lang: Caption".
    QString Command0Title;
    QString ButtonCaptionOK;
    QString ButtonCaptionSelect;
    QString FontCaption;
    QString StopAlarmCaption;
    // The command grid headings (section "OptionForm").
    QString TitleLabel;
    QString FileNameLabel;
    QString OptionLabel;
    QString CommandOptionLabel;
};

// The program's one message table, filled from the current language file.
TMessageTable& Messages();

// Fills a text's "%s" and "%d" placeholders with `args` in order ("%%" is "%").
// A placeholder without an argument becomes empty and other "%" sequences stay as
// they are, so a language file cannot make a message read beyond its arguments.
QString FormatMsg(const QString& pattern, const QStringList& args);

// The help page could not be opened: the MsgErrorCannotOpenItem text with the
// path, followed by the MsgErrorShowErrorCode text with the system's code in
// parentheses.
QString HelpPageErrorText(const QString& path, int code);

} // namespace velmora
