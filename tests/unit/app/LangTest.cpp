#include "app/LangFiles.h"
#include "app/clock/LanguageMenu.h"

#include "core/IniDocument.h"
#include "TextFiles.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>

using namespace velmora;
using testfiles::ReadBytes;
using testfiles::Utf16File;
using testfiles::WriteBytes;

namespace {

// The default language file, line by line, as users receive it.
const QStringList kDefaultLangLines = {
    ";------------------------------------------------------------------------------",
    ";[General]",
    ";FileName=Vlm日本語_かな.lang",
    ";Charset=UTF-16",
    ";Description=日本語_かな",
    ";------------------------------------------------------------------------------",
    "",
    "[MainForm]",
    "ActPopStopAlarm.Caption=アラームを とめる(&S)",
    "ActPopAdjustTime.Caption=とけーを あわせる(&T)",
    "ActPopShowOption.Caption=オプション(&O)",
    "Command1.Caption=コマンド(&C)",
    "Language1.Caption=ことば",
    "ActPopShowHelp.Caption=ヘルプ(&H)",
    "ActPopShowAbout.Caption=バージョン じょーほー(&A)",
    "ActPopQuit.Caption=しゅーりょー(&X)",
    "ActCreateShortcut.Caption=ショートカットを スタートアップに つくる",
    "TrayIcon1.Hint=Velmora",
    "",
    "[Lang: Msg]",
    "MsgDialogCaption=Velmora [おしらせ]",
    "MsgErrorFileNotFound=ファイルが ありません: [%s]",
    "MsgErrorShowErrorCode=エラー コード: [%d]",
    "MsgErrorCannotOpenItem=ひらけません: [%s]",
    "MsgErrorCannotCreateShortcut=ショートカットを つくれませんでした",
    "MsgWarnNoNTPServerName=NTPサーバーが してー されて いません",
    "MsgWarnNoSoundFileName=サウンド ファイルが してー されて いません",
    "MsgWarnTooManyCharacters=もじすーが おーすぎます",
    "MsgWarnNotSupportedFileType=たいおー していない ファイルです",
    "MsgWarnEditMemoEmpty=くーらんに きにゅー してください",
    "MsgWarnNameValueInvalid=よーびの ことばの しょしきが ちがっています",
    "MsgWarnCheckNameValue=しょしきを かくにん してください",
    "MsgWarnDayLangSameSectionNotExists=[%s] は、よーび ファイルに ありません",
    "MsgWarnDayLangTheLastSection=よーびの ことばは [%s] しか ありません",
    "MsgWarnExitWithoutDelete=さくじょ しないで しゅーりょー します",
    "MsgWarnAlarmOptionNotChecked=アラームの どーさが してー されて いません",
    "MsgConfirmOverwriteItem=うわがき します: [%s]",
    "MsgConfirmAddItem=ついか します: [%s]",
    "MsgConfirmDeleteItem=さくじょ します: [%s]",
    "MsgConfirmOKCancel=よろしー ですか？",
    "MsgInfoOverwroteItem=うわがき しました: [%s]",
    "MsgInfoAddedItem=ついか しました: [%s]",
    "MsgInfoDeletedItem=さくじょ しました: [%s]",
    "MsgInfoCreatedShortcut=ショートカットを スタートアップに つくりました",
    "",
    "[Lang: Balloon]",
    "BalloonTitleNormal=Velmora [おしらせ]",
    "BalloonTitleAlarm=Velmora [アラーム]",
    "BalloonWarnNoSwitch=オプションが ありません",
    "BalloonWarnTooManySwitches=オプションが おーすぎます",
    "BalloonWarnNoNTPServerName=NTPサーバーが してー されて いません",
    "BalloonInfoAdjustTimeSucceeded=とけーを あわせました",
    "BalloonErrorCannotAdjustTime=とけーを あわせることが できませんでした",
    "BalloonErrorAdjustTimeError=とけー あわせで エラーが はっせー しました",
    "BalloonWarnNetworkNotAlive=ネットワークに つながって いません",
    "",
    "[Lang: Command]",
    "Command0Title=とけー あわせ",
    "",
    "[Lang: Button]",
    "ButtonCaptionOK=OK",
    "ButtonCaptionSelect=さんしょー",
    "",
    "[Lang: Caption]",
    "FontCaption=%s / %s / %d pt (%d px)",
    "StopAlarmCaption=アラームを とめる",
    "",
    "[OptionForm]",
    "OptionForm.Caption=Velmora - オプション",
    "SaveSettingsButton.Caption=せってーを ほぞん",
    "OptionTabSet.Tabs[0].Caption=もじ",
    "OptionTabSet.Tabs[1].Caption=フォント・いろ",
    "OptionTabSet.Tabs[2].Caption=ウィンドウ",
    "OptionTabSet.Tabs[3].Caption=バルーン",
    "OptionTabSet.Tabs[4].Caption=アラーム",
    "OptionTabSet.Tabs[5].Caption=コマンド",
    "GroupBox101.Caption=ひょーじ する もじ",
    "CheckBox101.Caption=ひづけ",
    "CheckBox102.Caption=よーび",
    "RadioGroup101.Caption=じこく",
    "RadioGroup101.Items[0]=12:34:56 (びょー まで)",
    "RadioGroup101.Items[1]=12:34 (ふん まで)",
    "GroupBox102.Caption=よーびの ことばの へんしゅー",
    "Label101.Caption=げんざいの よーびの ことば",
    "Label102.Caption=タイトル",
    "Label103.Caption=ないよー",
    "Button101.Caption=よーび ファイルを こーしん",
    "GroupBox201.Caption=フォント",
    "Button201.Caption=フォントを えらぶ",
    "GroupBox202.Caption=いろ",
    "GroupBox203.Caption=もじ (つーじょー)",
    "RadioButton201.Caption=たんしょく",
    "RadioButton202.Caption=グラデーション (Vista いこー)",
    "RadioGroup201.Caption=グラデーションの むき",
    "RadioGroup201.Items[0]=よこ",
    "RadioGroup201.Items[1]=たて",
    "GroupBox204.Caption=はいけー (つーじょー)",
    "RadioButton203.Caption=とーめー",
    "RadioButton205.Caption=グラデーション",
    "GroupBox205.Caption=そとわく (つーじょー)",
    "CheckBox201.Caption=そとわくを ひょーじ",
    "GroupBox301.Caption=おーきさ (ばいりつ: 0.75～1.25)",
    "Label301.Caption=はば",
    "Label302.Caption=たかさ",
    "CheckBox301.Caption=ぜんたいを とーめーに する",
    "Label303.Caption=とーめーの どあい (0～255)",
    "RadioGroup301.Caption=かさなり じゅん",
    "RadioGroup301.Items[0]=いちばん てまえ",
    "RadioGroup301.Items[1]=いちばん おく",
    "GroupBox401.Caption=バルーンの アイコン",
    "CheckBox401.Caption=おーきー アイコンに する (Vista いこー)",
    "Button502.Caption=アラームを テスト",
    "GroupBox501.Caption=アラームの せってー",
    "CheckBox501.Caption=アラームを せってー する じこく",
    "GroupBox502.Caption=アラームの どーさ",
    "CheckBox502.Caption=てんめつ させる (2 びょー かんかく)",
    "CheckBox503.Caption=いろを かえる",
    "Label501.Caption=もじ (アラーム)",
    "Label502.Caption=はいけー (アラーム)",
    "Label503.Caption=そとわく (アラーム)",
    "CheckBox504.Caption=バルーンを ひょーじ",
    "Label504.Caption=メッセージ (1～255 じ)",
    "CheckBox505.Caption=サウンド ファイルを さいせー",
    "Label601.Caption=コマンドの いちらん",
    "TitleLabel=タイトル",
    "FileNameLabel=じっこー ファイル",
    "OptionLabel=じっこー ファイルの オプション",
    "CommandOptionLabel=コマンド オプション",
    "Button601.Caption=あたらしー コマンドを ついか",
    "GroupBox601.Caption=コマンドの へんしゅー",
    "Button603.Caption=コマンドを さくじょ",
    "",
    "[AboutForm]",
    "AboutForm.Caption=Velmoraの バージョン じょーほー",
    "TitleLabel.Caption=Velmora (ヴェルモラ) デスクトップ とけー",
    "AuthorLabel.Caption=さくしゃ: Velmora かいはつ チーム",
    "WebSiteLabel.Caption=「Velmora Project」",
    "CreditMemo.Text=Velmoraは いかの コンポーネントや ユニットを つかっています。",
    "",
};

// A program folder of its own for each test, with the language state reset.
class LangTest : public ::testing::Test {
protected:
    QTemporaryDir Tmp;
    QString Program;
    QString Ini;

