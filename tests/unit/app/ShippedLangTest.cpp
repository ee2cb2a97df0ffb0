// The language files the program ships, as the build converted them: each one
// complete and fit for the menus and balloons that show its texts; and the first
// start that picks one of them for the desktop's locale.
#include "TextFiles.h"
#include "app/LangFiles.h"
#include "app/MessageDialog.h"
#include "app/clock/ClockMenu.h"
#include "app/clock/MainForm.h"
#include "core/IniDocument.h"
#include "core/KvTimer.h"
#include "fakes/FakePlatform.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace velmora;
using testfiles::ReadBytes;
using testfiles::Utf16File;
using testfiles::WriteBytes;

namespace {

const QString kShippedDir = QStringLiteral(VELMORA_SHIPPED_LANG_DIR);
const QString kSourceDir = QStringLiteral(VELMORA_SOURCE_DIR) + QStringLiteral("/resources/lang");
const QString kHelpSourceDir =
    QStringLiteral(VELMORA_SOURCE_DIR) + QStringLiteral("/resources/help");

QStringList LangNames(const QString& dir) {
    return QDir(dir).entryList({QStringLiteral("*.lang")}, QDir::Files, QDir::Name);
}

QStringList ShippedFiles() {
    QStringList out;
    for (const QString& name : LangNames(kShippedDir))
        out << kShippedDir + QLatin1Char('/') + name;
    return out;
}

// The "%s" and "%d" of a text in order ("%%" is a percent sign, no placeholder).
QStringList Placeholders(const QString& text) {
    QStringList out;
    for (qsizetype i = 0; i + 1 < text.size(); ++i)
        if (text[i] == QLatin1Char('%')) {
            const QChar n = text[i + 1];
            if (n == QLatin1Char('s') || n == QLatin1Char('d'))
                out << QStringLiteral("%") + n;
            ++i;
        }
    return out;
}

// The section a key lives in, for the length limits of what shows it.
qsizetype LengthLimit(const TLangKeyInfo& k) {
    if (k.Key == QLatin1String("TrayIcon1.Hint"))
        return 127; // the tray icon's tooltip
    if (k.Section == QLatin1String("Lang: Balloon"))
        return k.Key.startsWith(QLatin1String("BalloonTitle")) ? 63 : 255;
    return kMaxLangTextLength;
}

// The keys of a section in file order.
QStringList KeysOf(const IniDocument& doc, const QString& section) {
    QStringList keys;
    for (const QString& line : doc.ReadSectionValues(section))
        keys << line.section(QLatin1Char('='), 0, 0);
    return keys;
}

// The accelerator of a menu caption: the character after a single "&".
QChar Accelerator(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i)
        if (text[i] == QLatin1Char('&')) {
            if (text[i + 1] != QLatin1Char('&'))
                return text[i + 1].toUpper();
            ++i;
        }
    return QChar();
}

// Every menu reachable from `menu`, itself first.
void CollectMenus(QMenu* menu, std::vector<QMenu*>& out) {
    out.push_back(menu);
    for (QAction* a : menu->actions())
        if (a->menu())
            CollectMenus(a->menu(), out);
}

class ShippedLang : public ::testing::Test {
protected:
    void SetUp() override {
        ResetLangState();
        SetMessageDialogHook([this](const QString& text, TMsgDlgType, TMsgDlgButtons, QWidget*) {
            Boxes << text;
            return mrOk;
        });
    }
    void TearDown() override {
        SetMessageDialogHook(nullptr);
        ResetLangState();
    }
    QStringList Boxes;
};

} // namespace

