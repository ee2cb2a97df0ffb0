// The language submenu of the clock's popup menu: one entry per language file of
// the language folder, the current one checked.
//
// Use: BuildLanguageMenu(menu, onChoose) each time the popup opens; onChoose(path)
// calls ChooseLanguage(path) (LangFiles.h) and applies what it reports.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QMenu;

namespace velmora {

// The list found by the last BuildLanguageMenu.
QStringList LangFileList();
// Refills `menu`: one checkable entry per language file (ListLangFiles of
// LangDir()), captioned with the file name without extension, its path in
// QAction::data(), checked when it is CurrentLangFile(). Triggering an entry calls
// `onChoose` with that path.
void BuildLanguageMenu(QMenu* menu, const std::function<void(const QString&)>& onChoose = {});

} // namespace velmora
