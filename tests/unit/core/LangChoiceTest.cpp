#include "core/LangChoice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(LangChoice, ParsesLocaleNames) {
    struct Case {
        const char* value;
        const char* language; // nullptr: no locale that names a language
        const char* territory;
    };
    const Case cases[] = {
        {"en_US.UTF-8", "en", "US"},
        {"de_AT@euro", "de", "AT"},
        {"sr_RS.UTF-8@latin", "sr", "RS"},
        {"zh_CN.GB18030", "zh", "CN"},
        {"fr", "fr", ""},
        {"ast_ES.UTF-8", "ast", "ES"},
        {"es_419.UTF-8", "es", "419"},
        {"zh-TW", "zh", "TW"},
        {"EN_us", "en", "US"},
        {" ja_JP.UTF-8 ", "ja", "JP"},
        {"C", nullptr, nullptr},
        {"C.UTF-8", nullptr, nullptr},
        {"POSIX", nullptr, nullptr},
        {"", nullptr, nullptr},
        {"english", nullptr, nullptr},
        {"en_", nullptr, nullptr},
        {"en_USA", nullptr, nullptr},
        {"e1_US", nullptr, nullptr},
        {"../../etc/passwd", nullptr, nullptr},
        {"ñu_ES", nullptr, nullptr},
        {".UTF-8", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        const std::optional<TLocaleName> got = ParseLocaleName(QString::fromUtf8(c.value));
        if (!c.language) {
            EXPECT_FALSE(got) << c.value;
            continue;
        }
        ASSERT_TRUE(got) << c.value;
        EXPECT_EQ(got->Language, c.language) << c.value;
        EXPECT_EQ(got->Territory, c.territory) << c.value;
    }
}

TEST(LangChoice, TheVariableThatDecidesIsTheFirstSetOfLcAllLcMessagesLang) {
    EXPECT_EQ(MessageLocaleValue({"fr_FR", "de_DE", "en_US"}), "fr_FR");
    EXPECT_EQ(MessageLocaleValue({"", "de_DE", "en_US"}), "de_DE");
    EXPECT_EQ(MessageLocaleValue({"", "", "en_US"}), "en_US");
    EXPECT_EQ(MessageLocaleValue({}), "");
    // A set LC_ALL decides even when it names no language: C beats LANG.
    EXPECT_EQ(MessageLocaleValue({"C", "", "en_US.UTF-8"}), "C");
}

