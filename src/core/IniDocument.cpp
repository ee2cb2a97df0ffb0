#include "core/IniDocument.h"

#include "core/TextForms.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <filesystem>
#include <system_error>

namespace velmora {

namespace {

bool IsBlank(QChar c) {
    return c.unicode() <= 32;
}

QString TrimControl(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

// A value must stay on its own line: a line break inside it would start new
// lines (even new sections) when the file is read again.
QString OneLine(const QString& s) {
    QString out = s;
    out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    out.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return out;
}

// Splits at CR LF, lone CR and lone LF. Done by hand: a regular expression gives
// up on text with a stray surrogate, and one bad character must not cost the file.
QStringList SplitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    lines << text.mid(start);
    return lines;
}

// True for a symbolic link that leads back to itself, directly or through others.
bool LinksInACircle(const QString& path) {
    QStringList seen;
    QString at = QFileInfo(path).absoluteFilePath();
    for (int depth = 0; depth < 40; ++depth) {
        const QFileInfo info(at);
        if (!info.isSymLink())
            return false;
        if (seen.contains(at))
            return true;
        seen << at;
        at = info.symLinkTarget();
    }
    return true; // deeper than the system follows
}

} // namespace

IniDocument::IniDocument(const QString& path, const QLocale& locale)
    : FFileName(path), FLocale(locale) {
    if (path.isEmpty())
        return;
    // Only a regular file of a sensible size is read: a pipe would never end, and
    // a file that cannot be read must be reported, so that it is not overwritten.
    const QFileInfo info(path);
    if (!info.exists()) {
        if (info.isSymLink() && LinksInACircle(path))
            Fail(TFileProblem::LinkCircle,
                 QStringLiteral("It is a symbolic link that leads back to itself."));
        return;
    }
    if (!info.isFile()) {
        Fail(TFileProblem::NotRegularFile, QStringLiteral("It is not a regular file."));
        return;
    }
    if (info.size() > kMaxIniFileSize) {
        Fail(TFileProblem::TooLarge,
             QStringLiteral("It is larger than %1 MB, too large for a settings file.")
                 .arg(kMaxIniFileSize / (1024 * 1024)));
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Fail(TFileProblem::CannotRead, file.errorString());
        return;
    }
    // Read one byte more than allowed: a file that grows while it is read is caught too.
    const QByteArray bytes = file.read(kMaxIniFileSize + 1);
    if (bytes.size() > kMaxIniFileSize) {
        Fail(TFileProblem::TooLarge,
             QStringLiteral("It is larger than %1 MB, too large for a settings file.")
                 .arg(kMaxIniFileSize / (1024 * 1024)));
        return;
    }
    LoadFromBytes(bytes);
    if (file.error() != QFileDevice::NoError)
        Fail(TFileProblem::CannotRead, file.errorString());
}

void IniDocument::Fail(TFileProblem problem, const QString& why) {
    FReadProblem = problem;
    FReadError = why;
}

void IniDocument::LoadFromBytes(const QByteArray& bytes) {
    QByteArrayView data(bytes);
    // Without the byte order mark and without a single zero byte, the text cannot
    // be UTF-16 (every ASCII character would carry one): UTF-8 or a legacy code page.
    FForeignEncoding = !bytes.isEmpty() && !bytes.startsWith("\xFF\xFE") && !bytes.contains('\0');
    if (data.size() >= 2 && uchar(data[0]) == 0xFF && uchar(data[1]) == 0xFE)
        data = data.sliced(2);
    QStringDecoder decode(QStringConverter::Utf16LE, QStringConverter::Flag::ConvertInitialBom);
    ParseLines(SplitLines(decode(data)));
}

void IniDocument::ParseLines(const QStringList& lines) {
    FSections.clear();
    FSectionIndex.clear();
    TSection* current = nullptr;
    for (const QString& raw : lines) {
        const QString line = TrimControl(raw);
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')) &&
            line.size() >= 2) {
            current = &AppendSection(TrimControl(line.mid(1, line.size() - 2)));
            continue;
        }
        if (!current)
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            current->Lines.push_back({QString(), line, false});
        else
            current->Lines.push_back(
                {TrimControl(line.left(eq)), TrimControl(line.mid(eq + 1)), true});
    }
}

IniDocument::TSection& IniDocument::AppendSection(const QString& name) {
    FSectionIndex[name.toCaseFolded()].push_back(FSections.size());
    FSections.push_back({name, {}, false});
    return FSections.back();
}

IniDocument::TLine* IniDocument::FindKey(TSection& section, const QString& key) const {
    for (TLine& l : section.Lines) {
        ++FLookupSteps;
        if (l.HasKey && l.Key.compare(key, Qt::CaseInsensitive) == 0)
            return &l;
    }
    return nullptr;
}

QStringList IniDocument::GetStrings() const {
    QStringList out;
    for (const TSection& s : FSections) {
        if (s.Erased)
            continue;
        out << QLatin1Char('[') + s.Name + QLatin1Char(']');
        for (const TLine& l : s.Lines)
            out << l.Text();
        out << QString();
    }
    return out;
}

