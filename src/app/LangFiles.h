// The language folder and its files: which file is current, reading its texts into
// the message, caption and balloon tables, what a file says about itself, and
// switching to another file.
//
// Use from the clock window, in this order at start-up:
//   InitLangDir(programDir, iniFileName, this);   // folder, CurrentLangFile from settings
//   LoadLangFile();                                // Messages(), Captions(), BalloonContents()
// Apply Captions().value("ActPopQuit.Caption") and the other MainForm keys to the
// actions; store CurrentLangFile() in TVlmSettings::LangFileName before saving.
// A language chosen from the submenu (LanguageMenu.h): ChooseLanguage(path), then
// apply what it reports.
#pragma once

#include "app/LangTexts.h"
#include "core/IniDocument.h"
#include "core/KvBalloonFlags.h"
#include "core/KvCommandList.h"
#include "core/LangChoice.h"
#include "core/MessageTable.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

class QWidget;

namespace velmora {

inline const QString kDayLangFileName = QStringLiteral("VlmDay.lang");
inline const QString kLangExtension = QStringLiteral(".lang");

// A value longer than this (UTF-16 code units) takes its fallback: a hostile file
// must not turn a menu entry or a message box into megabytes of text.
inline constexpr qsizetype kMaxLangTextLength = 1024;
// A language file larger than this is not read (its texts take their fallbacks).
inline constexpr qint64 kMaxLangFileSize = 4 * 1024 * 1024;

// Captions, hints and dialog texts keyed by component name and property
// ("ActPopQuit.Caption", "TrayIcon1.Hint", "OptionTabSet.Tabs[2].Caption").
using TCaptionTable = QHash<QString, QString>;
TCaptionTable& Captions();

struct TBalloonContent {
    QString Title;
    QString Hint; // the balloon's text
    TKvBalloonFlags Flag = kbfNone;
};
// The balloons of the time sync, by its result code 0 .. 6.
using TBalloonContents = std::array<TBalloonContent, 7>;
TBalloonContents& BalloonContents();
// Fills BalloonContents() from the balloon texts of Messages().
void BuildBalloonContents();

// --- the folder and the current file ---------------------------------------------

// The language folder: `programDir` + "/Lang/", created with any missing parents.
// Empty when it does not exist and cannot be made.
QString MakeLangDir(const QString& programDir);
// Sets LangDir() (the program folder, after the error box "Velmora cannot make
// directory." owned by `owner`, when the folder cannot be made) and
// CurrentLangFile() from the settings file.
void InitLangDir(const QString& programDir, const QString& iniFileName, QWidget* owner = nullptr);
// With its trailing "/".
QString LangDir();
QString CurrentLangFile();
// For tests and for a settings value taken from elsewhere.
void SetLangDir(const QString& dir);
void SetCurrentLangFile(const QString& path);

// LangFileName of section Language of the settings file, or LangDir() + the
// default name when it is missing or empty. A relative name is taken from the
// settings file's folder.
QString ReadLangFileName(const QString& iniFileName);

// Writes the default file into LangDir() when it is missing, whichever file is
// current: it is the one language every folder can offer in the Language menu.
// Returns why it could not be written (nothing on success or when it was there);
// FileErrorText words it once the language is loaded.
std::optional<TIniWriteError> EnsureDefaultLangFile();

// CurrentLangFile() := the default file in LangDir(), written when missing.
// Returns why it could not be written (nothing on success).
std::optional<TIniWriteError> UseDefaultLangFile();

// Reads the clock window's texts (sections MainForm, Lang: Msg, Lang: Balloon,
// Lang: Command, Lang: Button) of CurrentLangFile(), switching to the default file
// when it is missing, and rebuilds BalloonContents(). Returns why the default file
// could not be written (empty when there was nothing to report); the texts are
// then the built-in ones.
QString LoadLangFile();

// One text to apply to a dialog: the key names the control ("Label602.Caption").
struct TCaption {
    QString Key;
    QString Text;
};
// The options dialog's texts in the order to apply them (section OptionForm, then
// the controls that copy another's text, the grid heading labels and the browse
// buttons); also updates Captions() and the grid headings, FontCaption and
// StopAlarmCaption of Messages().
std::vector<TCaption> LoadOptionFormTexts();
// The about dialog's texts (section AboutForm); its OK button takes
// Messages().ButtonCaptionOK.
std::vector<TCaption> LoadAboutFormTexts();

// --- what a language file says about itself ------------------------------------

// The information section of a language file (empty values when it has none).
struct TLangInfo {
    QString Locale;
    QString HelpFile;
};
TLangInfo ReadLangInfo(const QString& path);

// True when the settings file names a language file (LangFileName, not empty):
// the user's choice, which no locale overrides.
bool HasSavedLangFileName(const QString& iniFileName);

// The first start: CurrentLangFile() := the language file of LangDir() that
// serves the locale of `vars` (LangFileForLocale). Returns that file; empty (and
// CurrentLangFile() untouched) when none does.
QString ChooseLangFileForLocale(const TLocaleVars& vars);

// The help page in `helpDir` that fits CurrentLangFile() (HelpPageFor).
QString CurrentHelpPage(const QString& helpDir);

// The language files of `langDir`, full paths, ordered without regard to letter
// case: every regular file ending in ".lang" except "VlmDay.lang" (exact case:
// "vlmday.lang" is another file here, and a language file).
QStringList ListLangFiles(const QString& langDir);

// What choosing a language changed, for the clock window to apply.
struct TLangChange {
    QStringList Captions;         // keys of Captions() whose text is new
    bool MessagesChanged = false; // any text of Messages()
    bool Command0TitleChanged = false;
    QString Error; // the default file could not be written (texts are built-in)
};
// The click on a language entry: CurrentLangFile() := path, LoadLangFile(). The
// clock window then sets command 0's title to Messages().Command0Title and, while
// the options dialog is open, applies LoadOptionFormTexts() and refreshes its grid.
// The choice reaches the settings file with the next save.
TLangChange ChooseLanguage(const QString& path);

// --- errors in the user's language -----------------------------------------------

// Why a file could not be read or written, in the current language.
QString FileProblemText(TFileProblem problem);
// A file that was not changed, and why: MsgErrorFileNotChanged. Also says the
// system's own words (what()) on standard error.
QString FileErrorText(const TIniWriteError& error);
// Why a command could not start, in the current language.
QString LaunchProblemText(TLaunchProblem problem);
// The box for a command that could not start: MsgErrorCannotOpenItem with the
// file, and the reason in parentheses.
QString CannotStartText(const QString& fileName, TLaunchProblem problem);

// A page that no program opens (no browser or file opener installed):
// MsgErrorCannotOpenItem with the file, and MsgReasonNoOpener in parentheses.
QString NoOpenerText(const QString& path);

// The text an error shows the user: FileErrorText for a file that could not be
// written, else the error's own words.
QString UserErrorText(const std::exception& error);

// Forgets every table and path (tests, and a clean start).
void ResetLangState();

} // namespace velmora
