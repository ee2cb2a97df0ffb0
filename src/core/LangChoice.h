// Which language file and which help page fit the user: the language file that
// serves the desktop's locale at the first start, the help page named by the
// current language file, and the shipped language files a packaged install copies
// into the user's language folder. Pure decisions plus plain file copies; the
// locale variables come from the platform layer.
#pragma once

#include "core/LocaleVars.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace velmora {

// The section of a language file that says what the file is; its keys are never
// texts: "Locale" (the locale it serves: "en", "zh_CN") and "HelpFile" (the page
// in the help folder that fits it: "index.html").
inline const QString kLangInfoSection = QStringLiteral("Lang: Info");
inline const QString kLangInfoLocale = QStringLiteral("Locale");
inline const QString kLangInfoHelpFile = QStringLiteral("HelpFile");

// The help pages the program ships: English, and Japanese for the default
// language file, which names no page of its own.
inline const QString kHelpPageEnglish = QStringLiteral("index.html");
inline const QString kHelpPageJapanese = QStringLiteral("index.ja.html");

// The language of the default file, and the one that serves where no file does.
inline const QString kJapaneseLanguage = QStringLiteral("ja");
inline const QString kFallbackLanguage = QStringLiteral("en");

// A locale name split into its parts: language lower case ("en"), territory upper
// case ("US", "419") or empty. Codeset and modifier are dropped.
struct TLocaleName {
    QString Language;
    QString Territory;
    bool operator==(const TLocaleName&) const = default;
};

// "en_US.UTF-8", "de_AT@euro", "zh-CN", "es_419", "fr": language of two or three
// ASCII letters, territory of two letters or three digits, joined by "_" or "-".
// Nothing for "C", "POSIX" (with any codeset), an empty value and anything else.
std::optional<TLocaleName> ParseLocaleName(const QString& value);

// The value that decides the language of messages: LC_ALL, else LC_MESSAGES, else
// LANG, the first that is not empty (as the C library decides). LANGUAGE is not
// consulted: it orders translations of one program's message catalogue, and this
// program has language files instead; the variable that names the locale wins.
QString MessageLocaleValue(const TLocaleVars& vars);

// A language file and the locale its information section names (may be empty).
struct TLangFileLocale {
    QString File;
    QString Locale;
};

// The file among `files` (in their order) that serves the locale of `vars`:
//   1. a file for the same language and territory ("de_AT" file for de_AT);
//   2. else a file for the language alone ("de" file for de_AT);
//   3. else, when the locale names no territory ("zh"), the first file for that
//      language with any territory ("zh_CN" file).
// A locale with a territory never takes a file made for another territory: zh_TW
// is not served by the simplified Chinese file of zh_CN. A language no file serves
// (zh_TW, ko_KR, ru_RU) takes the English file, found the same way. Empty for the
// C and POSIX locales, a malformed value and Japanese: the default file stays,
// which is Japanese and names no locale.
QString LangFileForLocale(const TLocaleVars& vars, const std::vector<TLangFileLocale>& files);

// A name that stays inside its folder: not empty, no "/" or "\", not "." or "..".
bool IsPlainFileName(const QString& name);

// The help page to open, in `helpDir`: the page the current language file names
// (`namedPage`) when it is a plain file name that exists there; else, for the
// default language file (which names none), the Japanese page when it exists;
// else the English page (its path also when it does not exist, for the message).
QString HelpPageFor(const QString& helpDir, const QString& namedPage, bool defaultLangFile);

// Copies every "*.lang" file of `shippedDir` that `langDir` lacks (by name) into
// `langDir`; a file already there, the user's or an earlier copy, is never
// replaced. Returns one line per file that could not be copied.
QStringList CopyMissingLangFiles(const QString& shippedDir, const QString& langDir);

} // namespace velmora
