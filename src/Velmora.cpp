// Program entry: the start-up checks, the single instance, the clock window.
#include "App.h"
#include "Clock.h"
#include "Main.h"
#include "Settings.h"
#include "VelmoLib.h"
#include "platform/Platform.h"

int main(int argc, char** argv) {
    using namespace velmora;
    // Keeping a window above or below all others, placing and moving it are X11
    // features; under a Wayland session the clock runs through XWayland.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    TVelmoraApp app(argc, argv);
    TVelmoraApp::setApplicationName(QStringLiteral("velmora"));
    const QString iniFileName = IniFileNameFor(TVelmoraApp::applicationFilePath());
    const std::unique_ptr<Platform> platform = CreatePlatform();

    if (!CheckWindowsVersion(*platform, 5, 1))
        return 0;
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
                    form->HandleInstanceMessage(line);
            });
        platform->WatchQuitRequests([&form, &quitPending] {
            // Before the loop runs (a start-up message is open) a quit would be lost.
            quitPending = !form;
            if (form)
                form->StopTimers();
            QCoreApplication::quit();
        });
        TMainForm mainForm(*platform, clock, iniFileName);
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
