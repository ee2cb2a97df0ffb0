// Test entry: a QApplication exists for every test, as in the program.
//
// Each test must leave the process as it found it: the environment, the default
// locale and the working folder are shared by every later test, so a change one
// test forgets makes another pass or fail by the order they run in. A test that
// leaves one changed fails here, and the state is put back for the next.
#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

class ProcessStateCheck : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override {
        FEnvironment = QProcessEnvironment::systemEnvironment();
        FLocale = QLocale();
        FFolder = QDir::currentPath();
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        const QStringList changed = RestoreEnvironment();
        if (!changed.isEmpty())
            ADD_FAILURE() << "the test left the environment changed: "
                          << changed.join(QStringLiteral(", ")).toStdString();
        if (QLocale() != FLocale) {
            ADD_FAILURE() << "the test left the default locale changed: "
                          << QLocale().name().toStdString();
            QLocale::setDefault(FLocale);
        }
        if (QDir::currentPath() != FFolder) {
            ADD_FAILURE() << "the test left the working folder changed: "
                          << QDir::currentPath().toStdString();
            QDir::setCurrent(FFolder);
        }
    }

private:
    // Puts back every variable the test set, changed or removed; their names.
    QStringList RestoreEnvironment() const {
        const QProcessEnvironment now = QProcessEnvironment::systemEnvironment();
        QStringList changed;
        for (const QString& name : now.keys())
            if (!FEnvironment.contains(name)) {
                changed << name;
                qunsetenv(name.toLocal8Bit().constData());
            }
        for (const QString& name : FEnvironment.keys())
            if (!now.contains(name) || now.value(name) != FEnvironment.value(name)) {
                changed << name;
                qputenv(name.toLocal8Bit().constData(), FEnvironment.value(name).toLocal8Bit());
            }
        return changed;
    }

    QProcessEnvironment FEnvironment;
    QLocale FLocale;
    QString FFolder;
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // The list owns and deletes its listeners.
    ::testing::UnitTest::GetInstance()->listeners().Append(new ProcessStateCheck);
    return RUN_ALL_TESTS();
}
