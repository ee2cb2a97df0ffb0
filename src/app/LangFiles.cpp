#include "app/LangFiles.h"

#include "app/MessageDialog.h"
#include "core/IniDocument.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>

namespace velmora {

namespace {

const QString kSecMainForm = QStringLiteral("MainForm");
const QString kSecMsg = QStringLiteral("Lang: Msg");
const QString kSecBalloon = QStringLiteral("Lang: Balloon");
const QString kSecCommand = QStringLiteral("Lang: Command");
const QString kSecButton = QStringLiteral("Lang: Button");
const QString kSecCaption = QStringLiteral("Lang: Caption");
const QString kSecOptionForm = QStringLiteral("OptionForm");
const QString kSecAboutForm = QStringLiteral("AboutForm");

struct TLangState {
    QString LangDir;
    QString CurrentLangFile;
};

TLangState& State() {
    static TLangState state;
    return state;
}

QString Text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QString WithSlash(const QString& dir) {
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

bool IsFile(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isFile();
}

// Only a regular file of a sensible size is read: a pipe under a language file's
// name would never end, and a huge file is no language file.
IniDocument OpenLangFile(const QString& path) {
    if (!IsFile(path) || QFileInfo(path).size() > kMaxLangFileSize)
        return IniDocument();
    return IniDocument(path);
}

QString ReadText(const IniDocument& doc, const TLangKey& k) {
    const QString fallback = FallbackOf(k);
    const QString text = doc.ReadString(Text(k.Section), Text(k.Key), fallback);
    return text.size() > kMaxLangTextLength ? fallback : text;
}

void Store(const TLangKey& k, const QString& text) {
    if (k.Field)
        Messages().*k.Field = text;
    else
        Captions()[Text(k.Key)] = text;
}

// Reads the keys of `section` in table order into the tables; returns them.
std::vector<TCaption> ReadSection(const IniDocument& doc, const QString& section) {
    std::vector<TCaption> out;
    for (const TLangKey& k : LangKeyTable())
        if (Text(k.Section) == section) {
            const QString text = ReadText(doc, k);
            Store(k, text);
            out.push_back({Text(k.Key), text});
        }
    return out;
}

// The current file, or the default one when it has gone; opened afresh.
IniDocument OpenCurrentLangFile(std::optional<TIniWriteError>* error) {
    if (!IsFile(State().CurrentLangFile)) {
        std::optional<TIniWriteError> why = UseDefaultLangFile();
        if (error)
            *error = std::move(why);
    }
    return OpenLangFile(State().CurrentLangFile);
}

QString MsgOf(QString TMessageTable::*field, const char* key) {
    return OrFallback(Messages().*field, QString::fromLatin1(key));
}

} // namespace

TCaptionTable& Captions() {
    static TCaptionTable table;
    return table;
}

TBalloonContents& BalloonContents() {
    static TBalloonContents contents;
    return contents;
}

void BuildBalloonContents() {
    const TMessageTable& m = Messages();
    const std::pair<const QString*, TKvBalloonFlags> rows[] = {
        {&m.BalloonWarnNoSwitch, kbfWarning},        {&m.BalloonWarnTooManySwitches, kbfWarning},
        {&m.BalloonWarnNoNTPServerName, kbfWarning}, {&m.BalloonInfoAdjustTimeSucceeded, kbfInfo},
        {&m.BalloonErrorCannotAdjustTime, kbfError}, {&m.BalloonErrorAdjustTimeError, kbfError},
        {&m.BalloonWarnNetworkNotAlive, kbfWarning},
    };
    static_assert(std::size(rows) == std::tuple_size_v<TBalloonContents>);
    for (size_t i = 0; i < std::size(rows); ++i)
        BalloonContents()[i] = {m.BalloonTitleNormal, *rows[i].first, rows[i].second};
}

QString MakeLangDir(const QString& programDir) {
    if (programDir.isEmpty())
        return QString();
    const QString dir = WithSlash(programDir) + QStringLiteral("Lang");
    if (!QFileInfo(dir).isDir() && !QDir().mkpath(dir))
        return QString();
    return QFileInfo(dir).isDir() ? dir + QLatin1Char('/') : QString();
}

void InitLangDir(const QString& programDir, const QString& iniFileName, QWidget* owner) {
    QString dir = MakeLangDir(programDir);
    if (dir.isEmpty()) {
        // No language is loaded yet, so the box has the fallback title.
        ShowMessageDialog(QStringLiteral("Velmora cannot make directory."), TMsgDlgType::Error,
                          mbOK, owner);
        dir = programDir.isEmpty() ? QString() : WithSlash(programDir);
    }
    State().LangDir = dir;
    State().CurrentLangFile = ReadLangFileName(iniFileName);
}

QString LangDir() {
    return State().LangDir;
}
QString CurrentLangFile() {
    return State().CurrentLangFile;
}
void SetLangDir(const QString& dir) {
    State().LangDir = dir.isEmpty() ? dir : WithSlash(dir);
}
void SetCurrentLangFile(const QString& path) {
    State().CurrentLangFile = path;
}

QString ReadLangFileName(const QString& iniFileName) {
    const IniDocument doc(iniFileName);
    const QString name =
        doc.ReadString(QStringLiteral("Language"), QStringLiteral("LangFileName"), QString());
    if (name.isEmpty())
        return State().LangDir + kDefaultLangFileName;
    if (QDir::isRelativePath(name))
        return QFileInfo(iniFileName).absoluteDir().filePath(name);
    return name;
}

std::optional<TIniWriteError> EnsureDefaultLangFile() {
    if (State().LangDir.isEmpty())
        return TIniWriteError(TFileProblem::CannotWrite, kDefaultLangFileName,
                              QStringLiteral("There is no language folder."));
    const QString path = State().LangDir + kDefaultLangFileName;
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return std::nullopt; // an existing default file, edited or not, is the user's
    try {
        WriteDefaultLangFile(path);
    } catch (const TIniWriteError& e) {
        return e;
    }
    return std::nullopt;
}

std::optional<TIniWriteError> UseDefaultLangFile() {
    std::optional<TIniWriteError> why = EnsureDefaultLangFile();
    if (!State().LangDir.isEmpty())
        State().CurrentLangFile = State().LangDir + kDefaultLangFileName;
    return why;
}

QString LoadLangFile() {
    std::optional<TIniWriteError> error;
    const IniDocument doc = OpenCurrentLangFile(&error);
    for (const QString& section : {kSecMainForm, kSecMsg, kSecBalloon, kSecCommand, kSecButton})
        ReadSection(doc, section);
    BuildBalloonContents();
    return error ? FileErrorText(*error) : QString(); // in the language just read
}

std::vector<TCaption> LoadOptionFormTexts() {
    const IniDocument doc = OpenCurrentLangFile(nullptr);
    std::vector<TCaption> out = ReadSection(doc, kSecOptionForm);
    const auto set = [&out](const QString& key, const QString& text) {
        Captions()[key] = text;
        out.push_back({key, text});
    };
    // Controls that repeat another control's text.
    const std::pair<const char*, const char*> copies[] = {
        {"RadioButton204.Caption", "RadioButton201.Caption"},
        {"RadioGroup202.Caption", "RadioGroup201.Caption"},
        {"RadioGroup202.Items[0]", "RadioGroup201.Items[0]"},
        {"RadioGroup202.Items[1]", "RadioGroup201.Items[1]"},
        {"GroupBox302.Caption", "RadioButton203.Caption"},
    };
    for (const auto& [to, from] : copies)
        set(Text(to), Captions().value(Text(from)));
    const TMessageTable& m = Messages();
    set(QStringLiteral("Label602.Caption"), m.TitleLabel);
    set(QStringLiteral("Label603.Caption"), m.FileNameLabel);
    set(QStringLiteral("Label604.Caption"), m.OptionLabel);
    set(QStringLiteral("Label605.Caption"), m.CommandOptionLabel);
    set(QStringLiteral("Button501.Caption"), m.ButtonCaptionSelect);
    set(QStringLiteral("Button602.Caption"), m.ButtonCaptionSelect);
    ReadSection(doc, kSecCaption);
    return out;
}

std::vector<TCaption> LoadAboutFormTexts() {
    return ReadSection(OpenCurrentLangFile(nullptr), kSecAboutForm);
}

TLangInfo ReadLangInfo(const QString& path) {
    const IniDocument doc = OpenLangFile(path);
    const auto value = [&doc](const QString& key) {
        const QString v = doc.ReadString(kLangInfoSection, key, QString());
        return v.size() > kMaxLangTextLength ? QString() : v;
    };
    return {value(kLangInfoLocale), value(kLangInfoHelpFile)};
}

bool HasSavedLangFileName(const QString& iniFileName) {
    const IniDocument doc(iniFileName);
    return !doc.ReadString(QStringLiteral("Language"), QStringLiteral("LangFileName"), QString())
                .isEmpty();
}

QString ChooseLangFileForLocale(const TLocaleVars& vars) {
    std::vector<TLangFileLocale> files;
    for (const QString& path : ListLangFiles(State().LangDir))
        files.push_back({path, ReadLangInfo(path).Locale});
    const QString chosen = LangFileForLocale(vars, files);
    if (!chosen.isEmpty())
        State().CurrentLangFile = chosen;
    return chosen;
}

QString CurrentHelpPage(const QString& helpDir) {
    const QString current = State().CurrentLangFile;
    return HelpPageFor(helpDir, ReadLangInfo(current).HelpFile,
                       QFileInfo(current).fileName() == kDefaultLangFileName);
}

QStringList ListLangFiles(const QString& langDir) {
    QStringList out;
    if (langDir.isEmpty())
        return out;
    const QDir dir(langDir);
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::NoSort)) {
        const QString name = info.fileName();
        if (name.endsWith(kLangExtension, Qt::CaseInsensitive) && name != kDayLangFileName)
            out << WithSlash(langDir) + name;
    }
    std::sort(out.begin(), out.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b; // names differing only in case are other files
    });
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

