// Utility routines shared by the forms: message boxes, the start-up checks.
#pragma once

#include "core/MsgDlgType.h"

#include <QFlags>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

class QFileDialog;
class QFont;
class QFontMetrics;
class QImage;
class QLineEdit;
class QMessageBox;
class QWidget;

namespace velmora {

class Platform;

// Makes the program's own pictures (":/app/...") available; call before loading one.
void RegisterAppResources();

enum TMsgDlgBtn { mbOK = 1, mbCancel = 2 };
Q_DECLARE_FLAGS(TMsgDlgButtons, TMsgDlgBtn)
Q_DECLARE_OPERATORS_FOR_FLAGS(TMsgDlgButtons)

inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

inline const QString kApplicationTitle = QStringLiteral("Velmora");
inline const QString kMutexName = QStringLiteral("VelmoLimitMultiInstance");

// The caption of every message box: the language's caption, or while that is
// empty "Velmora [Information]", whatever the kind of message.
QString MessageDialogCaption(const QString& languageCaption);

// The dialog ShowMessageDialog shows (built apart so that it can be inspected).
std::unique_ptr<QMessageBox> BuildMessageDialog(const QString& text, TMsgDlgType kind,
                                                TMsgDlgButtons buttons, QWidget* owner);
// Shows a modal message box centred on the screen; returns mrOk or mrCancel.
int ShowMessageDialog(const QString& text, TMsgDlgType kind, TMsgDlgButtons buttons,
                      QWidget* owner = nullptr);

// Answers every ShowMessageDialog in place of a box while set (tests: what was
// asked, and the button the user would press); an empty hook restores the box.
using TMessageDialogHook = std::function<int(const QString& text, TMsgDlgType kind,
                                             TMsgDlgButtons buttons, QWidget* owner)>;
void SetMessageDialogHook(TMessageDialogHook hook);

// --- helpers of the options dialog -------------------------------------------------

// Fills the image with a 4-pixel checkerboard of white and silver (192, 192, 192),
// the top-left square silver: the mark of a see-through background.
void DrawTransparentMark(QImage& image);
// Draws a red cross corner to corner over the image: the mark of "no outline".
void DrawNoBorderMark(QImage& image);
// Selects all of the edit's text (its double-click handler).
void EditDblClick(QLineEdit* edit);
// Presets an open-file dialog: the file when it exists (else no file), its
// folder when that exists (else `fallbackDir`, the program's folder), and the
// filter, given as "Description|*.a;*.b" pairs separated by "|".
void PrepareOpenDialog(QFileDialog& dialog, const QString& fileName, const QString& filter,
                       const QString& fallbackDir);
// The name filters of a "Description|*.a;*.b|..." filter text, as the dialog takes them.
QStringList OpenDialogNameFilters(const QString& filter);
// The top margin that centres a line of the font in a row `rowHeight` high:
// truncated when the line fits, rounded half to even when it does not.
int GetTextTopMargin(const QFontMetrics& metrics, int rowHeight);
// The font's style as text: "Roman" without style, else "Bold, Italic, Underline,
// StrikeOut" as far as set, in that order.
QString GetFontStyleStr(const QFont& font);
QString GetFontStyleStr(int fontStyleBits);

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

// True (after the notice and asking the running clock to come to the front) when
// another instance holds `name`; otherwise this process now holds it.
bool IsAlreadyRunning(Platform& platform, const QString& name);

} // namespace velmora
