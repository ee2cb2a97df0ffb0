// The autostart entry that starts the clock at logon (a freedesktop desktop entry).
#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

// One argument of an Exec line, quoted and escaped as desktop entries require.
QString DesktopExecArgument(const QString& argument);
// The whole entry for `programPath`: it runs the program in its own folder.
QByteArray AutostartEntry(const QString& programPath);
// $XDG_CONFIG_HOME/autostart/<program name>.desktop (~/.config when unset).
QString AutostartEntryPath(const QString& programPath);

} // namespace velmora
