#include "core/CommandLine.h"

#include <array>

namespace velmora {

namespace {

// Qt's options that take the next argument as their value, and those that do not.
constexpr std::array kToolkitOptionsWithValue = {
    "platform",    "platformpluginpath", "platformtheme", "plugin",   "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "display",       "geometry", "session",
    "style",       "stylesheet",         "name",          "title",    "visual"};
constexpr std::array kToolkitFlags = {"reverse", "nograb", "dograb", "sync", "widgetcount"};

// The option's name without its one or two leading dashes.
QString Bare(const QString& arg) {
    return arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
}

template <size_t N> bool Contains(const std::array<const char*, N>& names, const QString& name) {
    for (const char* n : names)
        if (name == QLatin1String(n))
            return true;
    return false;
}

QString OrNone(const QString& path) {
    return path.isEmpty() ? QStringLiteral("(none: no home folder is known)") : path;
}

TCommandLine Refused(const QString& error) {
    return {TStartAction::Refuse, error};
}

} // namespace

TCommandLine ParseCommandLine(const QStringList& args) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            return {TStartAction::ShowHelp, {}};
        if (arg == QLatin1String("--version"))
            return {TStartAction::ShowVersion, {}};
        if (!arg.startsWith(QLatin1Char('-')) || arg.size() < 2)
            return Refused(QStringLiteral("unexpected argument '%1'").arg(arg));
        const QString name = Bare(arg);
        if (Contains(kToolkitFlags, name))
            continue;
        if (!Contains(kToolkitOptionsWithValue, name))
            return Refused(QStringLiteral("unknown option '%1'").arg(arg));
        if (i + 1 >= args.size())
            return Refused(QStringLiteral("option '%1' needs a value").arg(arg));
        ++i;
    }
    return {};
}

QString VersionText(const QString& programName, const QString& version) {
    return programName + QLatin1Char(' ') + version + QLatin1Char('\n');
}

QString UsageText(const QString& programName, const QString& settingsFile, const QString& langDir) {
    return QStringLiteral("Usage: %1 [OPTION]\n"
                          "A clock on the desktop. Without options it starts the clock, or brings\n"
                          "the running one to the front.\n"
                          "\n"
                          "  -h, --help     show this help and end\n"
                          "      --version  show the version and end\n"
                          "\n"
                          "The toolkit's own options (-display, -style, -platform, ...) are\n"
                          "accepted too.\n"
                          "\n"
                          "Settings:        %2\n"
                          "Language files:  %3\n")
        .arg(programName, OrNone(settingsFile), OrNone(langDir));
}

QString UsageHint(const QString& programName) {
    return QStringLiteral("Try '%1 --help' for more information.\n").arg(programName);
}

} // namespace velmora
