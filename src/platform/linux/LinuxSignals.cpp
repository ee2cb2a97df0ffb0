// The end of the process on request: SIGTERM, SIGINT and SIGHUP reach the event
// loop through a self-pipe, since a signal handler may do nothing but write to it.
#include "platform/linux/LinuxPlatform.h"

#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace velmora {

namespace {

int gSignalPipe[2] = {-1, -1};

void OnQuitSignal(int) {
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(gSignalPipe[1], &byte, 1);
}

constexpr int kQuitSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Owns the pipe and the handlers; gives the default handlers back when it goes.
class QuitSignalWatch : public QObject {
public:
    explicit QuitSignalWatch(std::function<void()> onQuit) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalPipe) != 0) {
            gSignalPipe[0] = gSignalPipe[1] = -1;
            return;
        }
        auto* notifier = new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [onQuit = std::move(onQuit)] {
            char buf[16];
            [[maybe_unused]] ssize_t n = ::read(gSignalPipe[0], buf, sizeof buf);
            if (onQuit)
                onQuit();
        });
        struct sigaction sa = {};
        sa.sa_handler = OnQuitSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        for (int s : kQuitSignals)
            sigaction(s, &sa, nullptr);
    }
    ~QuitSignalWatch() override {
        if (gSignalPipe[0] < 0)
            return;
        for (int s : kQuitSignals)
            std::signal(s, SIG_DFL);
        ::close(gSignalPipe[0]);
        ::close(gSignalPipe[1]);
        gSignalPipe[0] = gSignalPipe[1] = -1;
    }
};

} // namespace

void LinuxPlatform::WatchQuitRequests(std::function<void()> onQuit) {
    quitWatch_.reset(); // one watch at a time: the pipe is the process's
    quitWatch_ = std::make_unique<QuitSignalWatch>(std::move(onQuit));
}

} // namespace velmora
