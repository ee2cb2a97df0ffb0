// The private folder for runtime files: the instance lock, the instance socket,
// the sync tool's lock. Another user who could create or replace these files
// could keep the clock from starting or read what the sync tool reports, so a
// folder is used only when it belongs to this user alone.
//
// Toolkit-light (Qt Core and POSIX only) so that the sync tool shares it.
#pragma once

#include <QString>
#include <sys/types.h>

namespace velmora {

enum class TDirProblem { None, Missing, Symlink, NotFolder, WrongOwner, WrongMode, CannotCreate };

// What lstat says about a path; a symbolic link is never followed.
struct TDirFacts {
    bool Exists = false;
    bool IsSymlink = false;
    bool IsFolder = false;
    uid_t Owner = 0;
    mode_t Mode = 0; // the permission bits
};

TDirFacts ReadDirFacts(const QString& path);
// None when the facts describe a real folder owned by `user` with mode 700.
TDirProblem CheckPrivateDir(const TDirFacts& facts, uid_t user);
// For standard error.
const char* DirProblemText(TDirProblem problem);

struct TRuntimeDir {
    QString Path;    // the folder to use; empty when none could be had
    QString Refused; // with an empty Path: the folder that failed its check
    TDirProblem Problem = TDirProblem::None;
};

// $XDG_RUNTIME_DIR when it passes the check, else <tempRoot>/velmora-<uid>,
// made with mode 700 when missing and checked before use.
TRuntimeDir ResolveRuntimeDir(const QString& xdgRuntimeDir, uid_t user,
                              const QString& tempRoot = QStringLiteral("/tmp"));
// The same for this process.
TRuntimeDir RuntimeDirFromEnvironment();

} // namespace velmora
