#include "app/DayWords.h"

#include "app/LangFiles.h"
#include "core/IniDocument.h"
#include "core/TextForms.h"

#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <optional>

namespace velmora {

namespace {

struct TDayLangState {
    QString DayLangFile;
    QString CurrentDayLangKind;
};

TDayLangState& State() {
    static TDayLangState state;
    return state;
}

// A file too large to be a day-word file is not read (the words keep their defaults).
IniDocument OpenDayFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxLangFileSize)
        return IniDocument();
    return IniDocument(path);
}

// Opens the file for a rewrite: a file that could not be read, or that is not
// UTF-16 and so read as empty, must not be replaced by what little was understood.
IniDocument OpenDayFileForWriting(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw TIniWriteError(TFileProblem::NotRegularFile, path,
                             QStringLiteral("\"%1\" is not a file; it was not changed.").arg(path));
    if (info.size() > kMaxLangFileSize)
        throw TIniWriteError(TFileProblem::TooLarge, path,
                             QStringLiteral("The file \"%1\" is too large to be a day-of-week "
                                            "words file; it was not changed.")
                                 .arg(path));
    IniDocument doc(path);
    if (!doc.ReadError().isEmpty())
        throw TIniWriteError(
            doc.ReadProblem(), path,
            QStringLiteral("Cannot read file \"%1\". %2").arg(path, doc.ReadError()));
    if (doc.ForeignEncoding())
        throw TIniWriteError(TFileProblem::NotUtf16, path,
                             QStringLiteral("The file \"%1\" is not a UTF-16 text file; it was "
                                            "not changed.")
                                 .arg(path));
    return doc;
}

void EraseAll(IniDocument& doc, const QString& section) {
    while (doc.ReadSections().contains(section, Qt::CaseInsensitive))
        doc.EraseSection(section);
}

} // namespace

QByteArray DefaultDayFileBytes() {
    const QString rule = QLatin1Char(';') + QString(78, QLatin1Char('-'));
    return TextFileBytes(
        {rule, QStringLiteral(";[General]"), QStringLiteral(";title=Velmora_Day"),
         QStringLiteral(";charset=UTF-16"), QStringLiteral(";description=DayOfTheWeek"), rule,
         QString(), QStringLiteral("[DayLang]"),
         QStringLiteral("DayLangKind=English_LatinAlphabet"), QString(),
         QStringLiteral("[English_LatinAlphabet]"), QStringLiteral("1=Mon"),
         QStringLiteral("2=Tue"), QStringLiteral("3=Wed"), QStringLiteral("4=Thu"),
         QStringLiteral("5=Fri"), QStringLiteral("6=Sat"), QStringLiteral("7=Sun"), QString()});
}

void WriteDefaultDayFile(const QString& path) {
    WriteFileAtomically(path, DefaultDayFileBytes());
}

QString ReadDayLangKind(const QString& path) {
    return OpenDayFile(path).ReadString(kDayLangSection, kDayLangKindKey, kDefaultDayLangKind);
}

TDayOfTheWeekStr LoadDayWords(const QString& path, const QString& kind) {
    const IniDocument doc = OpenDayFile(path);
    TDayOfTheWeekStr words;
    QString* fields[] = {&words.Mon, &words.Tue, &words.Wed, &words.Thu,
                         &words.Fri, &words.Sat, &words.Sun};
    for (int day = 1; day <= 7; ++day) {
        QString& word = *fields[day - 1];
        const QString text = doc.ReadString(kind, QString::number(day), word);
        if (text.size() <= kMaxDayWordLength)
            word = text;
    }
    return words;
}

void WriteDayLangKind(const QString& path, const QString& kind) {
    IniDocument doc = OpenDayFileForWriting(path);
    doc.WriteString(kDayLangSection, kDayLangKindKey, kind);
    doc.UpdateFile();
}

QStringList ReadDaySections(const QString& path) {
    return OpenDayFile(path).ReadSections();
}

QStringList ReadDayKinds(const QString& path) {
    QStringList kinds = ReadDaySections(path);
    kinds.removeIf(
        [](const QString& s) { return s.compare(kDayLangSection, Qt::CaseInsensitive) == 0; });
    return kinds;
}

QStringList ReadDayKindLines(const QString& path, const QString& kind) {
    return OpenDayFile(path).ReadSectionValues(kind);
}

bool DaySectionExists(const QString& path, const QString& kind) {
    return OpenDayFile(path).SectionExists(kind);
}