TEST_F(ShippedLang, EveryRepositoryFileIsConvertedForTheLoader) {
    const QStringList sources = LangNames(kSourceDir);
    ASSERT_FALSE(sources.isEmpty()) << "no language files in " << kSourceDir.toStdString();
    EXPECT_EQ(LangNames(kShippedDir), sources);
    for (const QString& name : sources) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray bytes = ReadBytes(kShippedDir + QLatin1Char('/') + name);
        ASSERT_TRUE(bytes.startsWith("\xFF\xFE"));
        const QString text = QString::fromUtf16(
            reinterpret_cast<const char16_t*>(bytes.constData() + 2), (bytes.size() - 2) / 2);
        const QString source = QString::fromUtf8(ReadBytes(kSourceDir + QLatin1Char('/') + name));
        EXPECT_EQ(text, QString(source).replace(QLatin1Char('\n'), QLatin1String("\r\n")));
        EXPECT_TRUE(text.endsWith(QLatin1String("\r\n")));
    }
}

TEST_F(ShippedLang, TheFiveLanguagesAreShippedOnceEach) {
    std::map<QString, QStringList> byLocale;
    for (const QString& file : ShippedFiles())
        byLocale[ReadLangInfo(file).Locale] << QFileInfo(file).fileName();
    for (const char* locale : {"en", "de", "fr", "es", "zh_CN"})
        EXPECT_EQ(byLocale[QString::fromLatin1(locale)].size(), 1) << locale;
}

TEST_F(ShippedLang, EveryFileIsCompleteAndFitsWhereItsTextsShow) {
    const std::vector<TLangKeyInfo> keys = LangKeys();
    QStringList sections; // in file order, as the default file has them
    for (const TLangKeyInfo& k : keys)
        if (!sections.contains(k.Section))
            sections << k.Section;
    const QStringList files = ShippedFiles();
    ASSERT_FALSE(files.isEmpty());
    for (const QString& file : files) {
        SCOPED_TRACE(QFileInfo(file).fileName().toStdString());
        const IniDocument doc(file);
        ASSERT_TRUE(doc.ReadError().isEmpty()) << doc.ReadError().toStdString();
        EXPECT_EQ(doc.ReadSections(), QStringList(sections) << kLangInfoSection);
        for (const QString& section : sections) {
            QStringList expected;
            for (const TLangKeyInfo& k : keys)
                if (k.Section == section)
                    expected << k.Key;
            EXPECT_EQ(KeysOf(doc, section), expected)
                << "keys of [" << section.toStdString() << "]";
        }
        const QString missing = QStringLiteral("\x01missing");
        for (const TLangKeyInfo& k : keys) {
            SCOPED_TRACE(k.Key.toStdString());
            const QString text = doc.ReadString(k.Section, k.Key, missing);
            ASSERT_NE(text, missing);
            EXPECT_FALSE(text.isEmpty());
            EXPECT_EQ(Placeholders(text), Placeholders(k.DefaultText)) << text.toStdString();
            EXPECT_LE(text.size(), LengthLimit(k)) << text.toStdString();
        }
        const TLangInfo info = ReadLangInfo(file);
        EXPECT_TRUE(ParseLocaleName(info.Locale)) << info.Locale.toStdString();
        EXPECT_TRUE(IsPlainFileName(info.HelpFile)) << info.HelpFile.toStdString();
        EXPECT_TRUE(QFileInfo(kHelpSourceDir + QLatin1Char('/') + info.HelpFile).isFile())
            << info.HelpFile.toStdString();
    }
}

TEST_F(ShippedLang, AcceleratorsAreUniqueWithinEachMenu) {
    // The real popup menu with each file's captions applied, as the user opens it.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FakePlatform platform;
    FakeClock clock(QDateTime(QDate(2026, 12, 10), QTime(9, 0, 0)));
    TMainForm form(platform, clock, dir.filePath(QStringLiteral("velmora.ini")));
    form.ClockTimer()->SetEnabled(false);
    const QStringList files = ShippedFiles();
    ASSERT_FALSE(files.isEmpty());
    for (const QString& file : files) {
        SCOPED_TRACE(QFileInfo(file).fileName().toStdString());
        form.Menu().LanguageListClick(file);
        emit form.Menu().PopupMenu1()->aboutToShow(); // fills the submenus as an opening does
        std::vector<QMenu*> menus;
        CollectMenus(form.Menu().PopupMenu1(), menus);
        int withAccelerator = 0;
        for (QMenu* menu : menus) {
            std::map<QChar, QString> seen;
            for (QAction* a : menu->actions()) {
                const QChar key = Accelerator(a->text());
                if (a->isSeparator() || key.isNull())
                    continue;
                ++withAccelerator;
                const auto [it, fresh] = seen.emplace(key, a->text());
                EXPECT_TRUE(fresh)
                    << "\"" << a->text().toStdString() << "\" and \"" << it->second.toStdString()
                    << "\" share &" << QString(key).toStdString();
            }
        }
        EXPECT_GE(withAccelerator, 6); // the menu is usable from the keyboard
    }
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join('\n').toStdString();
}