TEST(LangChoice, PicksTheFileThatServesTheLocale) {
    const std::vector<TLangFileLocale> shipped = {
        {"VlmDeutsch.lang", "de"},       {"VlmEnglish.lang", "en"},     {"VlmEspañol.lang", "es"},
        {"VlmFrançais.lang", "fr"},      {"Vlm简体中文.lang", "zh_CN"}, {"Vlm日本語_かな.lang", ""},
        {"Broken.lang", "not a locale"},
    };
    struct Case {
        TLocaleVars vars;
        const char* file; // "" for none: the Japanese default file stays
    };
    const Case cases[] = {
        {{"", "", "en_US.UTF-8"}, "VlmEnglish.lang"},
        {{"", "", "en_GB.UTF-8"}, "VlmEnglish.lang"},
        {{"", "", "en"}, "VlmEnglish.lang"},
        {{"", "", "de_AT.UTF-8@euro"}, "VlmDeutsch.lang"},
        {{"", "", "de_CH"}, "VlmDeutsch.lang"},
        {{"", "", "fr_CA.UTF-8"}, "VlmFrançais.lang"},
        {{"", "", "es_419.UTF-8"}, "VlmEspañol.lang"},
        {{"", "", "zh_CN.UTF-8"}, "Vlm简体中文.lang"},
        // Chinese without a territory may read the simplified file; Taiwan and Hong
        // Kong write traditional characters, which no file here serves: a language
        // without a file of its own gets English, which more people read than the
        // Japanese default.
        {{"", "", "zh"}, "Vlm简体中文.lang"},
        {{"", "", "zh_TW.UTF-8"}, "VlmEnglish.lang"},
        {{"", "", "zh_HK.UTF-8"}, "VlmEnglish.lang"},
        {{"", "", "ko_KR.UTF-8"}, "VlmEnglish.lang"},
        {{"", "", "ru_RU.UTF-8"}, "VlmEnglish.lang"},
        {{"", "", "pt"}, "VlmEnglish.lang"},
        {{"", "", "xx_YY.UTF-8"}, "VlmEnglish.lang"},
        // Japanese is the default file's; C and POSIX name no language.
        {{"", "", "ja_JP.UTF-8"}, ""},
        {{"", "", "ja"}, ""},
        {{"", "", "C"}, ""},
        {{"", "", "C.UTF-8"}, ""},
        {{"", "", "POSIX"}, ""},
        {{"", "", ""}, ""},
        {{"", "", "garbage value"}, ""},
        // LC_ALL beats LC_MESSAGES beats LANG, also when it keeps the default.
        {{"de_DE.UTF-8", "fr_FR.UTF-8", "en_US.UTF-8"}, "VlmDeutsch.lang"},
        {{"", "fr_FR.UTF-8", "en_US.UTF-8"}, "VlmFrançais.lang"},
        {{"C.UTF-8", "", "en_US.UTF-8"}, ""},
        {{"", "ja_JP.UTF-8", "en_US.UTF-8"}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LangFileForLocale(c.vars, shipped), QString::fromUtf8(c.file))
            << c.vars.LcAll.toStdString() << "|" << c.vars.LcMessages.toStdString() << "|"
            << c.vars.Lang.toStdString();
}

TEST(LangChoice, ExactTerritoryBeatsTheLanguageAloneWhicheverComesFirst) {
    const std::vector<TLangFileLocale> files = {
        {"a-pt.lang", "pt"}, {"b-pt_BR.lang", "pt_BR"}, {"c-pt_PT.lang", "pt_PT"}};
    EXPECT_EQ(LangFileForLocale({"", "", "pt_BR.UTF-8"}, files), "b-pt_BR.lang");
    EXPECT_EQ(LangFileForLocale({"", "", "pt_PT"}, files), "c-pt_PT.lang");
    EXPECT_EQ(LangFileForLocale({"", "", "pt_AO"}, files), "a-pt.lang");
    EXPECT_EQ(LangFileForLocale({"", "", "pt"}, files), "a-pt.lang");
    // Without a file for the language alone, a locale without territory takes the
    // first file of its language; one with another territory takes none.
    const std::vector<TLangFileLocale> regional = {{"b-pt_BR.lang", "pt_BR"},
                                                   {"c-pt_PT.lang", "pt_PT"}};
    EXPECT_EQ(LangFileForLocale({"", "", "pt"}, regional), "b-pt_BR.lang");
    EXPECT_EQ(LangFileForLocale({"", "", "pt_AO"}, regional), "");
    EXPECT_EQ(LangFileForLocale({"", "", "en_US"}, {}), "");
}

TEST(LangChoice, WithoutAFileForTheLanguageEnglishServesInTheRegionalFileToo) {
    // No English file for the language alone: the first English file serves.
    const std::vector<TLangFileLocale> files = {{"a-de.lang", "de"}, {"b-en_GB.lang", "en_GB"},
                                                {"c-en_US.lang", "en_US"}};
    EXPECT_EQ(LangFileForLocale({"", "", "ru_RU.UTF-8"}, files), "b-en_GB.lang");
    EXPECT_EQ(LangFileForLocale({"", "", "ja_JP.UTF-8"}, files), "");
    EXPECT_EQ(LangFileForLocale({"", "", "ru_RU.UTF-8"}, {{"a-de.lang", "de"}}), "");
}

TEST(LangChoice, PlainFileNames) {
    for (const char* ok : {"index.html", "index.ja.html", "ヘルプ.html", "..html"})
        EXPECT_TRUE(IsPlainFileName(QString::fromUtf8(ok))) << ok;
    for (const char* bad :
         {"", ".", "..", "../index.html", "/etc/passwd", "sub/index.html", "..\\index.html"})
        EXPECT_FALSE(IsPlainFileName(QString::fromUtf8(bad))) << bad;
}

TEST(LangChoice, HelpPageFitsTheLanguageFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString help = dir.filePath("Help");
    QDir().mkpath(help + "/sub");
    for (const char* page : {"index.html", "index.ja.html", "index.de.html", "sub/x.html"})
        Write(help + "/" + page, "<html></html>");
    Write(dir.filePath("outside.html"), "<html></html>");
    struct Case {
        const char* named;
        bool defaultFile;
        const char* page;
    };
    const Case cases[] = {
        {"index.html", false, "index.html"},
        {"index.de.html", false, "index.de.html"},
        {"index.ja.html", false, "index.ja.html"},
        {"", true, "index.ja.html"},            // the default file names no page: Japanese
        {"", false, "index.html"},              // another file without a page: English
        {"index.fr.html", false, "index.html"}, // named but missing
        {"../outside.html", false, "index.html"},
        {"sub/x.html", false, "index.html"},
        {"..", false, "index.html"},
        {"sub", false, "index.html"}, // a folder is no page
        {"index.html", true, "index.html"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HelpPageFor(help, QString::fromUtf8(c.named), c.defaultFile), help + "/" + c.page)
            << c.named << " " << c.defaultFile;
    // No Japanese page: the default file gets the English one.
    QFile::remove(help + "/index.ja.html");
    EXPECT_EQ(HelpPageFor(help, "", true), help + "/index.html");
}

TEST(LangChoice, CopiesMissingShippedFilesAndNeverReplacesTheUsers) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString shipped = dir.filePath("share/Lang"), user = dir.filePath("user/Lang");
    QDir().mkpath(shipped);
    QDir().mkpath(user);
    Write(shipped + "/VlmEnglish.lang", "shipped english");
    Write(shipped + "/Vlm简体中文.lang", "shipped chinese");
    Write(shipped + "/README", "not a language file");
    Write(user + "/VlmEnglish.lang", "the user's own edit");
    QFile::link(user + "/nowhere", user + "/Vlm简体中文.lang"); // a dangling link is the user's too

    EXPECT_TRUE(CopyMissingLangFiles(shipped, user).isEmpty());
    EXPECT_EQ(Read(user + "/VlmEnglish.lang"), "the user's own edit");
    EXPECT_TRUE(QFileInfo(user + "/Vlm简体中文.lang").isSymLink());
    EXPECT_FALSE(QFileInfo::exists(user + "/README"));

    QFile::remove(user + "/Vlm简体中文.lang");
    EXPECT_TRUE(CopyMissingLangFiles(shipped, user).isEmpty());
    EXPECT_EQ(Read(user + "/Vlm简体中文.lang"), "shipped chinese");
    EXPECT_TRUE(QFileInfo(user + "/Vlm简体中文.lang").isWritable());

    // No shipped folder (the portable folder) or no user folder: nothing to do.
    EXPECT_TRUE(CopyMissingLangFiles(QString(), user).isEmpty());
    EXPECT_TRUE(CopyMissingLangFiles(shipped, QString()).isEmpty());
    // A folder that cannot take the files: one line per file.
    const QString blocked = dir.filePath("blocked");
    Write(blocked, "a file where the folder should be");
    EXPECT_EQ(CopyMissingLangFiles(shipped, blocked).size(), 2);
}