    void SetUp() override {
        ASSERT_TRUE(Tmp.isValid());
        Program = Tmp.path();
        Ini = Program + "/velmora.ini";
        ResetLangState();
    }
    void TearDown() override { ResetLangState(); }

    QString LangPath(const QString& name) const { return Program + "/Lang/" + name; }
    // Prepares the folder without a settings file (nothing to answer: it can be made).
    void InitFolder() {
        ASSERT_FALSE(MakeLangDir(Program).isEmpty());
        InitLangDir(Program, Ini);
    }
    void WriteLang(const QString& name, const QStringList& lines) {
        WriteBytes(LangPath(name), Utf16File(lines));
    }
};

// Answers the next message box with OK and records its caption, text and icon.
struct BoxAnswerer {
    QString Caption, Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    BoxAnswerer() {
        QTimer::singleShot(0, [this] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    Caption = box->windowTitle();
                    Text = box->text();
                    Icon = box->icon();
                    box->button(QMessageBox::Ok)->click();
                }
        });
    }
};

} // namespace

TEST_F(LangTest, DefaultFileIsExactlyTheShippedText) {
    ASSERT_EQ(kDefaultLangLines.size(), 139);
    const QByteArray bytes = DefaultLangFileBytes();
    EXPECT_TRUE(bytes.startsWith("\xFF\xFE"));
    EXPECT_EQ(bytes, Utf16File(kDefaultLangLines));
    // Line for line, so that a difference names its line.
    QStringDecoder decode(QStringConverter::Utf16LE);
    const QStringList lines = QString(decode(bytes.mid(2))).split("\r\n");
    ASSERT_EQ(lines.size(), 140); // the last CR LF ends the last line
    EXPECT_EQ(lines.last(), QString());
    for (qsizetype i = 0; i < kDefaultLangLines.size(); ++i)
        EXPECT_EQ(lines[i], kDefaultLangLines[i]) << "line " << i + 1;
}

