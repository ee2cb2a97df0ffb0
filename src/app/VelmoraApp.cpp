#include "app/VelmoraApp.h"

#include "app/LangFiles.h"
#include "app/MessageDialog.h"

#include <QTextStream>
#include <exception>

namespace velmora {

TVelmoraApp::TVelmoraApp(int& argc, char** argv) : QApplication(argc, argv) {
    // The clock hides itself while an alarm blinks; that must not end the program.
    setQuitOnLastWindowClosed(false);
    // The end of the desktop session ends the clock as the quit action does.
    connect(this, &QGuiApplication::commitDataRequest, this, [] { QCoreApplication::quit(); });
}

TVelmoraApp::~TVelmoraApp() = default;

void TVelmoraApp::ChooseImageTransfer() {
    // The clock's window is a few thousand pixels: shared memory saves it no copy
    // worth having, and the toolkit makes each repaint of a window whose last
    // picture went through shared memory wait for the X server's reply first (one
    // more wake-up every second). A plain image request needs no reply. The
    // variable is read once, when the display connection opens; a user who set it
    // either way keeps the choice.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
}

bool TVelmoraApp::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowException(UserErrorText(e));
    } catch (...) {
        ShowException(QStringLiteral("Unknown error."));
    }
    return false;
}

void TVelmoraApp::ShowException(const QString& text) {
    QTextStream(stderr) << "velmora: " << text << Qt::endl;
    // Never a modal loop here: the error may come from a timer tick, and a handler
    // that fails every second must not stack its boxes.
    PostMessageDialog(text, TMsgDlgType::Error);
}

} // namespace velmora