TLangChange ChooseLanguage(const QString& path) {
    const TCaptionTable captions = Captions();
    const TMessageTable messages = Messages();
    State().CurrentLangFile = path;
    TLangChange change;
    change.Error = LoadLangFile();
    for (const TLangKey& k : LangKeyTable()) {
        if (k.Field) {
            change.MessagesChanged |= messages.*k.Field != Messages().*k.Field;
            continue;
        }
        const QString key = Text(k.Key);
        const auto it = Captions().constFind(key);
        if (it != Captions().cend() && (!captions.contains(key) || captions.value(key) != *it))
            change.Captions << key;
    }
    change.Command0TitleChanged = messages.Command0Title != Messages().Command0Title;
    return change;
}

QString FileProblemText(TFileProblem problem) {
    using M = TMessageTable;
    switch (problem) {
    case TFileProblem::LinkCircle:
        return MsgOf(&M::MsgReasonLinkCircle, "MsgReasonLinkCircle");
    case TFileProblem::NotRegularFile:
        return MsgOf(&M::MsgReasonNotRegularFile, "MsgReasonNotRegularFile");
    case TFileProblem::TooLarge:
        return FormatMsg(MsgOf(&M::MsgReasonTooLarge, "MsgReasonTooLarge"),
                         {QString::number(kMaxIniFileSize / (1024 * 1024))});
    case TFileProblem::CannotRead:
        return MsgOf(&M::MsgReasonCannotRead, "MsgReasonCannotRead");
    case TFileProblem::NotUtf16:
        return MsgOf(&M::MsgReasonNotUtf16, "MsgReasonNotUtf16");
    case TFileProblem::None:
    case TFileProblem::CannotWrite:
        break;
    }
    return MsgOf(&M::MsgReasonCannotWrite, "MsgReasonCannotWrite");
}