TEST_F(LangTest, FirstStartMakesTheFolderAndWritesTheDefaultFile) {
    InitLangDir(Program, Ini);
    EXPECT_EQ(LangDir(), Program + "/Lang/");
    EXPECT_TRUE(QFileInfo(Program + "/Lang").isDir());
    EXPECT_EQ(CurrentLangFile(), LangPath("Vlm日本語_かな.lang"));
    EXPECT_EQ(LoadLangFile(), QString());
    EXPECT_EQ(ReadBytes(LangPath("Vlm日本語_かな.lang")), Utf16File(kDefaultLangLines));
    // The name on disk is UTF-8, whatever the locale.
    EXPECT_TRUE(QDir(LangDir()).entryList(QDir::Files).contains("Vlm日本語_かな.lang"));
    EXPECT_EQ(QFile::encodeName(CurrentLangFile()), CurrentLangFile().toUtf8());
    EXPECT_EQ(Captions().value("ActPopShowOption.Caption"), "オプション(&O)");
    EXPECT_EQ(Captions().value("ActPopQuit.Caption"), "しゅーりょー(&X)");
    EXPECT_EQ(Captions().value("TrayIcon1.Hint"), "Velmora");
    EXPECT_EQ(Messages().MsgDialogCaption, "Velmora [おしらせ]");
    EXPECT_EQ(Messages().Command0Title, "とけー あわせ");
    EXPECT_EQ(Messages().ButtonCaptionSelect, "さんしょー");
    const QStringList keys = CaptionKeys("MainForm");
    // The ten of the default file, and the autostart button's removal caption.
    ASSERT_EQ(keys.size(), 11);
    EXPECT_EQ(keys.front(), "ActPopStopAlarm.Caption");
    EXPECT_EQ(keys[9], "TrayIcon1.Hint");
    EXPECT_EQ(keys.back(), "ActRemoveShortcut.Caption");
    for (const QString& key : keys)
        EXPECT_EQ(Captions().value(key), FallbackText(key)) << key.toStdString();
    // Dialog texts wait until their dialog is shown.
    EXPECT_FALSE(Captions().contains("OptionForm.Caption"));
    EXPECT_EQ(Messages().FontCaption, QString());
}