void IniDocument::SetStrings(const QStringList& lines) {
    ParseLines(lines);
}

QByteArray IniDocument::ToBytes() const {
    QString text;
    for (const QString& line : GetStrings())
        text += line + QStringLiteral("\r\n");
    QByteArray out("\xFF\xFE", 2);
    out.reserve(2 + text.size() * 2);
    for (QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

const IniDocument::TSection* IniDocument::Find(const QString& section) const {
    ++FLookupSteps;
    const auto it = FSectionIndex.constFind(section.toCaseFolded());
    return it == FSectionIndex.cend() || it->empty() ? nullptr : &FSections[it->front()];
}

IniDocument::TSection* IniDocument::Find(const QString& section) {
    return const_cast<TSection*>(std::as_const(*this).Find(section));
}

const IniDocument::TLine* IniDocument::FindLine(const QString& section, const QString& key) const {
    const TSection* s = Find(section);
    return s ? FindKey(const_cast<TSection&>(*s), key) : nullptr;
}

QString IniDocument::ReadString(const QString& section, const QString& key,
                                const QString& def) const {
    const TLine* l = FindLine(section, key);
    return l ? l->Value : def;
}

void IniDocument::WriteString(const QString& section, const QString& key, const QString& value) {
    const QString k = TrimControl(OneLine(key));
    const QString v = TrimControl(OneLine(value));
    // A key that would read back as something else (a comment, a section header,
    // another key) cannot be stored.
    if (k.contains(QLatin1Char('=')) || k.startsWith(QLatin1Char(';')) ||
        k.startsWith(QLatin1Char('[')))
        throw TIniWriteError(
            QStringLiteral("The name \"%1\" cannot be used as a key.").arg(k).toStdString());
    TSection* s = Find(section);
    if (!s)
        s = &AppendSection(OneLine(section));
    if (TLine* l = FindKey(*s, k)) {
        l->Key = k; // the line is rewritten whole, in the writer's spelling
        l->Value = v;
        return;
    }
    s->Lines.push_back({k, v, true});
}

int32_t IniDocument::ReadInteger(const QString& section, const QString& key, int32_t def) const {
    QString text = ReadString(section, key, QString());
    if (text.size() >= 3 && text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        text = QLatin1Char('$') + text.mid(2);
    return StrToInt32(text).value_or(def);
}

void IniDocument::WriteInteger(const QString& section, const QString& key, int32_t value) {
    WriteString(section, key, QString::number(value));
}

bool IniDocument::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniDocument::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

double IniDocument::ReadFloat(const QString& section, const QString& key, double def) const {
    const QString text = ReadString(section, key, QString());
    if (text.isEmpty())
        return def;
    return StrToFloat(text, FLocale).value_or(def);
}

void IniDocument::WriteFloat(const QString& section, const QString& key, double value) {
    WriteString(section, key, FloatToStr(value, FLocale));
}

double IniDocument::ReadTime(const QString& section, const QString& key, double def) const {
    const QString text = ReadString(section, key, QString());
    if (text.isEmpty())
        return def;
    return StrToTime(text, FLocale).value_or(def);
}

void IniDocument::WriteTime(const QString& section, const QString& key, double value) {
    WriteString(section, key, TimeToStr(value, FLocale));
}

TColor IniDocument::ReadColor(const QString& section, const QString& key, TColor def) const {
    const TLine* l = FindLine(section, key);
    if (!l)
        return def;
    return StringToColor(l->Value).value_or(def);
}

void IniDocument::WriteColor(const QString& section, const QString& key, TColor value,
                             const TSystemColorFn& systemColor) {
    WriteString(section, key, ColorToString(value, systemColor));
}

bool IniDocument::SectionExists(const QString& section) const {
    const TSection* s = Find(section);
    return s && !s->Lines.empty();
}

void IniDocument::EraseSection(const QString& section) {
    ++FLookupSteps;
    const auto it = FSectionIndex.find(section.toCaseFolded());
    if (it == FSectionIndex.end() || it->empty())
        return;
    // The section stays in the vector, marked, so that the positions held by the
    // index stay true; a later section of the same name becomes the one found.
    TSection& erased = FSections[it->front()];
    erased.Erased = true;
    erased.Lines = {};
    it->erase(it->begin());
}

void IniDocument::EraseSectionAt(qsizetype index) {
    if (index < 0)
        return;
    // `index` counts the sections ReadSections lists, which leaves out erased ones.
    for (size_t at = 0; at < FSections.size(); ++at) {
        TSection& s = FSections[at];
        if (s.Erased || index-- > 0)
            continue;
        std::vector<size_t>& same = FSectionIndex[s.Name.toCaseFolded()];
        same.erase(std::remove(same.begin(), same.end(), at), same.end());
        s.Erased = true;
        s.Lines = {};
        return;
    }
}

QStringList IniDocument::ReadSections() const {
    QStringList out;
    for (const TSection& s : FSections)
        if (!s.Erased)
            out << s.Name;
    return out;
}

QStringList IniDocument::ReadSectionValues(const QString& section) const {
    QStringList out;
    if (const TSection* s = Find(section))
        for (const TLine& l : s->Lines)
            out << l.Text();
    return out;
}

void IniDocument::UpdateFile() const {
    WriteFileAtomically(FFileName, ToBytes());
}

namespace {

// The prefix of every temporary name a save of `path` uses: hidden, and plainly ours.
QString SavingPrefix(const QFileInfo& target) {
    return QLatin1Char('.') + target.fileName() + QStringLiteral(".saving-");
}

// Only a file's own mode bits: the "user" flags say what this process may do, and
// handed back to the system they would read as the owner's.
QFileDevice::Permissions ModeBits(QFileDevice::Permissions p) {
    using P = QFileDevice;
    return p & (P::ReadOwner | P::WriteOwner | P::ExeOwner | P::ReadGroup | P::WriteGroup |
                P::ExeGroup | P::ReadOther | P::WriteOther | P::ExeOther);
}

} // namespace

QString CreateSavingFile(const QFileInfo& target, QString* error) {
    const QString temp = target.dir().filePath(
        SavingPrefix(target) + QString::number(QRandomGenerator::global()->generate(), 36));
    QFile file(temp);
    // Created with the settings file's permissions: a private file never has a
    // readable copy, not even for a moment. A new file takes the usual ones.
    const std::optional<QFileDevice::Permissions> wanted =
        target.exists() ? std::optional(ModeBits(QFile::permissions(target.filePath())))
                        : std::nullopt;
    const QIODevice::OpenMode mode = QIODevice::WriteOnly | QIODevice::NewOnly;
    if (!(wanted ? file.open(mode, *wanted) : file.open(mode))) {
        if (error)
            *error = file.errorString();
        return QString();
    }
    // The process's file mode mask may have taken bits away; they are given back
    // while the file is still empty.
    if (wanted && ModeBits(file.permissions()) != *wanted && !file.setPermissions(*wanted)) {
        if (error)
            *error = file.errorString();
        file.remove();
        return QString();
    }
    return temp;
}

void WriteFileAtomically(const QString& path, const QByteArray& bytes,
                         const std::function<void(const QString&)>& beforeRename) {
    auto fail = [&path](const QString& why, TFileProblem problem = TFileProblem::CannotWrite) {
        throw TIniWriteError(problem, path,
                             QStringLiteral("Cannot create file \"%1\". %2").arg(path, why));
    };
    // Through a link, the file it leads to is replaced, not the link.
    const QFileInfo given(path);
    if (given.isSymLink() && !given.exists() && LinksInACircle(path))
        fail(QStringLiteral("It is a symbolic link that leads back to itself."),
             TFileProblem::LinkCircle);
    const QFileInfo target(given.isSymLink() && given.exists() ? given.canonicalFilePath()
                                                               : given.absoluteFilePath());
    if (target.exists() && !target.isFile())
        fail(QStringLiteral("It is not a regular file."), TFileProblem::NotRegularFile);
    RemoveUnfinishedSaves(target.filePath());
    // QSaveFile writes unseen and flushes to disk, but its own temporary name is the
    // file's name with six random letters, which a later start could not tell from
    // a user's file. So it writes under a name that is plainly ours, and that name is
    // then renamed over the file: a kill at any moment leaves the old file or the new
    // one whole, and at worst a ".saving-" file that the next start removes.
    QString why;
    const QString temp = CreateSavingFile(target, &why);
    if (temp.isEmpty())
        fail(why);
    // The temporary file exists, so QSaveFile gives its own (unnamed where the
    // system can) the same permissions before it writes a byte.
    QSaveFile file(temp);
    if (!file.open(QIODevice::WriteOnly)) {
        QFile::remove(temp);
        fail(file.errorString());
    }
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        QFile::remove(temp);
        fail(why);
    }
    if (!file.commit()) {
        QFile::remove(temp);
        fail(file.errorString());
    }
    // QSaveFile hands the permissions over with this process's own rights mixed in,
    // which for the superuser adds the owner's write bit to a read-only file.
    if (target.exists())
        QFile::setPermissions(temp, ModeBits(QFile::permissions(target.filePath())));
    if (beforeRename)
        beforeRename(temp);
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(temp).toStdString(),
                            QFile::encodeName(target.filePath()).toStdString(), error);
    if (error) {
        QFile::remove(temp);
        fail(QString::fromStdString(error.message()));
    }
}

void RemoveUnfinishedSaves(const QString& path) {
    const QFileInfo target(path);
    const QDir dir = target.dir();
    // Compared by hand: a file name may hold "*" or "[", which a name filter reads.
    const QString prefix = SavingPrefix(target);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (name.startsWith(prefix))
            QFile::remove(dir.filePath(name));
}

} // namespace velmora