QString FileErrorText(const TIniWriteError& error) {
    std::fprintf(stderr, "velmora: %s\n", error.what());
    return FormatMsg(MsgOf(&TMessageTable::MsgErrorFileNotChanged, "MsgErrorFileNotChanged"),
                     {error.Path(), FileProblemText(error.Problem())});
}

QString LaunchProblemText(TLaunchProblem problem) {
    using M = TMessageTable;
    switch (problem) {
    case TLaunchProblem::NoFileName:
        return MsgOf(&M::MsgReasonNoFileName, "MsgReasonNoFileName");
    case TLaunchProblem::FileMissing:
        return MsgOf(&M::MsgReasonFileMissing, "MsgReasonFileMissing");
    case TLaunchProblem::NotExecutableForAdmin:
        return MsgOf(&M::MsgReasonNotExecutableAdmin, "MsgReasonNotExecutableAdmin");
    case TLaunchProblem::ParametersUnreadable:
        return MsgOf(&M::MsgReasonParametersUnreadable, "MsgReasonParametersUnreadable");
    case TLaunchProblem::CannotStart:
        break;
    }
    return MsgOf(&M::MsgReasonCannotStart, "MsgReasonCannotStart");
}

QString CannotStartText(const QString& fileName, TLaunchProblem problem) {
    return FormatMsg(MsgOf(&TMessageTable::MsgErrorCannotOpenItem, "MsgErrorCannotOpenItem"),
                     {fileName}) +
           QStringLiteral(" (") + LaunchProblemText(problem) + QLatin1Char(')');
}

QString NoOpenerText(const QString& path) {
    return FormatMsg(MsgOf(&TMessageTable::MsgErrorCannotOpenItem, "MsgErrorCannotOpenItem"),
                     {path}) +
           QStringLiteral(" (") + MsgOf(&TMessageTable::MsgReasonNoOpener, "MsgReasonNoOpener") +
           QLatin1Char(')');
}

QString UserErrorText(const std::exception& error) {
    if (const auto* write = dynamic_cast<const TIniWriteError*>(&error))
        return FileErrorText(*write);
    return QString::fromUtf8(error.what());
}

void ResetLangState() {
    State() = TLangState();
    Messages() = TMessageTable();
    Captions().clear();
    BalloonContents() = TBalloonContents();
}

} // namespace velmora
