#include "App.h"

#include "VelmoLib.h"

#include <QSocketNotifier>
#include <csignal>
#include <exception>
#include <sys/socket.h>
#include <unistd.h>

namespace velmora {

namespace {

// The write end of the self-pipe: a signal handler may only write to it.
int gSignalPipe[2] = {-1, -1};

void OnQuitSignal(int) {
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(gSignalPipe[1], &byte, 1);
}

} // namespace

TVelmoraApp::TVelmoraApp(int& argc, char** argv) : QApplication(argc, argv) {
    // The clock hides itself while an alarm blinks; that must not end the program.
    setQuitOnLastWindowClosed(false);
    // The end of the desktop session ends the clock as the quit action does.
    connect(this, &QGuiApplication::commitDataRequest, this, [] { QCoreApplication::quit(); });
}

TVelmoraApp::~TVelmoraApp() {
    if (gSignalPipe[0] >= 0) {
        for (int s : {SIGTERM, SIGINT, SIGHUP})
            std::signal(s, SIG_DFL);
        ::close(gSignalPipe[0]);
        ::close(gSignalPipe[1]);
        gSignalPipe[0] = gSignalPipe[1] = -1;
    }
}

void TVelmoraApp::InstallQuitSignals() {
    if (gSignalPipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalPipe))
        return;
    FSignalNotifier = new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read, this);
    connect(FSignalNotifier, &QSocketNotifier::activated, this, [] {
        char buf[16];
        [[maybe_unused]] ssize_t n = ::read(gSignalPipe[0], buf, sizeof buf);
        QCoreApplication::quit();
    });
    struct sigaction sa = {};
    sa.sa_handler = OnQuitSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        sigaction(s, &sa, nullptr);
}

bool TVelmoraApp::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowException(QStringLiteral("Unknown error."));
    }
    return false;
}

void TVelmoraApp::ShowException(const QString& text) {
    ShowMessageDialog(text, TMsgDlgType::Error, mbOK);
}

} // namespace velmora
