// The program's own process-wide state between tests.
//
// Every clock window loads a language into the program's tables at its start, as
// the program's one window does: each test starts from no language loaded, as a
// fresh program does, whichever tests ran before it.
//
// A message box the program queued is shown once the event loop runs: a test
// that ends with one still queued would show it inside a later test. Such a test
// fails here, with the box's text, and the box is dropped.
#include "app/LangFiles.h"
#include "app/MessageDialog.h"

#include <QApplication>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

class ProgramStateCheck : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override { velmora::ResetLangState(); }
    void OnTestEnd(const ::testing::TestInfo&) override {
        QStringList left;
        velmora::SetMessageDialogHook(
            [&left](const QString& text, velmora::TMsgDlgType, velmora::TMsgDlgButtons, QWidget*) {
                left << text;
                return velmora::mrOk;
            });
        QApplication::processEvents();
        velmora::SetMessageDialogHook({});
        if (!left.isEmpty())
            ADD_FAILURE() << "the test left message boxes queued: "
                          << left.join(QStringLiteral(" | ")).toStdString();
    }
};

// Registered before the first test runs; the list owns and deletes its listeners.
[[maybe_unused]] const bool kRegistered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new ProgramStateCheck);
    return true;
}();

} // namespace