TEST_F(LangTest, MissingKeysTakeTheirBuiltInTexts) {
    InitFolder();
    WriteLang("q.lang", {"[MainForm]", "ActPopQuit.Caption=Quit"});
    SetCurrentLangFile(LangPath("q.lang"));
    EXPECT_EQ(LoadLangFile(), QString());
    EXPECT_EQ(Captions().value("ActPopQuit.Caption"), "Quit");
    EXPECT_EQ(Captions().value("ActPopStopAlarm.Caption"), "アラームを とめる(&S)");
    EXPECT_EQ(Messages().MsgErrorFileNotFound, "ファイルが ありません: [%s]");
    EXPECT_EQ(Messages().BalloonTitleAlarm, "Velmora [アラーム]");
    EXPECT_EQ(CurrentLangFile(), LangPath("q.lang"));
    EXPECT_FALSE(QFileInfo::exists(LangPath("Vlm日本語_かな.lang"))); // not needed, not written

    // The credits text is the one key whose built-in text is not the file's line.
    const auto about = LoadAboutFormTexts();
    ASSERT_EQ(about.size(), 5u);
    EXPECT_EQ(about[4].Key, "CreditMemo.Text");
    EXPECT_EQ(about[4].Text, "Velmoraは いかの コンポーネントや ユニットを 使用しています。");
    EXPECT_EQ(FallbackText("CreditMemo.Text"), about[4].Text);
    EXPECT_TRUE(kDefaultLangLines.contains(
        "CreditMemo.Text=Velmoraは いかの コンポーネントや ユニットを つかっています。"));
}

TEST_F(LangTest, LookupRules) {
    InitFolder();
    const QString longText(kMaxLangTextLength + 1, 'x');
    struct Case {
        const char* name;
        QByteArray file;
        QString expected; // of ActPopQuit.Caption
    } cases[] = {
        {"names in other letter case", Utf16File({"[mainform]", "actpopquit.caption=Q1"}), "Q1"},
        {"value trimmed", Utf16File({"[MainForm]", "ActPopQuit.Caption =   Q2  "}), "Q2"},
        {"present but empty", Utf16File({"[MainForm]", "ActPopQuit.Caption="}), ""},
        {"key in another section", Utf16File({"[Lang: Msg]", "ActPopQuit.Caption=Q3"}),
         "しゅーりょー(&X)"},
        {"comment line", Utf16File({"[MainForm]", ";ActPopQuit.Caption=Q4"}), "しゅーりょー(&X)"},
        {"first of two", Utf16File({"[MainForm]", "ActPopQuit.Caption=A", "ActPopQuit.Caption=B"}),
         "A"},
        {"longest text kept",
         Utf16File({"[MainForm]", "ActPopQuit.Caption=" + QString(kMaxLangTextLength, 'y')}),
         QString(kMaxLangTextLength, 'y')},
        {"over-long text", Utf16File({"[MainForm]", "ActPopQuit.Caption=" + longText}),
         "しゅーりょー(&X)"},
        {"UTF-8 file", QByteArray("[MainForm]\r\nActPopQuit.Caption=Q5\r\n"), "しゅーりょー(&X)"},
        {"binary junk", QByteArray("\xFF\xFE\x00\xD8\x00\xD8[\0M\0", 10), "しゅーりょー(&X)"},
        {"empty file", QByteArray(), "しゅーりょー(&X)"},
        {"no sections", Utf16File({"ActPopQuit.Caption=Q6"}), "しゅーりょー(&X)"},
    };
    for (const Case& c : cases) {
        WriteBytes(LangPath("case.lang"), c.file);
        SetCurrentLangFile(LangPath("case.lang"));
        Captions().clear();
        LoadLangFile();
        EXPECT_EQ(Captions().value("ActPopQuit.Caption"), c.expected) << c.name;
        EXPECT_EQ(Messages().MsgDialogCaption, "Velmora [おしらせ]") << c.name;
        EXPECT_EQ(CurrentLangFile(), LangPath("case.lang")) << c.name;
    }
}

