#include "app/clock/LanguageMenu.h"

#include "app/LangFiles.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace velmora {

namespace {

// The files the menu lists now, one entry each.
QStringList& ListedFiles() {
    static QStringList files;
    return files;
}

bool SamePath(const QString& a, const QString& b) {
    if (a == b)
        return true;
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

} // namespace

QStringList LangFileList() {
    return ListedFiles();
}

void BuildLanguageMenu(QMenu* menu, const std::function<void(const QString&)>& onChoose) {
    menu->clear();
    ListedFiles() = ListLangFiles(LangDir());
    for (const QString& path : ListedFiles()) {
        QString caption = QFileInfo(path).completeBaseName();
        caption.replace(QLatin1Char('&'), QStringLiteral("&&")); // a name, not an accelerator
        QAction* action = menu->addAction(caption);
        action->setData(path);
        action->setCheckable(true);
        action->setChecked(SamePath(path, CurrentLangFile()));
        if (onChoose)
            QObject::connect(action, &QAction::triggered, menu,
                             [onChoose, path] { onChoose(path); });
    }
}

} // namespace velmora