TEST_F(ShippedLang, TheInformationSectionGivesNoTexts) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SetLangDir(dir.path());
    const QString file = dir.filePath(QStringLiteral("Info.lang"));
    WriteBytes(file, Utf16File({"[Lang: Info]", "Locale=en", "HelpFile=index.html",
                                "MsgDialogCaption=from the info section",
                                "ActPopQuit.Caption=from the info section",
                                "BalloonTitleNormal=from the info section"}));
    SetCurrentLangFile(file);
    LoadLangFile();
    EXPECT_EQ(Messages().MsgDialogCaption, FallbackText("MsgDialogCaption"));
    EXPECT_EQ(Messages().BalloonTitleNormal, FallbackText("BalloonTitleNormal"));
    EXPECT_EQ(Captions().value("ActPopQuit.Caption"), FallbackText("ActPopQuit.Caption"));
    for (const TCaption& c : LoadOptionFormTexts())
        EXPECT_NE(c.Text, "from the info section") << c.Key.toStdString();
    const TLangInfo info = ReadLangInfo(file);
    EXPECT_EQ(info.Locale, "en");
    EXPECT_EQ(info.HelpFile, "index.html");
    EXPECT_EQ(ReadLangInfo(dir.filePath("none.lang")).Locale, "");
}

// --- the first start -------------------------------------------------------------

namespace {

// A clock folder with a language file per locale (only what the choice reads).
struct FirstStart : ShippedLang {
    QTemporaryDir dir;
    FakePlatform platform;
    FakeClock clock{QDateTime(QDate(2026, 12, 10), QTime(9, 0, 0))};
    QString Ini() const { return dir.filePath(QStringLiteral("velmora.ini")); }
    QString Lang(const QString& name) const { return dir.filePath(QStringLiteral("Lang/") + name); }
    void WriteLang(const QString& dirPath, const QString& name, const QString& locale,
                   const QString& quit, const QString& helpFile = QString()) {
        QDir().mkpath(dirPath);
        QStringList lines = {"[MainForm]", "ActPopQuit.Caption=" + quit, "", "[Lang: Info]",
                             "Locale=" + locale};
        if (!helpFile.isEmpty())
            lines << "HelpFile=" + helpFile;
        WriteBytes(dirPath + QLatin1Char('/') + name, Utf16File(lines));
    }
    void SetUp() override {
        ShippedLang::SetUp();
        ASSERT_TRUE(dir.isValid());
        WriteLang(dir.filePath("Lang"), "English.lang", "en", "&Quit");
        WriteLang(dir.filePath("Lang"), "Deutsch.lang", "de", "&Beenden");
    }
    // By its full path; the file keeps it relative to the program's folder.
    QString SavedLangFile() const {
        const QString saved = IniDocument(Ini()).ReadString("Language", "LangFileName", QString());
        return !saved.isEmpty() && QDir::isRelativePath(saved)
                   ? QFileInfo(Ini()).absoluteDir().filePath(saved)
                   : saved;
    }
    // Starts and ends a clock with the locale variables; returns its quit caption.
    QString Run(TLocaleVars vars) {
        platform.Locale = std::move(vars);
        QString quit;
        {
            TMainForm form(platform, clock, Ini());
            form.ClockTimer()->SetEnabled(false);
            quit = Captions().value("ActPopQuit.Caption");
        } // saves at the end
        ResetLangState();
        return quit;
    }
};

} // namespace

