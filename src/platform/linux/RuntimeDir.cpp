#include "platform/linux/RuntimeDir.h"

#include <QFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

TDirFacts ReadDirFacts(const QString& path) {
    TDirFacts facts;
    struct stat st {};
    if (path.isEmpty() || lstat(QFile::encodeName(path).constData(), &st) != 0)
        return facts;
    facts.Exists = true;
    facts.IsSymlink = S_ISLNK(st.st_mode);
    facts.IsFolder = S_ISDIR(st.st_mode);
    facts.Owner = st.st_uid;
    facts.Mode = st.st_mode & 07777;
    return facts;
}

TDirProblem CheckPrivateDir(const TDirFacts& facts, uid_t user) {
    if (!facts.Exists)
        return TDirProblem::Missing;
    if (facts.IsSymlink)
        return TDirProblem::Symlink;
    if (!facts.IsFolder)
        return TDirProblem::NotFolder;
    if (facts.Owner != user)
        return TDirProblem::WrongOwner;
    if (facts.Mode != 0700)
        return TDirProblem::WrongMode;
    return TDirProblem::None;
}

const char* DirProblemText(TDirProblem problem) {
    switch (problem) {
    case TDirProblem::None:
        return "usable";
    case TDirProblem::Missing:
        return "it does not exist";
    case TDirProblem::Symlink:
        return "it is a symbolic link";
    case TDirProblem::NotFolder:
        return "it is not a folder";
    case TDirProblem::WrongOwner:
        return "it belongs to another user";
    case TDirProblem::WrongMode:
        return "others may use it (its mode is not 700)";
    case TDirProblem::CannotCreate:
        return "it cannot be created";
    }
    return "?";
}

TRuntimeDir ResolveRuntimeDir(const QString& xdgRuntimeDir, uid_t user, const QString& tempRoot) {
    TRuntimeDir out;
    if (!xdgRuntimeDir.isEmpty() &&
        CheckPrivateDir(ReadDirFacts(xdgRuntimeDir), user) == TDirProblem::None) {
        out.Path = xdgRuntimeDir;
        return out;
    }
    const QString own = tempRoot + QStringLiteral("/velmora-%1").arg(user);
    const QByteArray native = QFile::encodeName(own);
    if (mkdir(native.constData(), 0700) == 0) {
        // A restrictive umask may have taken bits away; the folder is new and ours.
        chmod(native.constData(), 0700);
    } else if (errno != EEXIST) {
        out.Refused = own;
        out.Problem = TDirProblem::CannotCreate;
        return out;
    }
    // Made just now or found: either way it is checked, since another user may
    // have put something there first.
    out.Problem = CheckPrivateDir(ReadDirFacts(own), user);
    if (out.Problem == TDirProblem::None)
        out.Path = own;
    else
        out.Refused = own;
    return out;
}

TRuntimeDir RuntimeDirFromEnvironment() {
    return ResolveRuntimeDir(qEnvironmentVariable("XDG_RUNTIME_DIR"), getuid());
}

} // namespace velmora
