// Starting the user's commands. The program is executed directly with its words,
// never through a shell, so a parameter text can never run anything else.
#include "core/KvCommandList.h"
#include "platform/linux/LinuxPlatform.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstring>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace velmora {

namespace {

bool Fail(QString* error, const QString& reason) {
    if (error)
        *error = reason;
    return false;
}

bool StartDetached(const QString& program, const QStringList& args, const QString& dir,
                   QString* error) {
    if (QProcess::startDetached(program, args, dir))
        return true;
    return Fail(error, QStringLiteral("\"%1\" could not be started.").arg(program));
}

// The exit code of an ended child, or -1 when a signal ended it.
int ExitCodeOf(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Calls `onEnded` with the exit code once the child `pid` has ended, and reaps it.
// A pidfd wakes the event loop exactly then; where the kernel has none, the
// child is looked at a few times a second while it runs.
void WatchChild(pid_t pid, QObject* owner, std::function<void(int)> onEnded) {
    const int pidfd = int(syscall(SYS_pidfd_open, pid, 0));
    if (pidfd >= 0) {
        auto* notifier = new QSocketNotifier(pidfd, QSocketNotifier::Read, owner);
        QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                         [notifier, pid, pidfd, onEnded] {
                             int status = 0;
                             if (waitpid(pid, &status, WNOHANG) == 0)
                                 return;
                             notifier->setEnabled(false);
                             notifier->deleteLater();
                             close(pidfd);
                             onEnded(ExitCodeOf(status));
                         });
        return;
    }
    auto* timer = new QTimer(owner);
    timer->setInterval(250);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, pid, onEnded] {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == 0)
            return;
        timer->stop();
        timer->deleteLater();
        onEnded(done == pid ? ExitCodeOf(status) : -1);
    });
    timer->start();
}

} // namespace

TLaunchEnd ElevatedLaunchEnd(int exitCode) {
    switch (exitCode) {
    case 126:
        return TLaunchEnd::Dismissed;
    case 127:
        return TLaunchEnd::NotAuthorised;
    default:
        return TLaunchEnd::Ran;
    }
}

bool LinuxPlatform::StartWatched(const QStringList& argv, const QString& dir, bool elevated,
                                 TLaunchWatch onEnd, QString* error) {
    // Everything the child needs is made before it exists.
    std::vector<QByteArray> words;
    for (const QString& w : argv)
        words.push_back(w.toLocal8Bit());
    std::vector<char*> args;
    for (QByteArray& w : words)
        args.push_back(w.data());
    args.push_back(nullptr);
    const QByteArray folder = QFile::encodeName(dir);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.constData());
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (int sig : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGCHLD})
        sigaddset(&defaults, sig);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &defaults);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, args[0], &actions, &attr, args.data(), environ);
    posix_spawnattr_destroy(&attr);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return Fail(error, QStringLiteral("\"%1\" could not be started: %2")
                               .arg(argv.front(), QString::fromLocal8Bit(strerror(rc))));
    WatchChild(pid, watches_.get(), [elevated, onEnd](int code) {
        const TLaunchEnd end = elevated ? ElevatedLaunchEnd(code) : TLaunchEnd::Ran;
        if (onEnd)
            onEnd(end);
    });
    return true;
}

// Without a general way to start another program's window hidden on this desktop,
// `hide` has no effect; programs without a window show nothing in any case.
bool LinuxPlatform::LaunchProgram(const QString& fileName, const QString& params, bool asAdmin,
                                  bool, QString* error, TLaunchWatch onEnd) {
    if (fileName.isEmpty())
        return Fail(error, QStringLiteral("No file name is given."));
    const QFileInfo info(fileName);
    if (!info.exists())
        return Fail(error, QStringLiteral("The file \"%1\" does not exist.").arg(fileName));
    const QString path = info.absoluteFilePath();
    const QString dir = info.absolutePath();
    const bool executable = info.isFile() && info.isExecutable();

    // Administrator rights go to a program the user named, never to whatever
    // application happens to open a document.
    if (asAdmin && !executable)
        return Fail(error, QStringLiteral("\"%1\" is not an executable program; only programs "
                                          "can be started with administrator rights.")
                               .arg(fileName));
    // A document or a folder opens with the desktop's own choice of program.
    if (!executable)
        return StartDetached(helpers_.Opener, {path}, dir, error);

    QString splitError;
    const std::optional<QStringList> words = SplitCommandLine(params, &splitError);
    if (!words)
        return Fail(error, QStringLiteral("The parameters cannot be read: %1").arg(splitError));

    if (asAdmin) {
        // The helper runs the program's absolute path with the same words, in the
        // program's folder; its outcome is known only when the user has answered.
        const QStringList argv =
            QStringList{helpers_.Elevator, QStringLiteral("--keep-cwd"), path} + *words;
        return StartWatched(argv, dir, true, std::move(onEnd), error);
    }
    if (onEnd)
        return StartWatched(QStringList{path} + *words, dir, false, std::move(onEnd), error);
    return StartDetached(path, *words, dir, error);
}

} // namespace velmora
