// The program's message boxes: one modal box centred on the screen, its caption
// from the message table, a hook that answers in its place (tests), and a queue
// for messages asked for where no modal loop may run.
#pragma once

#include "core/MsgDlgType.h"

#include <QFlags>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

class QMessageBox;
class QWidget;

namespace velmora {

enum TMsgDlgBtn { mbOK = 1, mbCancel = 2 };
Q_DECLARE_FLAGS(TMsgDlgButtons, TMsgDlgBtn)
Q_DECLARE_OPERATORS_FOR_FLAGS(TMsgDlgButtons)

inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

// The caption of every message box: the language's caption, or while that is
// empty "Velmora [Information]", whatever the kind of message.
QString MessageDialogCaption(const QString& languageCaption);

// The dialog ShowMessageDialog shows (built apart so that it can be inspected).
std::unique_ptr<QMessageBox> BuildMessageDialog(const QString& text, TMsgDlgType kind,
                                                TMsgDlgButtons buttons, QWidget* owner);
// Shows a modal message box centred on the screen; returns mrOk or mrCancel.
int ShowMessageDialog(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons,
                      QWidget* owner = nullptr);

// Asks an OK-or-Cancel question in a box that does not wait: the caller goes on
// at once and `answer` is called (true for OK) when the box is closed. The box
// is owned by `owner` (a window) and does not take the keyboard focus: the
// question may come seconds after the user's request, while the user types
// elsewhere. A box asked under the same `name` before is closed (as Cancel)
// first. With the hook set, the hook answers, from the event loop.
void AskMessageDialog(const QString& text, const QString& name, QWidget* owner,
                      std::function<void(bool ok)> answer);

// Answers every ShowMessageDialog in place of a box while set (tests: what was
// asked, and the button the user would press); an empty hook restores the box.
using TMessageDialogHook = std::function<int(const QString& text, TMsgDlgType kind,
                                             TMsgDlgButtons buttons, QWidget* owner)>;
void SetMessageDialogHook(TMessageDialogHook hook);

// Messages asked for where no modal loop may run (a timer tick and its
// time-of-day checks, the general error handler): each is queued to the event
// loop, so the clock keeps ticking behind the box. One box is open at a time; a
// text already waiting or on screen is not queued again, so an error that repeats
// every second shows once, not as a stack of boxes.
class TMessageQueue {
public:
    using TShow = std::function<void(const QString& text, TMsgDlgType kind)>;
    // `show` opens the box and returns when it is closed (ShowMessageDialog by default).
    explicit TMessageQueue(TShow show = {});
    void Post(const QString& text, TMsgDlgType kind);
    qsizetype Waiting() const { return qsizetype(FWaiting.size()); }
    bool Showing() const { return FShowing.has_value(); }

private:
    void Schedule();
    void ShowNext();

    TShow FShow;
    std::deque<std::pair<QString, TMsgDlgType>> FWaiting;
    std::optional<QString> FShowing;
    bool FScheduled = false;
};
// The program's queue.
TMessageQueue& PostedMessages();
// PostedMessages().Post(text, kind): never blocks.
void PostMessageDialog(const QString& text, TMsgDlgType kind);

} // namespace velmora
