// TKvVersionInfo: the version information of an executable file (the fixed file
// information, the translation table and the string tables of its version block),
// read once by the constructor; the object holds no open file afterwards.
//
// The block comes from a Windows PE file's version resource or from the ELF
// section this program's own executables carry (see VersionStamp.h). Its queries
// use the paths of the Windows API: "\" (fixed information),
// "\VarFileInfo\Translation", "\StringFileInfo\<translation>\<key>".
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

namespace velmora {

// One entry of the translation table, in the block's own layout.
struct TTransRec {
    uint16_t Lang = 0;
    uint16_t CharSet = 0;
};
using TTransRecArray = std::vector<TTransRec>;

// The 52-byte fixed file information.
struct TVSFixedFileInfo {
    uint32_t dwSignature = 0;
    uint32_t dwStrucVersion = 0;
    uint32_t dwFileVersionMS = 0;
    uint32_t dwFileVersionLS = 0;
    uint32_t dwProductVersionMS = 0;
    uint32_t dwProductVersionLS = 0;
    uint32_t dwFileFlagsMask = 0;
    uint32_t dwFileFlags = 0;
    uint32_t dwFileOS = 0;
    uint32_t dwFileType = 0;
    uint32_t dwFileSubtype = 0;
    uint32_t dwFileDateMS = 0;
    uint32_t dwFileDateLS = 0;
};
static_assert(sizeof(TVSFixedFileInfo) == 52);

// A construction error; what() is the text the user sees.
class TKvVersionInfoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline const QString kNoVersionInformation = QStringLiteral("No Version Information");
inline constexpr const char kCannotLoadVersionInformation[] = "Cannot Load Version Information";
inline constexpr const char kCannotReadFixedFileInfo[] = "Cannot Read FixedFileInfo";
inline constexpr const char kFixedFileInfoWrongSize[] = "FixedFileInfo Record Wrong Size";

// --- the unit's routines (what the system's version library does elsewhere) ----

// The size of the file's version block, 0 when it has none (or is unreadable).
uint32_t GetVersionInfoSize(const QString& fileName);
// Loads the block of `size` bytes; false when the file's block is not there as
// declared (truncated file, a root node larger than the block, not a version block).
bool LoadVersionInfo(const QString& fileName, uint32_t size, QByteArray& block);
// The same two on a file's bytes already in memory.
uint32_t GetVersionInfoSizeOf(QByteArrayView image);
bool LoadVersionInfoFrom(QByteArrayView image, uint32_t size, QByteArray& block);

// The value of a query path in a loaded block: the bytes of the node's value
// (for a text value, its UTF-16 code units). Nothing when the path is not there.
struct TVerValue {
    QByteArrayView Data;
    bool IsText = false;
};
std::optional<TVerValue> VerQueryValue(const QByteArray& block, const QString& subBlock);

// Nothing when "\" has no value; the value's length otherwise (52 when right).
std::optional<uint32_t> ReadFixedFileInfo(const QByteArray& block, TVSFixedFileInfo& info);
TTransRecArray ReadTranslationTable(const QByteArray& block);
// The text up to its terminating zero; empty when the key is not there.
QString ReadStringFileInfo(const QByteArray& block, const QString& translation, const QString& key);

class TKvVersionInfo {
public:
    // Throws TKvVersionInfoError with one of the three construction texts.
    explicit TKvVersionInfo(const QString& fileName);
    // The same from a file's bytes (tests, the fuzzer).
    static TKvVersionInfo FromImage(QByteArrayView image);

    bool HasVersionInfo() const { return FHasVersionInfo; }
    const TVSFixedFileInfo& FixedFileInfo() const { return FFixedFileInfo; }
    int TranslationCount() const { return GetTranslationCount(); }
    int GetTranslationCount() const { return int(FTranslationTable.size()); }

    // "041103A4". Requires HasVersionInfo() and 0 <= index < TranslationCount().
    QString GetTranslationStr(int index) const;
    // Requires HasVersionInfo().
    QString GetStringValue(const QString& translation, const QString& key) const;
    QString GetProductVersionStr(int index) const;

private:
    TKvVersionInfo() = default;
    // The steps after the block is loaded: fixed information, translations.
    void Load();

    TVSFixedFileInfo FFixedFileInfo;
    TTransRecArray FTranslationTable;
    bool FHasVersionInfo = false;
    QByteArray FVersionInfo;
};

// The running program's executable file.
QString RunningExecutableName();
// The product version of the running program ("1.0.0.0.20261210"), or the
// reader's error text, or "No Version Information".
QString ProgramVersionStr();

} // namespace velmora
