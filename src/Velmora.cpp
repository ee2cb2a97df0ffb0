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
    app.InstallQuitSignals();

    SystemClock clock;
    int result = 0;
    {
        TMainForm form(*platform, clock, iniFileName);
        platform->ListenForRequests(
            kMutexName, [&form] { form.ActivateFromOtherInstance(); },
            [&form](const QByteArray& line) { form.HandleInstanceMessage(line); });
        form.show();
        result = app.exec();
        platform->StopListening();
    }
    Q_UNUSED(result);
    return 0;
}
