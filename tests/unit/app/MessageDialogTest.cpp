// The message-box hook.
#include "app/MessageDialog.h"

#include <QStringList>
#include <gtest/gtest.h>

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
