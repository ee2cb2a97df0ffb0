#include "core/MessageTable.h"

namespace velmora {

TMessageTable& Messages() {
    static TMessageTable table;
    return table;
}

QString FormatMsg(const QString& pattern, const QStringList& args) {
    QString out;
    out.reserve(pattern.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        const QChar n = i + 1 < pattern.size() ? pattern[i + 1] : QChar();
        if (c != QLatin1Char('%') ||
            (n != QLatin1Char('s') && n != QLatin1Char('d') && n != QLatin1Char('%'))) {
            out += c;
            continue;
        }
        if (n == QLatin1Char('%'))
            out += QLatin1Char('%');
        else if (next < args.size())
            out += args[next++];
        ++i;
    }
    return out;
}

QString HelpPageErrorText(const QString& path, int code) {
    return FormatMsg(Messages().MsgErrorCannotOpenItem, {path}) + QStringLiteral(" (") +
           FormatMsg(Messages().MsgErrorShowErrorCode, {QString::number(code)}) +
           QStringLiteral(")");
}

} // namespace velmora
