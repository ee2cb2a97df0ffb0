// Feeds arbitrary text to the command switch parser and the parameter word splitter.
// Beyond not crashing: the switch text settles after one round, and words quoted
// back for a shell split into the same words.
#include "core/KvCommandList.h"

#include <cstdint>
#include <cstdlib>

using namespace velmora;

namespace {

// Each word in single quotes, an inner quote written as '\'' as a shell user would.
QString Quote(const QStringList& words) {
    QStringList quoted;
    for (QString w : words)
        quoted << QLatin1Char('\'') + w.replace(QLatin1String("'"), QLatin1String("'\\''")) +
                      QLatin1Char('\'');
    return quoted.join(QLatin1Char(' '));
}

void CheckOptions(const QString& text, const QLocale& locale) {
    TKvCommandItem item;
    item.SetCommandOptions(text, locale);
    const QString normal = item.GetCommandOptionsStr(locale);
    TKvCommandItem again;
    again.SetCommandOptions(normal, locale);
    if (again.GetCommandOptionsStr(locale) != normal)
        abort();
    if (again.AsAdmin() != item.AsAdmin() || again.HideWindow() != item.HideWindow() ||
        again.AtStartup() != item.AtStartup() || again.AtResume() != item.AtResume() ||
        again.AtSpTime() != item.AtSpTime())
        abort();
}

void CheckWords(const QString& text) {
    QString error;
    const auto words = SplitCommandLine(text, &error);
    if (!words) {
        if (error.isEmpty())
            abort();
        return;
    }
    const auto back = SplitCommandLine(Quote(*words));
    if (!back || *back != *words)
        abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const QLocale locales[] = {QLocale::c(), QLocale(QLocale::Finnish, QLocale::Finland),
                                      QLocale(QLocale::English, QLocale::UnitedStates)};
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    CheckOptions(text, locales[size % 3]);
    CheckWords(text);
    return 0;
}
