// Program entry: the start-up checks, the single instance, the clock window.
#include "app/SingleInstance.h"
#include "app/VelmoraApp.h"
#include "app/clock/ClockCommands.h"
#include "app/clock/MainForm.h"
#include "core/Clock.h"
#include "core/CommandLine.h"
#include "core/Settings.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

using namespace velmora;

// The packaged build (installed under /usr) keeps the user's files in the XDG
// folders; the portable one beside itself.
constexpr TBuildKind kBuildKind = VELMORA_PACKAGED ? TBuildKind::Packaged : TBuildKind::Portable;

TProgramPaths ThisProgramPaths() {
    return ProgramPathsFor(kBuildKind, QCoreApplication::applicationFilePath(), ProcessEnv);
}

QStringList ArgumentsAfterProgram(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

// --version, --help or a refused line: answered on the terminal, without a window
// and without the instance lock.
int AnswerCommandLine(const TCommandLine& line, int argc, char** argv) {
    const QCoreApplication app(argc, argv);
    const QString name = QStringLiteral("velmora");
    if (line.Action == TStartAction::Refuse) {
        std::fputs(qPrintable(name + QStringLiteral(": ") + line.Error + QLatin1Char('\n') +
                              UsageHint(name)),
                   stderr);
        return kUsageExitCode;
    }
    const TProgramPaths paths = ThisProgramPaths();
    const QString text =
        line.Action == TStartAction::ShowVersion
            ? VersionText(name, QStringLiteral(VELMORA_VERSION))
            : UsageText(name, paths.IniFileName,
                        paths.DataDir.isEmpty() ? QString()
                                                : paths.DataDir + QStringLiteral("/Lang/"));
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    using namespace velmora;
    const TCommandLine commandLine = ParseCommandLine(ArgumentsAfterProgram(argc, argv));
    if (commandLine.Action != TStartAction::Run)
        return AnswerCommandLine(commandLine, argc, argv);
    // Keeping a window above or below all others, placing and moving it are X11
    // features; under a Wayland session the clock runs through XWayland.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    TVelmoraApp::ChooseImageTransfer();
    TVelmoraApp app(argc, argv);
    TVelmoraApp::setApplicationName(QStringLiteral("velmora"));
    const TProgramPaths paths = ThisProgramPaths();
    const std::unique_ptr<Platform> platform = CreatePlatform();

    if (IsAlreadyRunning(*platform, kMutexName))
        return 0;

    SystemClock clock;
    int result = 0;
    {
        // Listening starts before the window is built: a second start during a
        // start-up message must get its answer. What it asks waits for the window.
        TMainForm* form = nullptr;
        bool activatePending = false;
        bool quitPending = false;
        platform->ListenForRequests(
            kMutexName,
            [&form, &activatePending] {
                if (form)
                    form->ActivateFromOtherInstance();
                else
                    activatePending = true;
            },
            [&form](const QByteArray& line) {
                if (form)
                    form->Commands().HandleInstanceMessage(line);
            });
        platform->WatchQuitRequests([&form, &quitPending] {
            // Before the loop runs (a start-up message is open) a quit would be lost.
            quitPending = !form;
            if (form)
                form->StopTimers();
            QCoreApplication::quit();
        });
        TMainForm mainForm(*platform, clock, paths);
        form = &mainForm;
        mainForm.show();
        if (activatePending)
            mainForm.ActivateFromOtherInstance();
        if (quitPending)
            QMetaObject::invokeMethod(&app, &QCoreApplication::quit, Qt::QueuedConnection);
        result = app.exec();
        platform->StopListening();
        form = nullptr;
    }
    Q_UNUSED(result);
    return 0;
}