TEST_F(LangTest, HugeFileIsNotRead) {
    InitFolder();
    QByteArray big = Utf16File({"[MainForm]", "ActPopQuit.Caption=Big"});
    big += Utf16File({"; " + QString(kMaxLangFileSize / 2, 'z')}).mid(2);
    WriteBytes(LangPath("big.lang"), big);
    SetCurrentLangFile(LangPath("big.lang"));
    LoadLangFile();
    EXPECT_EQ(Captions().value("ActPopQuit.Caption"), "しゅーりょー(&X)");
}

TEST_F(LangTest, LanguageFileNameFromTheSettings) {
    InitFolder();
    const QString def = LangPath("Vlm日本語_かな.lang");
    struct Case {
        const char* name;
        QByteArray ini; // empty: no settings file
        QString expected;
    } cases[] = {
        {"no settings file", QByteArray(), def},
        {"no key", Utf16File({"[Language]", "Other=1"}), def},
        {"empty value", Utf16File({"[Language]", "LangFileName=   "}), def},
        {"full path", Utf16File({"[Language]", "LangFileName=/elsewhere/E.lang"}),
         "/elsewhere/E.lang"},
        {"relative to the settings", Utf16File({"[language]", "langfilename=Lang/b.lang"}),
         Program + "/Lang/b.lang"},
        {"UTF-8 settings", QByteArray("[Language]\r\nLangFileName=/x/y.lang\r\n"), def},
    };
    for (const Case& c : cases) {
        QFile::remove(Ini);
        if (!c.ini.isEmpty())
            WriteBytes(Ini, c.ini);
        EXPECT_EQ(ReadLangFileName(Ini), c.expected) << c.name;
    }
    WriteBytes(Ini, Utf16File({"[Language]", "LangFileName=" + LangPath("b.lang")}));
    InitLangDir(Program, Ini);
    EXPECT_EQ(CurrentLangFile(), LangPath("b.lang"));
}

TEST_F(LangTest, VanishedFileSwitchesToTheDefaultWhichIsNeverOverwritten) {
    InitFolder();
    const QString def = LangPath("Vlm日本語_かな.lang");
    SetCurrentLangFile(LangPath("gone.lang"));
    LoadLangFile();
    EXPECT_EQ(CurrentLangFile(), def);
    EXPECT_EQ(ReadBytes(def), Utf16File(kDefaultLangLines));

    const QByteArray edited = Utf16File({"[MainForm]", "ActPopQuit.Caption=Edited"});
    WriteBytes(def, edited);
    SetCurrentLangFile(LangPath("gone-too.lang"));
    LoadLangFile();
    EXPECT_EQ(ReadBytes(def), edited);
    EXPECT_EQ(Captions().value("ActPopQuit.Caption"), "Edited");

    // A folder under a language file's name is no language file.
    ASSERT_TRUE(QDir().mkpath(LangPath("folder.lang")));
    SetCurrentLangFile(LangPath("folder.lang"));
    LoadLangFile();
    EXPECT_EQ(CurrentLangFile(), def);

    // The dialogs check again when they open: the file deleted meanwhile comes back.
    QFile::remove(def);
    const auto texts = LoadOptionFormTexts();
    EXPECT_FALSE(texts.empty());
    EXPECT_EQ(ReadBytes(def), Utf16File(kDefaultLangLines));
}

