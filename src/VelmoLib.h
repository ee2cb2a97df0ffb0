// Utility routines shared by the forms: message boxes, the start-up checks.
#pragma once

#include <QFlags>
#include <QString>
#include <memory>

class QMessageBox;
class QWidget;

namespace velmora {

class Platform;

enum class TMsgDlgType { Warning, Error, Information, Confirmation };
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

// False (after a warning) when the system is older than major.minor.
bool CheckWindowsVersion(Platform& platform, int major, int minor);
// True (after the notice and asking the running clock to come to the front) when
// another instance holds `name`; otherwise this process now holds it.
bool IsAlreadyRunning(Platform& platform, const QString& name);

} // namespace velmora
