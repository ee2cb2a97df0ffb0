// The application object: the general exception handler and the orderly end on
// signals and at the end of the desktop session.
#pragma once

#include <QApplication>

class QSocketNotifier;

namespace velmora {

class TVelmoraApp : public QApplication {
    Q_OBJECT
public:
    TVelmoraApp(int& argc, char** argv);
    ~TVelmoraApp() override;

    // An error that escaped an event handler: shown in an error message box,
    // and the program goes on.
    bool notify(QObject* receiver, QEvent* event) override;
    static void ShowException(const QString& text);

    // SIGTERM, SIGINT and SIGHUP end the event loop as the quit action does, so
    // that the clock saves its settings on the way out.
    void InstallQuitSignals();

private:
    QSocketNotifier* FSignalNotifier = nullptr;
};

} // namespace velmora
