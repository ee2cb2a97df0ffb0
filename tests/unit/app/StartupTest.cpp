#include "app/LangFiles.h"
#include "app/MessageDialog.h"
#include "app/SingleInstance.h"
#include "app/VelmoraApp.h"
#include "fakes/FakePlatform.h"
#include "unit/ScopedEnv.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

// Answers the next message box with `button` and records its caption and text.
struct BoxAnswerer {
    QString caption, text;
    explicit BoxAnswerer(QMessageBox::StandardButton button) {
        QTimer::singleShot(0, [this, button] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    caption = box->windowTitle();
                    text = box->text();
                    box->button(button)->click();
                }
        });
    }
};

} // namespace

TEST(MessageDialog, CaptionRuleKindsAndButtons) {
    EXPECT_EQ(MessageDialogCaption(QString()), "Velmora [Information]");
    EXPECT_EQ(MessageDialogCaption("Velmora [おしらせ]"), "Velmora [おしらせ]");

    struct Case {
        TMsgDlgType kind;
        QMessageBox::Icon icon;
    } cases[] = {{TMsgDlgType::Warning, QMessageBox::Warning},
                 {TMsgDlgType::Error, QMessageBox::Critical},
                 {TMsgDlgType::Information, QMessageBox::Information},
                 {TMsgDlgType::Confirmation, QMessageBox::Question}};
    Messages().MsgDialogCaption.clear();
    for (const auto& c : cases) {
        auto box = BuildMessageDialog("text", c.kind, mbOK, nullptr);
        EXPECT_EQ(box->icon(), c.icon);
        EXPECT_EQ(box->windowTitle(), "Velmora [Information]"); // whatever the kind
        EXPECT_EQ(box->buttons().size(), 1);
    }
    Messages().MsgDialogCaption = QStringLiteral("Velmora [おしらせ]");
    auto two =
        BuildMessageDialog("<b>not rich</b>", TMsgDlgType::Confirmation, mbOK | mbCancel, nullptr);
    EXPECT_EQ(two->windowTitle(), "Velmora [おしらせ]");
    EXPECT_EQ(two->buttons().size(), 2);
    EXPECT_EQ(two->textFormat(), Qt::PlainText); // file names are shown as they are
    Messages().MsgDialogCaption.clear();
}

TEST(MessageDialog, ModalResults) {
    {
        BoxAnswerer answer(QMessageBox::Ok);
        EXPECT_EQ(ShowMessageDialog("q", TMsgDlgType::Confirmation, mbOK | mbCancel), mrOk);
    }
    {
        BoxAnswerer answer(QMessageBox::Cancel);
        EXPECT_EQ(ShowMessageDialog("q", TMsgDlgType::Confirmation, mbOK | mbCancel), mrCancel);
    }
}

TEST(Startup, SecondInstanceShowsNoticeAndActivatesTheFirst) {
    FakePlatform p;
    p.LockFree = false;
    BoxAnswerer answer(QMessageBox::Ok);
    EXPECT_TRUE(IsAlreadyRunning(p, kMutexName));
    EXPECT_EQ(answer.text, "Velmora is already running.");
    EXPECT_EQ(answer.caption, "Velmora [Information]");
    EXPECT_EQ(p.Calls,
              (QStringList{"lock:VelmoLimitMultiInstance", "activate:VelmoLimitMultiInstance"}));

    FakePlatform first;
    EXPECT_FALSE(IsAlreadyRunning(first, kMutexName));
    EXPECT_EQ(first.Calls, QStringList{"lock:VelmoLimitMultiInstance"});
}

TEST(Startup, NoPrivateRuntimeFolderIsSaidAndTheClockRunsUnguarded) {
    FakePlatform p;
    p.Refused = "/tmp/velmora-1000";
    BoxAnswerer answer(QMessageBox::Ok);
    EXPECT_FALSE(IsAlreadyRunning(p, kMutexName));
    EXPECT_TRUE(answer.text.contains("/tmp/velmora-1000")) << answer.text.toStdString();
    EXPECT_EQ(answer.text, FormatMsg(FallbackText("MsgErrorCannotOpenItem"), {p.Refused}));
    EXPECT_TRUE(p.Calls.isEmpty()) << "no lock, no activation in a folder others share";
}

TEST(Startup, WindowPicturesGoAsPlainImageRequestsUnlessTheUserChose) {
    const ScopedEnv mitShm("QT_XCB_NO_MITSHM");
    mitShm.Unset();
    TVelmoraApp::ChooseImageTransfer();
    EXPECT_EQ(qgetenv("QT_XCB_NO_MITSHM"), QByteArray("1"));
    // The user's own choice, either way, stands.
    mitShm.Set("0");
    TVelmoraApp::ChooseImageTransfer();
    EXPECT_EQ(qgetenv("QT_XCB_NO_MITSHM"), QByteArray("0"));
    mitShm.Set("");
    TVelmoraApp::ChooseImageTransfer();
    EXPECT_EQ(qgetenv("QT_XCB_NO_MITSHM"), QByteArray());
}
