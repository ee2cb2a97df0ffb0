// The user's commands: external programs the clock starts from its menu, at start-up,
// on resume or at a daily time. Item 0 of the list is always the time sync tool.
// Qt Core only: the list is shared by the clock window, the options dialog and the
// settings file, none of which it needs to know.
#pragma once

#include "core/ProgramLauncher.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace velmora {

// One command. Properties are plain getters and setters; nothing is signalled, the
// owners re-read the item when they need it.
class TKvCommandItem {
public:
    TKvCommandItem() = default;

    QString Title() const { return FTitle; }
    void SetTitle(const QString& value) { FTitle = value; }
    QString FileName() const { return FFileName; }
    void SetFileName(const QString& value) { FFileName = value; }
    // The program's parameters (for command 0: the NTP server's host name).
    QString OptionStr() const { return FOptionStr; }
    void SetOptionStr(const QString& value) { FOptionStr = value; }
    bool AsAdmin() const { return FAsAdmin; }
    void SetAsAdmin(bool value) { FAsAdmin = value; }
    bool HideWindow() const { return FHideWindow; }
    void SetHideWindow(bool value) { FHideWindow = value; }
    bool AtStartup() const { return FAtStartup; }
    void SetAtStartup(bool value) { FAtStartup = value; }
    bool AtResume() const { return FAtResume; }
    void SetAtResume(bool value) { FAtResume = value; }
    bool AtSpTime() const { return FAtSpTime; }
    void SetAtSpTime(bool value) { FAtSpTime = value; }
    // The daily start time, a fraction of a day.
    double SpTime() const { return FSpTime; }
    void SetSpTime(double value) { FSpTime = value; }

    // Sets the five flags and the daily time from the compact switch text
    // ("/a /h /s /r /t=07:05:00"); every call overwrites all six. Never fails:
    // unknown switches are ignored, a time that does not convert is midnight.
    void SetCommandOptions(const QString& text, const QLocale& locale = QLocale::system());
    // The normalised switch text of the flags and the daily time; empty without flags.
    QString GetCommandOptionsStr(const QLocale& locale = QLocale::system()) const;

    // Starts the program with its parameters (elevated when AsAdmin) without waiting,
    // through `launcher` (the platform). True when the start succeeded; `error`, when
    // given, says why not.
    bool RunCommand(TProgramLauncher& launcher, QString* error = nullptr,
                    TLaunchWatch onEnd = {}) const;

    // Copies all nine fields.
    void Assign(const TKvCommandItem& item) { *this = item; }

    // True when the item has neither a title nor a file name.
    bool IsEmpty() const { return FTitle.isEmpty() && FFileName.isEmpty(); }

private:
    QString FTitle;
    QString FFileName;
    QString FOptionStr;
    bool FAsAdmin = false;
    bool FHideWindow = false;
    bool FAtStartup = false;
    bool FAtResume = false;
    bool FAtSpTime = false;
    double FSpTime = 0.0;
};

// Starts `fileName` with `params` through `launcher` (the platform); the one routine
// every command start goes through.
inline bool LaunchProgram(TProgramLauncher& launcher, const QString& fileName,
                          const QString& params, bool asAdmin, bool hide, QString* error = nullptr,
                          TLaunchWatch onEnd = {}) {
    return launcher.LaunchProgram(fileName, params, asAdmin, hide, error, std::move(onEnd));
}

inline bool TKvCommandItem::RunCommand(TProgramLauncher& launcher, QString* error,
                                       TLaunchWatch onEnd) const {
    return LaunchProgram(launcher, FFileName, FOptionStr, FAsAdmin, FHideWindow, error,
                         std::move(onEnd));
}

// The ordered list that owns its items. An index outside 0..Count()-1 (for Insert:
// 0..Count()) is a caller's error and throws std::out_of_range.
class TKvCommandList {
public:
    TKvCommandList() = default;
    TKvCommandList(const TKvCommandList&) = delete;
    TKvCommandList& operator=(const TKvCommandList&) = delete;

    int Count() const { return int(FItems.size()); }
    TKvCommandItem& Items(int index);
    const TKvCommandItem& Items(int index) const;

    // Appends the item and returns its index.
    int Add(std::unique_ptr<TKvCommandItem> item);
    void Insert(int index, std::unique_ptr<TKvCommandItem> item);
    // Deletes (frees) the item at `index`.
    void Delete(int index);
    // Deletes the first occurrence of `item` and returns its former index, or -1.
    int Remove(const TKvCommandItem* item);
    int IndexOf(const TKvCommandItem* item) const;
    void Clear() { FItems.clear(); }

    // Deletes every item without title and file name, except item 0 (the time sync).
    void DeleteEmptyItems();

    // Indexes, ascending, of the items that start at start-up, on resume, at a time.
    std::vector<int32_t> GetAtStartupArray() const;
    std::vector<int32_t> GetAtResumeArray() const;
    std::vector<int32_t> GetAtSpTimeArray() const;

private:
    void CheckIndex(int index, int upper) const;
    std::vector<std::unique_ptr<TKvCommandItem>> FItems;
};

// Splits a parameter text into words the way a POSIX shell splits them: blanks
// (space, tab, line feed) separate words; 'single quotes' keep everything literal;
// "double quotes" keep everything but \" \\ \$ \` and a backslash-newline; outside
// quotes a backslash makes the next character literal. Nothing is expanded: $VAR,
// $(...), `...`, *, ~, ; | & > and # stay literal text. Returns nothing (and the
// reason in `error`) for an unbalanced quote.
std::optional<QStringList> SplitCommandLine(const QString& text, QString* error = nullptr);

// Why a start failed, as the user is told it (the platform's own words go to
// standard error).
enum class TLaunchProblem {
    NoFileName,
    FileMissing,
    NotExecutableForAdmin,
    ParametersUnreadable,
    CannotStart
};
// The reason for a failed start of `fileName` with `params`, from what the clock
// can see itself: what the platform refuses before it tries, else CannotStart.
TLaunchProblem LaunchProblemOf(const QString& fileName, const QString& params, bool asAdmin);

} // namespace velmora
