#include "app/LangFiles.h"

#include "app/MessageDialog.h"
#include "core/IniDocument.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

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
IniDocument OpenCurrentLangFile(QString* error) {
    if (!IsFile(State().CurrentLangFile)) {
        const QString why = UseDefaultLangFile();
        if (error)
            *error = why;
    }
    return OpenLangFile(State().CurrentLangFile);
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

QString EnsureDefaultLangFile() {
    if (State().LangDir.isEmpty())
        return QStringLiteral("There is no language folder.");
    const QString path = State().LangDir + kDefaultLangFileName;
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return QString(); // an existing default file, edited or not, is the user's
    try {
        WriteDefaultLangFile(path);
    } catch (const TIniWriteError& e) {
        return QString::fromUtf8(e.what());
    }
    return QString();
}

QString UseDefaultLangFile() {
    const QString why = EnsureDefaultLangFile();
    if (!State().LangDir.isEmpty())
        State().CurrentLangFile = State().LangDir + kDefaultLangFileName;
    return why;
}

QString LoadLangFile() {
    QString error;
    const IniDocument doc = OpenCurrentLangFile(&error);
    for (const QString& section : {kSecMainForm, kSecMsg, kSecBalloon, kSecCommand, kSecButton})
        ReadSection(doc, section);
    BuildBalloonContents();
    return error;
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

void ResetLangState() {
    State() = TLangState();
    Messages() = TMessageTable();
    Captions().clear();
    BalloonContents() = TBalloonContents();
}

} // namespace velmora