TEST_F(FirstStart, TheLocaleChoosesAndTheChoiceIsSaved) {
    EXPECT_EQ(Run({"", "", "en_US.UTF-8"}), "&Quit");
    EXPECT_EQ(SavedLangFile(), Lang("English.lang"));
    // The second start under another locale keeps the saved choice.
    EXPECT_EQ(Run({"", "", "de_DE.UTF-8"}), "&Quit");
    EXPECT_EQ(SavedLangFile(), Lang("English.lang"));
}

TEST_F(FirstStart, TheChoiceIsSavedAtOnceNotOnlyAtTheEnd) {
    platform.Locale = {"", "de_AT.UTF-8", "en_US.UTF-8"};
    auto form = std::make_unique<TMainForm>(platform, clock, Ini());
    form->ClockTimer()->SetEnabled(false);
    EXPECT_EQ(CurrentLangFile(), Lang("Deutsch.lang"));
    // The save on change runs from the event loop, before any exit.
    for (int i = 0; i < 40 && SavedLangFile().isEmpty(); ++i)
        QTest::qWait(100);
    EXPECT_EQ(SavedLangFile(), Lang("Deutsch.lang"));
}

TEST_F(FirstStart, JapaneseAndTheCLocaleKeepTheDefault) {
    for (const TLocaleVars& vars : {TLocaleVars{"", "", "ja_JP.UTF-8"}, TLocaleVars{"", "", "C"},
                                    TLocaleVars{"", "", "POSIX"}, TLocaleVars{},
                                    TLocaleVars{"C.UTF-8", "", "en_US.UTF-8"}}) {
        SCOPED_TRACE(vars.LcAll.toStdString() + "|" + vars.Lang.toStdString());
        QFile::remove(Ini());
        EXPECT_EQ(Run(vars), FallbackText("ActPopQuit.Caption"));
        EXPECT_EQ(SavedLangFile(), Lang(kDefaultLangFileName));
    }
}

TEST_F(FirstStart, ALocaleNoFileServesGetsEnglishNotJapanese) {
    for (const char* lang : {"zh_TW.UTF-8", "ko_KR.UTF-8", "ru_RU.UTF-8", "xx_YY.UTF-8"}) {
        SCOPED_TRACE(lang);
        QFile::remove(Ini());
        EXPECT_EQ(Run({"", "", QString::fromLatin1(lang)}), "&Quit");
        EXPECT_EQ(SavedLangFile(), Lang("English.lang"));
    }
}

TEST_F(FirstStart, TheLanguageMenuOffersTheDefaultWhicheverLanguageServes) {
    for (const char* lang : {"en_US.UTF-8", "de_DE.UTF-8", "ja_JP.UTF-8"}) {
        SCOPED_TRACE(lang);
        QFile::remove(Ini());
        QFile::remove(Lang(kDefaultLangFileName));
        platform.Locale = {"", "", QString::fromLatin1(lang)};
        TMainForm form(platform, clock, Ini());
        form.ClockTimer()->SetEnabled(false);
        emit form.Menu().PopupMenu1()->aboutToShow(); // fills the submenus as an opening does
        QStringList entries;
        for (const QAction* a : form.Menu().Language1()->actions())
            entries << a->text();
        EXPECT_EQ(entries, QStringList({"Deutsch", "English", QFileInfo(kDefaultLangFileName)
                                                                  .completeBaseName()}));
        EXPECT_EQ(ReadBytes(Lang(kDefaultLangFileName)), DefaultLangFileBytes());
        ResetLangState();
    }
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join('\n').toStdString();
}

TEST_F(FirstStart, AnEditedDefaultFileIsNeverReplaced) {
    WriteLang(dir.filePath("Lang"), kDefaultLangFileName, "", "&Mine");
    const QByteArray mine = ReadBytes(Lang(kDefaultLangFileName));
    EXPECT_EQ(Run({"", "", "en_US.UTF-8"}), "&Quit");
    EXPECT_EQ(ReadBytes(Lang(kDefaultLangFileName)), mine);
}

