#include "app/SingleInstance.h"

#include "app/LangTexts.h"
#include "app/MessageDialog.h"
#include "core/MessageTable.h"
#include "platform/Platform.h"

namespace velmora {

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