TEST_F(LangTest, BalloonTable) {
    InitFolder();
    LoadLangFile();
    const struct {
        const char* hint;
        TKvBalloonFlags flag;
    } expected[] = {
        {"オプションが ありません", kbfWarning},
        {"オプションが おーすぎます", kbfWarning},
        {"NTPサーバーが してー されて いません", kbfWarning},
        {"とけーを あわせました", kbfInfo},
        {"とけーを あわせることが できませんでした", kbfError},
        {"とけー あわせで エラーが はっせー しました", kbfError},
        {"ネットワークに つながって いません", kbfWarning},
    };
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(BalloonContents()[i].Title, "Velmora [おしらせ]") << i;
        EXPECT_EQ(BalloonContents()[i].Hint, QString::fromUtf8(expected[i].hint)) << i;
        EXPECT_EQ(BalloonContents()[i].Flag, expected[i].flag) << i;
    }
    // Another language retitles every balloon; the alarm title is not among them.
    WriteLang("en.lang", {"[Lang: Balloon]", "BalloonTitleNormal=Velmora [Notice]",
                          "BalloonTitleAlarm=Velmora [Alarm]",
                          "BalloonInfoAdjustTimeSucceeded=The clock was set"});
    ChooseLanguage(LangPath("en.lang"));
    for (const TBalloonContent& b : BalloonContents())
        EXPECT_EQ(b.Title, "Velmora [Notice]");
    EXPECT_EQ(BalloonContents()[3].Hint, "The clock was set");
    EXPECT_EQ(BalloonContents()[3].Flag, kbfInfo);
    EXPECT_EQ(BalloonContents()[6].Hint, "ネットワークに つながって いません");
}

TEST_F(LangTest, MenuListsLanguageFilesInOrderWithTheCurrentChecked) {
    InitFolder();
    for (const char* name : {"b.lang", "A.lang", "a.lang", "VlmDay.lang", "vlmday.lang", "x&y.lang",
                             "notes.txt", "c.lang.bak", "Up.LANG", ".hidden.lang"})
        WriteLang(QString::fromUtf8(name), {"[MainForm]"});
    ASSERT_TRUE(QDir().mkpath(LangPath("dir.lang")));
    SetCurrentLangFile(LangPath("b.lang"));

    QMenu menu;
    menu.addAction("stale entry");
    QStringList chosen;
    BuildLanguageMenu(&menu, [&chosen](const QString& path) { chosen << path; });

    const QStringList names = {".hidden.lang", "A.lang",      "a.lang",  "b.lang",
                               "Up.LANG",      "vlmday.lang", "x&y.lang"};
    QStringList paths;
    for (const QString& n : names)
        paths << LangPath(n);
    EXPECT_EQ(LangFileList(), paths);
    EXPECT_EQ(ListLangFiles(LangDir()), paths);

    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), names.size());
    const QStringList captions = {".hidden", "A", "a", "b", "Up", "vlmday", "x&&y"};
    for (qsizetype i = 0; i < actions.size(); ++i) {
        EXPECT_EQ(actions[i]->text(), captions[i]);
        EXPECT_EQ(actions[i]->data().toString(), paths[i]);
        EXPECT_TRUE(actions[i]->isCheckable());
        EXPECT_EQ(actions[i]->isChecked(), names[i] == "b.lang") << names[i].toStdString();
    }
    actions[1]->trigger();
    EXPECT_EQ(chosen, QStringList{LangPath("A.lang")});

    // Rebuilt on every opening: a removed file goes, the check follows the current file.
    QFile::remove(LangPath("b.lang"));
    SetCurrentLangFile(LangPath("a.lang"));
    BuildLanguageMenu(&menu);
    ASSERT_EQ(menu.actions().size(), names.size() - 1);
    int checked = 0;
    for (QAction* a : menu.actions())
        checked += a->isChecked() ? 1 : 0;
    EXPECT_EQ(checked, 1);
    EXPECT_TRUE(menu.actions()[2]->isChecked());

    QDir(LangDir()).removeRecursively();
    BuildLanguageMenu(&menu);
    EXPECT_TRUE(menu.actions().isEmpty());
    EXPECT_TRUE(LangFileList().isEmpty());
}

