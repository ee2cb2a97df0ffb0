// The application object: the general exception handler and the orderly end at
// the end of the desktop session.
#pragma once

#include <QApplication>

namespace velmora {

class TVelmoraApp : public QApplication {
    Q_OBJECT
public:
    TVelmoraApp(int& argc, char** argv);
    ~TVelmoraApp() override;

    // An error that escaped an event handler: shown in an error message box,
    // queued so that no handler waits on it, and the program goes on.
    bool notify(QObject* receiver, QEvent* event) override;
    static void ShowException(const QString& text);
    // Before the application object exists: how the windows' pictures reach the
    // X server (plain image requests, unless the user's environment says otherwise).
    static void ChooseImageTransfer();
};

} // namespace velmora
