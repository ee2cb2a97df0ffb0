// The command list in the settings file: a "CommandList" section with the count and
// one "Command<n>" section per command. Pure functions over an open document, so the
// settings load and save call them as their last steps.
#pragma once

#include "core/IniDocument.h"
#include "core/KvCommandList.h"

#include <QString>
#include <functional>

namespace velmora {

// The most commands the list holds: more than a person can choose from a menu.
// A file with more keeps the rest in its sections; they are not loaded.
inline constexpr int32_t kMaxCommandCount = 1000;

// The public NTP server command 0 asks when no section names another.
inline constexpr char kDefaultNtpServer[] = "pool.ntp.org";
// The title of command 0 read from a section that has no Title key.
QString DefaultCommand0SectionTitle();
// The sync tool beside the program: `programDir` + "/Sync/VelmoSync".
QString SyncToolPath(const QString& programDir);

// The built-in command 0 for a file without one: the language's `command0Title`,
// the sync tool `syncTool`, the default NTP server, administrator rights on.
std::unique_ptr<TKvCommandItem> BuiltInCommand0(const QString& command0Title,
                                                const QString& syncTool);

// Turns a program file's name from its form in memory into its form in the file,
// or back (the settings keep files of the program's own folder relative to it).
using TPathForm = std::function<QString(const QString&)>;

// Appends the commands of `doc` to `list` (which the caller has emptied). Command 0
// always comes first; later commands are read up to CommandList/Count, the first
// missing section or kMaxCommandCount, whichever comes first. A command 0 without
// a file name runs `syncTool`. `fromFile`, when given, turns each stored file name
// into the one used. True when the file holds more commands than that limit (the
// caller tells the user that the rest was left out).
bool LoadCommandList(const IniDocument& doc, TKvCommandList& list, const QString& command0Title,
                     const QString& syncTool, const TPathForm& fromFile = {});

// Erases the command sections of the previous save and writes the list anew at the
// end of `doc` (the caller then writes the file). `toFile`, when given, turns each
// file name into the form the file keeps.
void SaveCommandSections(IniDocument& doc, const TKvCommandList& list,
                         const TPathForm& toFile = {});

} // namespace velmora
