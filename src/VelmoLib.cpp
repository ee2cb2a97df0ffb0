#include "VelmoLib.h"

#include "Lang.h"
#include "platform/Platform.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace velmora {

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

bool CheckWindowsVersion(Platform& platform, int major, int minor) {
    if (platform.VersionAtLeast(major, minor))
        return true;
    ShowMessageDialog(QStringLiteral("Velmora needs Windows XP or later."), TMsgDlgType::Warning,
                      mbOK);
    return false;
}

bool IsAlreadyRunning(Platform& platform, const QString& name) {
    QString refused;
    if (platform.RuntimeDir(&refused).isEmpty()) {
        // No folder of this user alone for the lock and the channel: the clock runs
        // unguarded rather than share them with others (why: standard error). The
        // language file is not read yet, so the text is the table's built-in one.
        const QString text = Messages().MsgErrorCannotOpenItem.isEmpty()
                                 ? FallbackText(QStringLiteral("MsgErrorCannotOpenItem"))
                                 : Messages().MsgErrorCannotOpenItem;
        ShowMessageDialog(FormatMsg(text, {refused}), TMsgDlgType::Error, mbOK);
        return false;
    }
    if (platform.AcquireInstanceLock(name))
        return false;
    ShowMessageDialog(QStringLiteral("Velmora is already running."), TMsgDlgType::Warning, mbOK);
    platform.ActivateOtherInstance(name);
    return true;
}

} // namespace velmora
