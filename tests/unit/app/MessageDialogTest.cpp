// The message-box hook.
#include "app/MessageDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <gtest/gtest.h>
#include <vector>

using namespace velmora;

TEST(VelmoLib, MessageHookAnswersInPlaceOfTheBox) {
    QStringList asked;
    SetMessageDialogHook(
        [&](const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons, QWidget*) {
            asked << QStringLiteral("%1|%2|%3").arg(text).arg(int(kind)).arg(int(buttons));
            return mrCancel;
        });
    EXPECT_EQ(ShowMessageDialog("sure?", TMsgDlgType::Confirmation, mbOK | mbCancel), mrCancel);
    SetMessageDialogHook({});
    EXPECT_EQ(asked, QStringList{"sure?|3|3"});
}

TEST(VelmoLib, AQuestionThatDoesNotWait) {
    QWidget owner;
    std::vector<int> answers; // 1 OK, 0 Cancel, in the order given
    const auto ask = [&](const QString& text) {
        AskMessageDialog(text, "Question", &owner,
                         [&answers](bool ok) { answers.push_back(ok ? 1 : 0); });
    };
    ask("first?");
    // The call has returned with the box open: nothing waited for it.
    auto boxes = owner.findChildren<QMessageBox*>("Question");
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes.front()->isVisible());
    EXPECT_EQ(boxes.front()->windowModality(), Qt::NonModal);
    EXPECT_TRUE(boxes.front()->testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(answers.empty());
    // A newer question closes the older one, which counts as Cancel.
    ask("second?");
    EXPECT_EQ(answers, std::vector<int>{0});
    QApplication::processEvents(); // the closed box is deleted later
    boxes = owner.findChildren<QMessageBox*>("Question");
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes.front()->text(), "second?");
    boxes.front()->button(QMessageBox::Ok)->click();
    EXPECT_EQ(answers, (std::vector<int>{0, 1}));
}