TEST_F(FirstStart, ASavedChoiceIsNeverOverridden) {
    IniDocument d(Ini(), QLocale::c());
    d.SetStrings({"[Language]", "LangFileName=" + Lang(kDefaultLangFileName)});
    d.UpdateFile();
    EXPECT_EQ(Run({"", "", "en_US.UTF-8"}), FallbackText("ActPopQuit.Caption"));
    EXPECT_EQ(SavedLangFile(), Lang(kDefaultLangFileName));
    // An empty value is no choice: the locale decides.
    d.SetStrings({"[Language]", "LangFileName="});
    d.UpdateFile();
    EXPECT_EQ(Run({"", "", "en_US.UTF-8"}), "&Quit");
}

TEST_F(FirstStart, APackagedClockCopiesTheShippedFilesIntoTheUsersFolder) {
    const QString shipped = dir.filePath("share/velmora/Lang");
    WriteLang(shipped, "VlmEnglish.lang", "en", "&Exit (shipped)");
    WriteLang(shipped, "Deutsch.lang", "de", "&Ende (shipped)");
    TProgramPaths paths;
    paths.IniFileName = dir.filePath("config/velmora.ini");
    paths.DataDir = dir.filePath("data");
    paths.ShippedLangDir = shipped;
    WriteLang(dir.filePath("data/Lang"), "Deutsch.lang", "de", "&Mine");
    platform.Locale = {"", "", "de_DE.UTF-8"};
    {
        TMainForm form(platform, clock, paths);
        form.ClockTimer()->SetEnabled(false);
        EXPECT_EQ(Captions().value("ActPopQuit.Caption"), "&Mine"); // the user's file stays
    }
    // Copied what was missing, and wrote the default file beside them, although
    // the choice fell on another file: the Language menu always offers it.
    EXPECT_EQ(LangNames(dir.filePath("data/Lang")),
              QStringList({"Deutsch.lang", "VlmDay.lang", "VlmEnglish.lang",
                           kDefaultLangFileName}));
    EXPECT_EQ(IniDocument(paths.IniFileName).ReadString("Language", "LangFileName", ""),
              dir.filePath("data/Lang/Deutsch.lang"));
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join('\n').toStdString();
}

TEST_F(FirstStart, TheHelpActionOpensThePageOfTheCurrentLanguage) {
    QDir().mkpath(dir.filePath("Help"));
    for (const char* page : {"index.html", "index.ja.html", "index.de.html"})
        WriteBytes(dir.filePath(QStringLiteral("Help/") + page), "<html></html>");
    WriteLang(dir.filePath("Lang"), "Deutsch.lang", "de", "&Beenden", "index.de.html");
    WriteLang(dir.filePath("Lang"), "Elsewhere.lang", "fr", "&Quitter", "../velmora.ini");
    platform.Locale = {"", "", "C.UTF-8"};
    TMainForm form(platform, clock, Ini());
    form.ClockTimer()->SetEnabled(false);
    const auto opened = [&] {
        platform.Calls.clear();
        form.Menu().ActPopShowHelpExecute();
        return platform.Calls.filter("open:").join(',');
    };
    EXPECT_EQ(opened(), "open:" + dir.filePath("Help/index.ja.html")); // the Japanese default
    form.Menu().LanguageListClick(Lang("English.lang"));               // names no page
    EXPECT_EQ(opened(), "open:" + dir.filePath("Help/index.html"));
    form.Menu().LanguageListClick(Lang("Deutsch.lang"));
    EXPECT_EQ(opened(), "open:" + dir.filePath("Help/index.de.html"));
    form.Menu().LanguageListClick(
        Lang("Elsewhere.lang")); // a page outside the help folder is refused
    EXPECT_EQ(opened(), "open:" + dir.filePath("Help/index.html"));
    EXPECT_TRUE(Boxes.isEmpty()) << Boxes.join('\n').toStdString();
}
