#include "app/MessageDialog.h"

#include "core/MessageTable.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <algorithm>

namespace velmora {

namespace {

TMessageDialogHook& MessageHook() {
    static TMessageDialogHook hook;
    return hook;
}

} // namespace

void SetMessageDialogHook(TMessageDialogHook hook) {
    MessageHook() = std::move(hook);
}

QString MessageDialogCaption(const QString& languageCaption) {
    return languageCaption.isEmpty() ? QStringLiteral("Velmora [Information]") : languageCaption;
}

std::unique_ptr<QMessageBox> BuildMessageDialog(const QString& text, TMsgDlgType kind,
                                                TMsgDlgButtons buttons, QWidget* owner) {
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (kind) {
    case TMsgDlgType::Warning:
        icon = QMessageBox::Warning;
        break;
    case TMsgDlgType::Error:
        icon = QMessageBox::Critical;
        break;
    case TMsgDlgType::Information:
        icon = QMessageBox::Information;
        break;
    case TMsgDlgType::Confirmation:
        icon = QMessageBox::Question;
        break;
    }
    // Owned by this pointer, not by `owner`: the caller destroys it.
    auto box = std::make_unique<QMessageBox>(
        icon, MessageDialogCaption(Messages().MsgDialogCaption), text, QMessageBox::NoButton);
    Q_UNUSED(owner);
    if (buttons.testFlag(mbOK))
        box->addButton(QMessageBox::Ok);
    if (buttons.testFlag(mbCancel))
        box->addButton(QMessageBox::Cancel);
    if (box->buttons().isEmpty())
        box->addButton(QMessageBox::Ok);
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

int ShowMessageDialog(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons,
                      QWidget* owner) {
    if (MessageHook()) {
        const auto hook = MessageHook(); // the hook may replace itself
        return hook(text, kind, buttons, owner);
    }
    std::unique_ptr<QMessageBox> box = BuildMessageDialog(text, kind, buttons, owner);
    box->adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r = box->frameGeometry();
        r.moveCenter(screen->geometry().center());
        box->move(r.topLeft());
    }
    box->exec();
    return box->standardButton(box->clickedButton()) == QMessageBox::Cancel ? mrCancel : mrOk;
}

void AskMessageDialog(const QString& text, const QString& name, QWidget* owner,
                      std::function<void(bool ok)> answer) {
    if (MessageHook()) {
        const auto hook = MessageHook();
        QTimer::singleShot(0, QCoreApplication::instance(), [hook, text, owner, answer] {
            answer(hook(text, TMsgDlgType::Confirmation, mbOK | mbCancel, owner) == mrOk);
        });
        return;
    }
    for (QMessageBox* old : owner->findChildren<QMessageBox*>(name, Qt::FindDirectChildrenOnly))
        old->close();
    QMessageBox* box =
        BuildMessageDialog(text, TMsgDlgType::Confirmation, mbOK | mbCancel, owner).release();
    box->setParent(owner, box->windowFlags()); // the owner destroys a box still open
    box->setObjectName(name);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAttribute(Qt::WA_ShowWithoutActivating);
    box->setWindowModality(Qt::NonModal);
    QObject::connect(box, &QMessageBox::finished, box, [box, answer] {
        answer(box->standardButton(box->clickedButton()) == QMessageBox::Ok);
    });
    box->adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r = box->frameGeometry();
        r.moveCenter(screen->geometry().center());
        box->move(r.topLeft());
    }
    box->show();
}

TMessageQueue::TMessageQueue(TShow show) : FShow(std::move(show)) {
    if (!FShow)
        FShow = [](const QString& text, TMsgDlgType kind) { ShowMessageDialog(text, kind, mbOK); };
}

void TMessageQueue::Post(const QString& text, TMsgDlgType kind) {
    const bool repeat =
        FShowing == text || std::any_of(FWaiting.begin(), FWaiting.end(),
                                        [&text](const auto& m) { return m.first == text; });
    if (repeat)
        return;
    FWaiting.emplace_back(text, kind);
    Schedule();
}

void TMessageQueue::Schedule() {
    if (FScheduled || FShowing || FWaiting.empty())
        return;
    FScheduled = true;
    QTimer::singleShot(0, QCoreApplication::instance(), [this] {
        FScheduled = false;
        ShowNext();
    });
}

void TMessageQueue::ShowNext() {
    if (FShowing || FWaiting.empty())
        return;
    const auto [text, kind] = FWaiting.front();
    FWaiting.pop_front();
    FShowing = text;
    // The box runs its own event loop: whatever is posted meanwhile waits its turn.
    try {
        FShow(text, kind);
    } catch (...) {
        FShowing.reset();
        Schedule();
        throw;
    }
    FShowing.reset();
    Schedule();
}

TMessageQueue& PostedMessages() {
    static TMessageQueue queue;
    return queue;
}

void PostMessageDialog(const QString& text, TMsgDlgType kind) {
    PostedMessages().Post(text, kind);
}

} // namespace velmora
