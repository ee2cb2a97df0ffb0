#include "core/DesktopEntry.h"

#include <QDir>
#include <QFileInfo>

namespace velmora {

namespace {

// The string escapes of a desktop entry value.
QString EscapeValue(const QString& s) {
    QString out;
    for (QChar c : s) {
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else
            out += c;
    }
    return out;
}

} // namespace

QString DesktopExecArgument(const QString& argument) {
    // Quoted always; inside the quotes ", `, $ and \ take a backslash, and a
    // literal % is doubled so that it is not read as a field code.
    QString quoted = QStringLiteral("\"");
    for (QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    quoted += QLatin1Char('"');
    return EscapeValue(quoted);
}

QByteArray AutostartEntry(const QString& programPath) {
    const QFileInfo fi(programPath);
    const QString text =
        QStringLiteral("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Velmora\n"
                       "Comment=Desktop clock\n"
                       "Exec=%1\n"
                       "Path=%2\n"
                       "Terminal=false\n"
                       "X-GNOME-Autostart-enabled=true\n")
            .arg(DesktopExecArgument(fi.absoluteFilePath()), EscapeValue(fi.absolutePath()));
    return text.toUtf8();
}

QString AutostartEntryPath(const QString& programPath) {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart/") + QFileInfo(programPath).completeBaseName() +
           QStringLiteral(".desktop");
}

} // namespace velmora