TEST_F(LangTest, ChoosingALanguageReportsWhatChanged) {
    InitFolder();
    LoadLangFile();
    WriteLang("en.lang", {"[MainForm]", "ActPopQuit.Caption=Quit", "ActPopShowHelp.Caption=Help",
                          "[Lang: Command]", "Command0Title=Set the clock"});
    TLangChange change = ChooseLanguage(LangPath("en.lang"));
    EXPECT_EQ(CurrentLangFile(), LangPath("en.lang"));
    EXPECT_EQ(change.Captions, (QStringList{"ActPopShowHelp.Caption", "ActPopQuit.Caption"}));
    EXPECT_TRUE(change.Command0TitleChanged);
    EXPECT_TRUE(change.MessagesChanged);
    EXPECT_TRUE(change.Error.isEmpty());
    EXPECT_EQ(Messages().Command0Title, "Set the clock");

    change = ChooseLanguage(LangPath("en.lang"));
    EXPECT_TRUE(change.Captions.isEmpty());
    EXPECT_FALSE(change.Command0TitleChanged);
    EXPECT_FALSE(change.MessagesChanged);

    // Back to the default file: the same keys change back.
    change = ChooseLanguage(LangPath("Vlm日本語_かな.lang"));
    EXPECT_EQ(change.Captions.size(), 2);
    EXPECT_EQ(Captions().value("ActPopQuit.Caption"), "しゅーりょー(&X)");
}

TEST_F(LangTest, FullScreenCaptionIsReadButNotInTheDefaultFile) {
    EXPECT_FALSE(kDefaultLangLines.join('\n').contains("CheckBox302"));
    InitFolder();
    WriteLang("en.lang",
              {"[OptionForm]", "CheckBox302.Caption=Hide while a full-screen window is active"});
    SetCurrentLangFile(LangPath("en.lang"));
    LoadLangFile();
    std::map<QString, QString> byKey;
    for (const TCaption& t : LoadOptionFormTexts())
        byKey[t.Key] = t.Text;
    EXPECT_EQ(byKey["CheckBox302.Caption"], "Hide while a full-screen window is active");
}

TEST_F(LangTest, OptionDialogTextsIncludeTheCopiedCaptions) {
    InitFolder();
    WriteLang("en.lang",
              {"[OptionForm]", "OptionForm.Caption=Velmora - Options",
               "RadioButton201.Caption=Solid", "RadioGroup201.Items[0]=Across",
               "RadioButton203.Caption=See-through", "TitleLabel=Title", "[Lang: Button]",
               "ButtonCaptionSelect=Browse...", "[Lang: Caption]", "FontCaption=%s, %s, %d pt"});
    SetCurrentLangFile(LangPath("en.lang"));
    LoadLangFile();
    const auto texts = LoadOptionFormTexts();
    ASSERT_EQ(texts.size(), 64u + 5u + 4u + 2u);
    EXPECT_EQ(texts.front().Key, "OptionForm.Caption");
    EXPECT_EQ(texts.front().Text, "Velmora - Options");
    std::map<QString, QString> byKey;
    for (const TCaption& t : texts)
        byKey[t.Key] = t.Text;
    EXPECT_EQ(byKey["RadioButton204.Caption"], "Solid");
    EXPECT_EQ(byKey["RadioGroup202.Caption"], "グラデーションの むき");
    EXPECT_EQ(byKey["RadioGroup202.Items[0]"], "Across");
    EXPECT_EQ(byKey["RadioGroup202.Items[1]"], "たて");
    EXPECT_EQ(byKey["GroupBox302.Caption"], "See-through");
    EXPECT_EQ(byKey["Label602.Caption"], "Title");
    EXPECT_EQ(byKey["Label603.Caption"], "じっこー ファイル");
    EXPECT_EQ(byKey["Button501.Caption"], "Browse...");
    EXPECT_EQ(byKey["Button602.Caption"], "Browse...");
    // A key that came after the file was written takes the built-in text.
    EXPECT_EQ(byKey["CheckBox302.Caption"], "ぜんがめんの まどが あるときは かくれる");
    EXPECT_EQ(Captions().value("OptionTabSet.Tabs[5].Caption"), "コマンド");
    EXPECT_EQ(Messages().TitleLabel, "Title");
    EXPECT_EQ(Messages().FontCaption, "%s, %s, %d pt");
    EXPECT_EQ(Messages().StopAlarmCaption, "アラームを とめる");
}

