// The sectioned text document behind every file the program keeps (settings,
// language files, day words): UTF-16 LE with a byte order mark and CR LF line ends.
#pragma once

#include "core/ColorText.h"

#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>
#include <vector>

namespace velmora {

// Raised when a document cannot be written; the old file is left as it was.
// Why a file could not be read or written. The user is told in their language;
// the system's own words (what()) go to standard error.
enum class TFileProblem {
    None,
    LinkCircle,
    NotRegularFile,
    TooLarge,
    CannotRead,
    CannotWrite,
    NotUtf16
};

class TIniWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error; // TFileProblem::CannotWrite, no file named
    TIniWriteError(TFileProblem problem, QString path, const QString& detail)
        : std::runtime_error(detail.toStdString()), FProblem(problem), FPath(std::move(path)) {}
    TFileProblem Problem() const { return FProblem; }
    const QString& Path() const { return FPath; }

private:
    TFileProblem FProblem = TFileProblem::CannotWrite;
    QString FPath;
};

// A file larger than this is not read (ReadError says so): a settings file grown
// hostile or corrupt must not take the memory of the machine.
inline constexpr qint64 kMaxIniFileSize = 4 * 1024 * 1024;

class IniDocument {
public:
    // Opens `path` (nothing is read when it is empty or missing). Floats and times
    // use `locale`'s rules.
    explicit IniDocument(const QString& path = QString(),
                         const QLocale& locale = QLocale::system());

    QString FileName() const { return FFileName; }
    // Why an existing file could not be read (empty when it was read or missing).
    QString ReadError() const { return FReadError; }
    // The kind of ReadError, for the user's message (None while it is empty).
    TFileProblem ReadProblem() const { return FReadProblem; }
    // True when the file read was plainly not UTF-16 (it is still read as UTF-16, so
    // it yields only defaults, but a caller may want to keep the original).
    bool ForeignEncoding() const { return FForeignEncoding; }

    void LoadFromBytes(const QByteArray& bytes);
    QByteArray ToBytes() const;

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Line breaks in the value become spaces; a key that could not be read back
    // (with "=", or starting with ";" or "[") raises TIniWriteError.
    void WriteString(const QString& section, const QString& key, const QString& value);
    int32_t ReadInteger(const QString& section, const QString& key, int32_t def) const;
    void WriteInteger(const QString& section, const QString& key, int32_t value);
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    void WriteBool(const QString& section, const QString& key, bool value);
    double ReadFloat(const QString& section, const QString& key, double def) const;
    void WriteFloat(const QString& section, const QString& key, double value);
    double ReadTime(const QString& section, const QString& key, double def) const;
    void WriteTime(const QString& section, const QString& key, double value);
    // A colour name or integer; `def` when missing or unconvertible.
    TColor ReadColor(const QString& section, const QString& key, TColor def) const;
    void WriteColor(const QString& section, const QString& key, TColor value,
                    const TSystemColorFn& systemColor);

    bool SectionExists(const QString& section) const;
    void EraseSection(const QString& section);
    // Removes the section at `index` of ReadSections() (nothing when out of range):
    // one of two whose names differ only in case.
    void EraseSectionAt(qsizetype index);
    QStringList ReadSections() const;
    QStringList ReadSectionValues(const QString& section) const;
    QStringList GetStrings() const;
    void SetStrings(const QStringList& lines);

    // Replaces the file by the document, atomically; throws TIniWriteError.
    void UpdateFile() const;

    // How many sections and lines the look-ups by name have looked at so far. A
    // section is found through an index, so this grows by a step per look-up plus
    // the lines of the section looked in, whatever the size of the file.
    qint64 LookupSteps() const { return FLookupSteps; }

private:
    void Fail(TFileProblem problem, const QString& why);
    struct TLine {
        QString Key; // empty when the line has no "="
        QString Value;
        bool HasKey = false;
        QString Text() const { return HasKey ? Key + QLatin1Char('=') + Value : Value; }
    };
    struct TSection {
        QString Name;
        // Keys are found by going through the section's own lines: a section is
        // short, and an index per section would cost more memory than the file.
        std::vector<TLine> Lines;
        bool Erased = false; // left in place so that the indexes stay valid
    };

    const TSection* Find(const QString& section) const;
    TSection* Find(const QString& section);
    const TLine* FindLine(const QString& section, const QString& key) const;
    void ParseLines(const QStringList& lines);
    TSection& AppendSection(const QString& name);
    // The first line of `key` in `section`, or nullptr.
    TLine* FindKey(TSection& section, const QString& key) const;

    QString FFileName;
    QLocale FLocale;
    QString FReadError;
    TFileProblem FReadProblem = TFileProblem::None;
    bool FForeignEncoding = false;
    std::vector<TSection> FSections;
    // The sections of each case-folded name, in document order; the first is the
    // one every look-up finds.
    QHash<QString, std::vector<size_t>> FSectionIndex;
    mutable qint64 FLookupSteps = 0;
};

// Writes `bytes` to `path` through a temporary file in the same folder, flushed and
// renamed over the old file; throws TIniWriteError with the system's reason. The
// temporary file is named ".<name>.saving-..." until the rename and has the old
// file's permissions from its creation on. `beforeRename`, when given, sees the
// finished temporary file just before it replaces the old one.
void WriteFileAtomically(const QString& path, const QByteArray& bytes,
                         const std::function<void(const QString& temp)>& beforeRename = {});
// Creates the empty temporary file of a save of `target`, with `target`'s
// permissions when it exists; its path, or empty (and `error` says why) when it
// cannot be made.
QString CreateSavingFile(const QFileInfo& target, QString* error = nullptr);
// Removes what a save of `path` that was killed before its rename left behind.
void RemoveUnfinishedSaves(const QString& path);

} // namespace velmora