QString DayKindTitleProblem(const QString& title) {
    const QString t = title.trimmed();
    if (t.isEmpty())
        return OrFallback(Messages().MsgWarnEditMemoEmpty, QStringLiteral("MsgWarnEditMemoEmpty"));
    const bool control = std::any_of(t.cbegin(), t.cend(), [](QChar c) { return c < QChar(32); });
    if (t.compare(kDayLangSection, Qt::CaseInsensitive) == 0 || t.contains(QLatin1Char('[')) ||
        t.contains(QLatin1Char(']')) || t.startsWith(QLatin1Char(';')) || control) {
        return FormatMsg(OrFallback(Messages().MsgWarnDayLangTitleInvalid,
                                    QStringLiteral("MsgWarnDayLangTitleInvalid")),
                         {t});
    }
    return QString();
}

bool DayKindLinesValid(const QStringList& lines) {
    if (lines.size() != 7)
        return false;
    QSet<QString> keys;
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            return false;
        const QString key = line.left(eq).trimmed();
        const QString word = line.mid(eq + 1).trimmed();
        const std::optional<int32_t> day = StrToInt32(key);
        if (!day || *day < 1 || *day > 7 || word.isEmpty() || keys.contains(key))
            return false;
        keys.insert(key);
    }
    return true;
}

void WriteDaySection(const QString& path, const QString& title, const QStringList& lines) {
    if (const QString problem = DayKindTitleProblem(title); !problem.isEmpty())
        throw TDayKindError(problem.toStdString());
    if (!DayKindLinesValid(lines))
        throw TDayKindError(
            (OrFallback(Messages().MsgWarnNameValueInvalid,
                        QStringLiteral("MsgWarnNameValueInvalid")) +
             QStringLiteral("\r\n\r\n") +
             OrFallback(Messages().MsgWarnCheckNameValue, QStringLiteral("MsgWarnCheckNameValue")))
                .toStdString());
    IniDocument doc = OpenDayFileForWriting(path);
    // Every section of that title goes, also an empty one or a second one of a
    // hand-edited file, so that the new kind is the one read back.
    EraseAll(doc, title.trimmed());
    QStringList all = doc.GetStrings();
    all << QLatin1Char('[') + title.trimmed() + QLatin1Char(']');
    for (const QString& line : lines)
        all << line.trimmed();
    doc.SetStrings(all);
    doc.UpdateFile();
}

QString DayKindToDelete(const QStringList& kinds, const QString& title) {
    if (kinds.contains(title))
        return title;
    for (const QString& k : kinds)
        if (k.compare(title, Qt::CaseInsensitive) == 0)
            return k;
    return title;
}

void EraseDaySection(const QString& path, const QString& kind) {
    IniDocument doc = OpenDayFileForWriting(path);
    // One set goes: two whose titles differ only in case are two sets to the user.
    const QStringList sections = doc.ReadSections();
    const qsizetype at = sections.indexOf(DayKindToDelete(sections, kind));
    if (at >= 0)
        doc.EraseSectionAt(at);
    doc.UpdateFile();
}

QString DayLangFile() {
    return State().DayLangFile;
}
QString CurrentDayLangKind() {
    return State().CurrentDayLangKind;
}

TDayOfTheWeekStr ChooseDayLangKind(const QString& kind) {
    State().CurrentDayLangKind = kind;
    return LoadDayWords(State().DayLangFile, kind);
}

TDayOfTheWeekStr InitDayWords(const QString& langDir, QString* error) {
    State() = TDayLangState();
    State().CurrentDayLangKind = kDefaultDayLangKind;
    if (langDir.isEmpty()) {
        if (error)
            *error = QStringLiteral("There is no language folder.");
        return TDayOfTheWeekStr();
    }
    State().DayLangFile =
        (langDir.endsWith(QLatin1Char('/')) ? langDir : langDir + QLatin1Char('/')) +
        kDayLangFileName;
    RemoveUnfinishedSaves(State().DayLangFile);
    if (!QFileInfo::exists(State().DayLangFile)) {
        try {
            WriteDefaultDayFile(State().DayLangFile);
        } catch (const TIniWriteError& e) {
            if (error)
                *error = FileErrorText(e);
            return TDayOfTheWeekStr();
        }
    }
    State().CurrentDayLangKind = ReadDayLangKind(State().DayLangFile);
    return LoadDayWords(State().DayLangFile, State().CurrentDayLangKind);
}

} // namespace velmora
