#include "core/LangChoice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace velmora {

namespace {

bool AllAsciiLetters(const QString& s) {
    for (QChar c : s)
        if (c.unicode() > 0x7F || !c.isLetter())
            return false;
    return true;
}

bool AllAsciiDigits(const QString& s) {
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

bool IsTerritory(const QString& s) {
    return (s.size() == 2 && AllAsciiLetters(s)) || (s.size() == 3 && AllAsciiDigits(s));
}

} // namespace

std::optional<TLocaleName> ParseLocaleName(const QString& value) {
    // language[_territory][.codeset][@modifier]
    QString name = value.trimmed();
    name = name.left(name.indexOf(QLatin1Char('@')));
    name = name.left(name.indexOf(QLatin1Char('.')));
    // A plain search: this runs at every start, and a regular expression would
    // bring the pattern compiler's pages into memory for the rest of the day.
    const auto at = std::find_if(name.cbegin(), name.cend(), [](QChar c) {
        return c == QLatin1Char('_') || c == QLatin1Char('-');
    });
    const qsizetype sep = at == name.cend() ? -1 : qsizetype(at - name.cbegin());
    const QString language = sep < 0 ? name : name.left(sep);
    const QString territory = sep < 0 ? QString() : name.mid(sep + 1);
    if (language.size() < 2 || language.size() > 3 || !AllAsciiLetters(language))
        return std::nullopt; // also "C" and "POSIX"
    if (sep >= 0 && !IsTerritory(territory))
        return std::nullopt;
    return TLocaleName{language.toLower(), territory.toUpper()};
}

QString MessageLocaleValue(const TLocaleVars& vars) {
    for (const QString* v : {&vars.LcAll, &vars.LcMessages, &vars.Lang})
        if (!v->isEmpty())
            return *v;
    return QString();
}

namespace {

QString LangFileForName(const TLocaleName& wanted, const std::vector<TLangFileLocale>& files) {
    QString languageAlone, anyTerritory;
    for (const TLangFileLocale& f : files) {
        const std::optional<TLocaleName> serves = ParseLocaleName(f.Locale);
        if (!serves || serves->Language != wanted.Language)
            continue;
        if (!wanted.Territory.isEmpty() && serves->Territory == wanted.Territory)
            return f.File;
        if (serves->Territory.isEmpty() && languageAlone.isEmpty())
            languageAlone = f.File;
        if (anyTerritory.isEmpty())
            anyTerritory = f.File;
    }
    if (!languageAlone.isEmpty())
        return languageAlone;
    return wanted.Territory.isEmpty() ? anyTerritory : QString();
}

} // namespace

QString LangFileForLocale(const TLocaleVars& vars, const std::vector<TLangFileLocale>& files) {
    const std::optional<TLocaleName> wanted = ParseLocaleName(MessageLocaleValue(vars));
    if (!wanted || wanted->Language == kJapaneseLanguage)
        return QString();
    const QString own = LangFileForName(*wanted, files);
    if (!own.isEmpty())
        return own;
    // More people read English than Japanese among those no file speaks to.
    return LangFileForName({kFallbackLanguage, QString()}, files);
}

bool IsPlainFileName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1Char('\\')) && name != QLatin1String(".") &&
           name != QLatin1String("..");
}

QString HelpPageFor(const QString& helpDir, const QString& namedPage, bool defaultLangFile) {
    const QDir dir(helpDir);
    const auto page = [&dir](const QString& name) { return dir.filePath(name); };
    if (IsPlainFileName(namedPage) && QFileInfo(page(namedPage)).isFile())
        return page(namedPage);
    if (namedPage.isEmpty() && defaultLangFile && QFileInfo(page(kHelpPageJapanese)).isFile())
        return page(kHelpPageJapanese);
    return page(kHelpPageEnglish);
}

QStringList CopyMissingLangFiles(const QString& shippedDir, const QString& langDir) {
    QStringList errors;
    if (shippedDir.isEmpty() || langDir.isEmpty())
        return errors;
    const QDir from(shippedDir), to(langDir);
    for (const QFileInfo& info :
         from.entryInfoList({QStringLiteral("*.lang")}, QDir::Files, QDir::Name)) {
        const QString target = to.filePath(info.fileName());
        if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
            continue;
        QFile source(info.filePath());
        if (!source.copy(target))
            errors << QStringLiteral("Cannot copy the language file \"%1\" to \"%2\": %3")
                          .arg(info.filePath(), target, source.errorString());
    }
    return errors;
}

} // namespace velmora
