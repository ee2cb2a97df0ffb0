#include "app/LangTexts.h"

#include "core/IniDocument.h"

namespace velmora {

namespace {

// clang-format off
const TLangKey kLangKeys[] = {
    // [MainForm]
    {"MainForm", "ActPopStopAlarm.Caption", "アラームを とめる(&S)", nullptr, nullptr},
    {"MainForm", "ActPopAdjustTime.Caption", "とけーを あわせる(&T)", nullptr, nullptr},
    {"MainForm", "ActPopShowOption.Caption", "オプション(&O)", nullptr, nullptr},
    {"MainForm", "Command1.Caption", "コマンド(&C)", nullptr, nullptr},
    {"MainForm", "Language1.Caption", "ことば", nullptr, nullptr},
    {"MainForm", "ActPopShowHelp.Caption", "ヘルプ(&H)", nullptr, nullptr},
    {"MainForm", "ActPopShowAbout.Caption", "バージョン じょーほー(&A)", nullptr, nullptr},
    {"MainForm", "ActPopQuit.Caption", "しゅーりょー(&X)", nullptr, nullptr},
    {"MainForm", "ActCreateShortcut.Caption", "ショートカットを スタートアップに つくる", nullptr, nullptr},
    {"MainForm", "TrayIcon1.Hint", "Velmora", nullptr, nullptr},
    {"MainForm", "ActRemoveShortcut.Caption", nullptr, "ショートカットを スタートアップから けす", nullptr},
    // [Lang: Msg]
    {"Lang: Msg", "MsgDialogCaption", "Velmora [おしらせ]", nullptr, &TMessageTable::MsgDialogCaption},
    {"Lang: Msg", "MsgErrorFileNotFound", "ファイルが ありません: [%s]", nullptr, &TMessageTable::MsgErrorFileNotFound},
    {"Lang: Msg", "MsgErrorShowErrorCode", "エラー コード: [%d]", nullptr, &TMessageTable::MsgErrorShowErrorCode},
    {"Lang: Msg", "MsgErrorCannotOpenItem", "ひらけません: [%s]", nullptr, &TMessageTable::MsgErrorCannotOpenItem},
    {"Lang: Msg", "MsgErrorCannotCreateShortcut", "ショートカットを つくれませんでした", nullptr, &TMessageTable::MsgErrorCannotCreateShortcut},
    {"Lang: Msg", "MsgWarnNoNTPServerName", "NTPサーバーが してー されて いません", nullptr, &TMessageTable::MsgWarnNoNTPServerName},
    {"Lang: Msg", "MsgWarnNoSoundFileName", "サウンド ファイルが してー されて いません", nullptr, &TMessageTable::MsgWarnNoSoundFileName},
    {"Lang: Msg", "MsgWarnTooManyCharacters", "もじすーが おーすぎます", nullptr, &TMessageTable::MsgWarnTooManyCharacters},
    {"Lang: Msg", "MsgWarnNotSupportedFileType", "たいおー していない ファイルです", nullptr, &TMessageTable::MsgWarnNotSupportedFileType},
    {"Lang: Msg", "MsgWarnEditMemoEmpty", "くーらんに きにゅー してください", nullptr, &TMessageTable::MsgWarnEditMemoEmpty},
    {"Lang: Msg", "MsgWarnNameValueInvalid", "よーびの ことばの しょしきが ちがっています", nullptr, &TMessageTable::MsgWarnNameValueInvalid},
    {"Lang: Msg", "MsgWarnCheckNameValue", "しょしきを かくにん してください", nullptr, &TMessageTable::MsgWarnCheckNameValue},
    {"Lang: Msg", "MsgWarnDayLangSameSectionNotExists", "[%s] は、よーび ファイルに ありません", nullptr, &TMessageTable::MsgWarnDayLangSameSectionNotExists},
    {"Lang: Msg", "MsgWarnDayLangTheLastSection", "よーびの ことばは [%s] しか ありません", nullptr, &TMessageTable::MsgWarnDayLangTheLastSection},
    {"Lang: Msg", "MsgWarnExitWithoutDelete", "さくじょ しないで しゅーりょー します", nullptr, &TMessageTable::MsgWarnExitWithoutDelete},
    {"Lang: Msg", "MsgWarnAlarmOptionNotChecked", "アラームの どーさが してー されて いません", nullptr, &TMessageTable::MsgWarnAlarmOptionNotChecked},
    {"Lang: Msg", "MsgConfirmOverwriteItem", "うわがき します: [%s]", nullptr, &TMessageTable::MsgConfirmOverwriteItem},
    {"Lang: Msg", "MsgConfirmAddItem", "ついか します: [%s]", nullptr, &TMessageTable::MsgConfirmAddItem},
    {"Lang: Msg", "MsgConfirmDeleteItem", "さくじょ します: [%s]", nullptr, &TMessageTable::MsgConfirmDeleteItem},
    {"Lang: Msg", "MsgConfirmOKCancel", "よろしー ですか？", nullptr, &TMessageTable::MsgConfirmOKCancel},
    {"Lang: Msg", "MsgInfoOverwroteItem", "うわがき しました: [%s]", nullptr, &TMessageTable::MsgInfoOverwroteItem},
    {"Lang: Msg", "MsgInfoAddedItem", "ついか しました: [%s]", nullptr, &TMessageTable::MsgInfoAddedItem},
    {"Lang: Msg", "MsgInfoDeletedItem", "さくじょ しました: [%s]", nullptr, &TMessageTable::MsgInfoDeletedItem},
    {"Lang: Msg", "MsgInfoCreatedShortcut", "ショートカットを スタートアップに つくりました", nullptr, &TMessageTable::MsgInfoCreatedShortcut},
    {"Lang: Msg", "MsgWarnDayLangTitleInvalid", nullptr,
     "この タイトルは つかえません: [%s] (DayLang、[ ]、さいしょの ; は つかえません)",
     &TMessageTable::MsgWarnDayLangTitleInvalid},
    {"Lang: Msg", "MsgErrorSettingsUnreadable", nullptr,
     "せってー ファイルを よめません: [%s] %s はじめの せってーで うごきます。この ファイルは うわがき しません",
     &TMessageTable::MsgErrorSettingsUnreadable},
    {"Lang: Msg", "MsgWarnSettingsNotUtf16", nullptr,
     "せってー ファイルが UTF-16 の テキストでは ありません: [%s] はじめの せってーで うごきます。ほぞん するとき、この ファイルは [%s] として のこします",
     &TMessageTable::MsgWarnSettingsNotUtf16},
    {"Lang: Msg", "MsgErrorSettingsNotKept", nullptr,
     "せってー ファイルを [%s] として のこせませんでした。せってーは ほぞん されて いません",
     &TMessageTable::MsgErrorSettingsNotKept},
    {"Lang: Msg", "MsgConfirmStepClock", nullptr,
     "この コンピューターの とけーは %s。サーバーの じこくに あわせますか？",
     &TMessageTable::MsgConfirmStepClock},
    {"Lang: Msg", "MsgAlarmHintDefault", nullptr, "アラームのメッセージ", &TMessageTable::MsgAlarmHintDefault},
    {"Lang: Msg", "MsgErrorFileNotChanged", nullptr, "ファイルを かきかえられませんでした: [%s] %s", &TMessageTable::MsgErrorFileNotChanged},
    {"Lang: Msg", "MsgReasonLinkCircle", nullptr, "じぶんに もどる シンボリック リンクです。", &TMessageTable::MsgReasonLinkCircle},
    {"Lang: Msg", "MsgReasonNotRegularFile", nullptr, "ふつーの ファイルでは ありません。", &TMessageTable::MsgReasonNotRegularFile},
    {"Lang: Msg", "MsgReasonTooLarge", nullptr, "おーきすぎます (%d MB まで)。", &TMessageTable::MsgReasonTooLarge},
    {"Lang: Msg", "MsgReasonCannotRead", nullptr, "よみこめません。", &TMessageTable::MsgReasonCannotRead},
    {"Lang: Msg", "MsgReasonCannotWrite", nullptr, "かきこめません。", &TMessageTable::MsgReasonCannotWrite},
    {"Lang: Msg", "MsgReasonNotUtf16", nullptr, "UTF-16 の テキストでは ありません。UTF-16 で ほぞん すると ここで へんしゅー できます。", &TMessageTable::MsgReasonNotUtf16},
    {"Lang: Msg", "MsgReasonNoFileName", nullptr, "じっこー ファイルが してー されて いません。", &TMessageTable::MsgReasonNoFileName},
    {"Lang: Msg", "MsgReasonFileMissing", nullptr, "ファイルが ありません。", &TMessageTable::MsgReasonFileMissing},
    {"Lang: Msg", "MsgReasonNotExecutableAdmin", nullptr, "じっこー できる プログラムでは ありません。かんりしゃ けんげんで うごかせるのは プログラムだけです。", &TMessageTable::MsgReasonNotExecutableAdmin},
    {"Lang: Msg", "MsgReasonParametersUnreadable", nullptr, "オプションの クォートが とじて いません。", &TMessageTable::MsgReasonParametersUnreadable},
    {"Lang: Msg", "MsgReasonCannotStart", nullptr, "はじめられませんでした。", &TMessageTable::MsgReasonCannotStart},
    {"Lang: Msg", "MsgReasonNoOpener", nullptr, "ひらく ための プログラム (ウェブ ブラウザーなど) が みつかりません。", &TMessageTable::MsgReasonNoOpener},
    {"Lang: Msg", "MsgInfoRemovedShortcut", nullptr, "ショートカットを スタートアップから けしました", &TMessageTable::MsgInfoRemovedShortcut},
    {"Lang: Msg", "MsgErrorCannotRemoveShortcut", nullptr, "ショートカットを けせませんでした", &TMessageTable::MsgErrorCannotRemoveShortcut},
    {"Lang: Msg", "MsgErrorSettingsNotSaved", nullptr,
     "せってーを ほぞん できませんでした: [%s] %s かえた せってーは おぼえて いて、つぎに ほぞん するとき もう いちど ためします",
     &TMessageTable::MsgErrorSettingsNotSaved},
    {"Lang: Msg", "MsgWarnTooManyCommands", nullptr,
     "コマンドが おおすぎます。さいしょの %d こ だけを よみこみました。のこりは ファイルに そのまま のこします",
     &TMessageTable::MsgWarnTooManyCommands},
    // [Lang: Balloon]
    {"Lang: Balloon", "BalloonTitleNormal", "Velmora [おしらせ]", nullptr, &TMessageTable::BalloonTitleNormal},
    {"Lang: Balloon", "BalloonTitleAlarm", "Velmora [アラーム]", nullptr, &TMessageTable::BalloonTitleAlarm},
    {"Lang: Balloon", "BalloonWarnNoSwitch", "オプションが ありません", nullptr, &TMessageTable::BalloonWarnNoSwitch},
    {"Lang: Balloon", "BalloonWarnTooManySwitches", "オプションが おーすぎます", nullptr, &TMessageTable::BalloonWarnTooManySwitches},
    {"Lang: Balloon", "BalloonWarnNoNTPServerName", "NTPサーバーが してー されて いません", nullptr, &TMessageTable::BalloonWarnNoNTPServerName},
    {"Lang: Balloon", "BalloonInfoAdjustTimeSucceeded", "とけーを あわせました", nullptr, &TMessageTable::BalloonInfoAdjustTimeSucceeded},
    {"Lang: Balloon", "BalloonErrorCannotAdjustTime", "とけーを あわせることが できませんでした", nullptr, &TMessageTable::BalloonErrorCannotAdjustTime},
    {"Lang: Balloon", "BalloonErrorAdjustTimeError", "とけー あわせで エラーが はっせー しました", nullptr, &TMessageTable::BalloonErrorAdjustTimeError},
    {"Lang: Balloon", "BalloonWarnNetworkNotAlive", "ネットワークに つながって いません", nullptr, &TMessageTable::BalloonWarnNetworkNotAlive},
    {"Lang: Balloon", "BalloonWarnStepTooLarge", nullptr,
     "とけーを あわせませんでした: この コンピューターの とけーは %s。あわせるには メニューの「とけーを あわせる」を えらんでください",
     &TMessageTable::BalloonWarnStepTooLarge},
    {"Lang: Balloon", "BalloonErrorCannotAdjustTimeReason", nullptr,
     "とけーを あわせることが できませんでした: %s",
     &TMessageTable::BalloonErrorCannotAdjustTimeReason},
    {"Lang: Balloon", "SyncClockAhead", nullptr,
     "%s すすんで います",
     &TMessageTable::SyncClockAhead},
    {"Lang: Balloon", "SyncClockBehind", nullptr,
     "%s おくれて います",
     &TMessageTable::SyncClockBehind},
    {"Lang: Balloon", "SyncOffsetHoursMinutes", nullptr,
     "%d じかん %d ふん",
     &TMessageTable::SyncOffsetHoursMinutes},
    {"Lang: Balloon", "SyncOffsetDaysHours", nullptr,
     "%d にち %d じかん",
     &TMessageTable::SyncOffsetDaysHours},
    {"Lang: Balloon", "SyncReasonNotResolved", nullptr,
     "サーバーの なまえが みつかりません",
     &TMessageTable::SyncReasonNotResolved},
    {"Lang: Balloon", "SyncReasonNoAnswer", nullptr,
     "サーバーから こたえが ありません",
     &TMessageTable::SyncReasonNoAnswer},
    {"Lang: Balloon", "SyncReasonBadAnswer", nullptr,
     "サーバーの こたえが つかえません",
     &TMessageTable::SyncReasonBadAnswer},
    {"Lang: Balloon", "SyncReasonRefused", nullptr,
     "システムの じこく サービスに ことわられました",
     &TMessageTable::SyncReasonRefused},
    {"Lang: Balloon", "SyncReasonTimeKeptBySystem", nullptr,
     "システムが じぶんで じこくを あわせて います",
     &TMessageTable::SyncReasonTimeKeptBySystem},
    {"Lang: Balloon", "SyncReasonNoService", nullptr,
     "システムの じこく サービスが ありません",
     &TMessageTable::SyncReasonNoService},
    {"Lang: Balloon", "SyncReasonStepTooLarge", nullptr,
     "ずれが おーきすぎます",
     &TMessageTable::SyncReasonStepTooLarge},
    {"Lang: Balloon", "SyncReasonUnconfirmed", nullptr,
     "1にち いじょーの ずれには、それを みとめる ふたつめの サーバー めーが ひつよーです",
     &TMessageTable::SyncReasonUnconfirmed},
    {"Lang: Balloon", "SyncReasonBeforeBuildDate", nullptr,
     "サーバーの じこくが この プログラムが つくられた ひより まえです",
     &TMessageTable::SyncReasonBeforeBuildDate},
    {"Lang: Balloon", "SyncReasonBusy", nullptr,
     "ほかの とけー あわせが うごいて います",
     &TMessageTable::SyncReasonBusy},
    // [Lang: Command]
    {"Lang: Command", "Command0Title", "とけー あわせ", nullptr, &TMessageTable::Command0Title},
    // [Lang: Button]
    {"Lang: Button", "ButtonCaptionOK", "OK", nullptr, &TMessageTable::ButtonCaptionOK},
    {"Lang: Button", "ButtonCaptionSelect", "さんしょー", nullptr, &TMessageTable::ButtonCaptionSelect},
    // [Lang: Caption]
    {"Lang: Caption", "FontCaption", "%s / %s / %d pt (%d px)", nullptr, &TMessageTable::FontCaption},
    {"Lang: Caption", "StopAlarmCaption", "アラームを とめる", nullptr, &TMessageTable::StopAlarmCaption},
    // [OptionForm]
    {"OptionForm", "OptionForm.Caption", "Velmora - オプション", nullptr, nullptr},
    {"OptionForm", "SaveSettingsButton.Caption", "せってーを ほぞん", nullptr, nullptr},
    {"OptionForm", "OptionTabSet.Tabs[0].Caption", "もじ", nullptr, nullptr},
    {"OptionForm", "OptionTabSet.Tabs[1].Caption", "フォント・いろ", nullptr, nullptr},
    {"OptionForm", "OptionTabSet.Tabs[2].Caption", "ウィンドウ", nullptr, nullptr},
    {"OptionForm", "OptionTabSet.Tabs[3].Caption", "バルーン", nullptr, nullptr},
    {"OptionForm", "OptionTabSet.Tabs[4].Caption", "アラーム", nullptr, nullptr},
    {"OptionForm", "OptionTabSet.Tabs[5].Caption", "コマンド", nullptr, nullptr},
    {"OptionForm", "GroupBox101.Caption", "ひょーじ する もじ", nullptr, nullptr},
    {"OptionForm", "CheckBox101.Caption", "ひづけ", nullptr, nullptr},
    {"OptionForm", "CheckBox102.Caption", "よーび", nullptr, nullptr},
    {"OptionForm", "RadioGroup101.Caption", "じこく", nullptr, nullptr},
    {"OptionForm", "RadioGroup101.Items[0]", "12:34:56 (びょー まで)", nullptr, nullptr},
    {"OptionForm", "RadioGroup101.Items[1]", "12:34 (ふん まで)", nullptr, nullptr},
    {"OptionForm", "GroupBox102.Caption", "よーびの ことばの へんしゅー", nullptr, nullptr},
    {"OptionForm", "Label101.Caption", "げんざいの よーびの ことば", nullptr, nullptr},
    {"OptionForm", "Label102.Caption", "タイトル", nullptr, nullptr},
    {"OptionForm", "Label103.Caption", "ないよー", nullptr, nullptr},
    {"OptionForm", "Button101.Caption", "よーび ファイルを こーしん", nullptr, nullptr},
    {"OptionForm", "GroupBox201.Caption", "フォント", nullptr, nullptr},
    {"OptionForm", "Button201.Caption", "フォントを えらぶ", nullptr, nullptr},
    {"OptionForm", "GroupBox202.Caption", "いろ", nullptr, nullptr},
    {"OptionForm", "GroupBox203.Caption", "もじ (つーじょー)", nullptr, nullptr},
    {"OptionForm", "RadioButton201.Caption", "たんしょく", nullptr, nullptr},
    {"OptionForm", "RadioButton202.Caption", "グラデーション (Vista いこー)", nullptr, nullptr},
    {"OptionForm", "RadioGroup201.Caption", "グラデーションの むき", nullptr, nullptr},
    {"OptionForm", "RadioGroup201.Items[0]", "よこ", nullptr, nullptr},
    {"OptionForm", "RadioGroup201.Items[1]", "たて", nullptr, nullptr},
    {"OptionForm", "GroupBox204.Caption", "はいけー (つーじょー)", nullptr, nullptr},
    {"OptionForm", "RadioButton203.Caption", "とーめー", nullptr, nullptr},
    {"OptionForm", "RadioButton205.Caption", "グラデーション", nullptr, nullptr},
    {"OptionForm", "GroupBox205.Caption", "そとわく (つーじょー)", nullptr, nullptr},
    {"OptionForm", "CheckBox201.Caption", "そとわくを ひょーじ", nullptr, nullptr},
    {"OptionForm", "GroupBox301.Caption", "おーきさ (ばいりつ: 0.75～1.25)", nullptr, nullptr},
    {"OptionForm", "Label301.Caption", "はば", nullptr, nullptr},
    {"OptionForm", "Label302.Caption", "たかさ", nullptr, nullptr},
    {"OptionForm", "CheckBox301.Caption", "ぜんたいを とーめーに する", nullptr, nullptr},
    {"OptionForm", "Label303.Caption", "とーめーの どあい (0～255)", nullptr, nullptr},
    {"OptionForm", "RadioGroup301.Caption", "かさなり じゅん", nullptr, nullptr},
    {"OptionForm", "RadioGroup301.Items[0]", "いちばん てまえ", nullptr, nullptr},
    {"OptionForm", "RadioGroup301.Items[1]", "いちばん おく", nullptr, nullptr},
    {"OptionForm", "CheckBox302.Caption", nullptr, "ぜんがめんの まどが あるときは かくれる", nullptr},
    {"OptionForm", "GroupBox401.Caption", "バルーンの アイコン", nullptr, nullptr},
    {"OptionForm", "CheckBox401.Caption", "おーきー アイコンに する (Vista いこー)", nullptr, nullptr},
    {"OptionForm", "Button502.Caption", "アラームを テスト", nullptr, nullptr},
    {"OptionForm", "GroupBox501.Caption", "アラームの せってー", nullptr, nullptr},
    {"OptionForm", "CheckBox501.Caption", "アラームを せってー する じこく", nullptr, nullptr},
    {"OptionForm", "GroupBox502.Caption", "アラームの どーさ", nullptr, nullptr},
    {"OptionForm", "CheckBox502.Caption", "てんめつ させる (2 びょー かんかく)", nullptr, nullptr},
    {"OptionForm", "CheckBox503.Caption", "いろを かえる", nullptr, nullptr},
    {"OptionForm", "Label501.Caption", "もじ (アラーム)", nullptr, nullptr},
    {"OptionForm", "Label502.Caption", "はいけー (アラーム)", nullptr, nullptr},
    {"OptionForm", "Label503.Caption", "そとわく (アラーム)", nullptr, nullptr},
    {"OptionForm", "CheckBox504.Caption", "バルーンを ひょーじ", nullptr, nullptr},
    {"OptionForm", "Label504.Caption", "メッセージ (1～255 じ)", nullptr, nullptr},
    {"OptionForm", "CheckBox505.Caption", "サウンド ファイルを さいせー", nullptr, nullptr},
    {"OptionForm", "Label601.Caption", "コマンドの いちらん", nullptr, nullptr},
    {"OptionForm", "TitleLabel", "タイトル", nullptr, &TMessageTable::TitleLabel},
    {"OptionForm", "FileNameLabel", "じっこー ファイル", nullptr, &TMessageTable::FileNameLabel},
    {"OptionForm", "OptionLabel", "じっこー ファイルの オプション", nullptr, &TMessageTable::OptionLabel},
    {"OptionForm", "CommandOptionLabel", "コマンド オプション", nullptr, &TMessageTable::CommandOptionLabel},
    {"OptionForm", "Button601.Caption", "あたらしー コマンドを ついか", nullptr, nullptr},
    {"OptionForm", "GroupBox601.Caption", "コマンドの へんしゅー", nullptr, nullptr},
    {"OptionForm", "Button603.Caption", "コマンドを さくじょ", nullptr, nullptr},
    // [AboutForm]
    {"AboutForm", "AboutForm.Caption", "Velmoraの バージョン じょーほー", nullptr, nullptr},
    {"AboutForm", "TitleLabel.Caption", "Velmora (ヴェルモラ) デスクトップ とけー", nullptr, nullptr},
    {"AboutForm", "AuthorLabel.Caption", "さくしゃ: Velmora かいはつ チーム", nullptr, nullptr},
    {"AboutForm", "WebSiteLabel.Caption", "「Velmora Project」", nullptr, nullptr},
    {"AboutForm", "CreditMemo.Text", "Velmoraは いかの コンポーネントや ユニットを つかっています。", "Velmoraは いかの コンポーネントや ユニットを 使用しています。", nullptr},
};
// clang-format on

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

std::span<const TLangKey> LangKeyTable() {
    return kLangKeys;
}

QString FallbackOf(const TLangKey& k) {
    return Text(k.Fallback ? k.Fallback : k.FileText);
}

QByteArray TextFileBytes(const QStringList& lines) {
    QByteArray out("\xFF\xFE", 2);
    for (const QString& line : lines)
        for (QChar c : line + QStringLiteral("\r\n")) {
            out.append(char(c.unicode() & 0xFF));
            out.append(char(c.unicode() >> 8));
        }
    return out;
}

QByteArray DefaultLangFileBytes() {
    const QString rule = QLatin1Char(';') + QString(78, QLatin1Char('-'));
    QStringList lines = {rule,
                         QStringLiteral(";[General]"),
                         QStringLiteral(";FileName=") + kDefaultLangFileName,
                         QStringLiteral(";Charset=UTF-16"),
                         QStringLiteral(";Description=日本語_かな"),
                         rule,
                         QString()};
    QString section;
    for (const TLangKey& k : kLangKeys) {
        if (!k.FileText)
            continue;
        if (Text(k.Section) != section) {
            if (!section.isEmpty())
                lines << QString();
            section = Text(k.Section);
            lines << QLatin1Char('[') + section + QLatin1Char(']');
        }
        lines << Text(k.Key) + QLatin1Char('=') + Text(k.FileText);
    }
    lines << QString();
    return TextFileBytes(lines);
}

void WriteDefaultLangFile(const QString& path) {
    WriteFileAtomically(path, DefaultLangFileBytes());
}

QString FallbackText(const QString& key) {
    for (const TLangKey& k : kLangKeys)
        if (Text(k.Key) == key)
            return FallbackOf(k);
    return QString();
}

QString OrFallback(const QString& text, const QString& key) {
    return text.isEmpty() ? FallbackText(key) : text;
}

std::vector<TLangKeyInfo> LangKeys() {
    std::vector<TLangKeyInfo> keys;
    for (const TLangKey& k : kLangKeys)
        keys.push_back({Text(k.Section), Text(k.Key), Text(k.FileText ? k.FileText : k.Fallback)});
    return keys;
}

QStringList CaptionKeys(const QString& section) {
    QStringList keys;
    for (const TLangKey& k : kLangKeys)
        if (!k.Field && Text(k.Section) == section)
            keys << Text(k.Key);
    return keys;
}

} // namespace velmora