TEST(LangFormat, PlaceholdersTakeTheirArgumentsAndNoMore) {
    const struct {
        const char* pattern;
        QStringList args;
        const char* expected;
    } cases[] = {
        {"%s / %s / %d pt (%d px)",
         {"IPAGothic", "Bold", "9", "12"},
         "IPAGothic / Bold / 9 pt (12 px)"},
        {"[%s]", {"a%sb"}, "[a%sb]"}, // an argument is not read as a pattern
        {"%s %s %s %d", {"one"}, "one   "},
        {"100%% %n %x %", {}, "100% %n %x %"},
        {"", {"x"}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatMsg(QString::fromUtf8(c.pattern), c.args), QString::fromUtf8(c.expected))
            << c.pattern;
}

TEST_F(LangTest, FolderThatCannotBeMadeFallsBackToTheProgramFolder) {
    WriteBytes(Program + "/Lang", "a file where the folder should be");
    EXPECT_EQ(MakeLangDir(Program), QString());
    Messages().MsgDialogCaption.clear();
    BoxAnswerer box;
    InitLangDir(Program, Ini);
    EXPECT_EQ(box.Text, "Velmora cannot make directory.");
    EXPECT_EQ(box.Caption, "Velmora [Information]");
    EXPECT_EQ(box.Icon, QMessageBox::Critical);
    EXPECT_EQ(LangDir(), Program + "/");
    EXPECT_EQ(LoadLangFile(), QString());
    EXPECT_EQ(ReadBytes(Program + "/Vlm日本語_かな.lang"), Utf16File(kDefaultLangLines));
}

TEST_F(LangTest, UnwritableFolderKeepsTheBuiltInTexts) {
    // A path below a regular file cannot be written, whoever runs the test.
    WriteBytes(Program + "/blocker", "x");
    SetLangDir(Program + "/blocker/Lang");
    SetCurrentLangFile(QString());
    const QString error = LoadLangFile();
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(CurrentLangFile(), Program + "/blocker/Lang/Vlm日本語_かな.lang");
    EXPECT_EQ(Captions().value("ActPopShowOption.Caption"), "オプション(&O)");
    EXPECT_EQ(Messages().MsgDialogCaption, "Velmora [おしらせ]");
    EXPECT_EQ(BalloonContents()[4].Flag, kbfError);
    EXPECT_EQ(LoadOptionFormTexts().size(), 64u + 5u + 4u + 2u);
    QMenu menu;
    BuildLanguageMenu(&menu);
    EXPECT_TRUE(menu.actions().isEmpty());
    EXPECT_THROW(WriteDefaultLangFile(CurrentLangFile()), TIniWriteError);
}

TEST_F(LangTest, PipeUnderALanguageFileNameIsNeverRead) {
    InitFolder();
    const QString def = LangPath("Vlm日本語_かな.lang");
    ASSERT_EQ(mkfifo(QFile::encodeName(LangPath("pipe.lang")).constData(), 0600), 0);
    EXPECT_FALSE(ListLangFiles(LangDir()).contains(LangPath("pipe.lang")));
    SetCurrentLangFile(LangPath("pipe.lang"));
    LoadLangFile(); // reading the pipe would wait forever
    EXPECT_EQ(CurrentLangFile(), def);

    QFile::remove(def);
    ASSERT_EQ(mkfifo(QFile::encodeName(def).constData(), 0600), 0);
    Captions().clear();
    LoadLangFile();
    EXPECT_EQ(Captions().value("ActPopQuit.Caption"), "しゅーりょー(&X)");
    EXPECT_EQ(LoadAboutFormTexts().front().Text, "Velmoraの バージョン じょーほー");
}
