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
