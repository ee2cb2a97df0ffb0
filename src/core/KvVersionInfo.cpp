#include "core/KvVersionInfo.h"

#include "core/ExecutableImage.h"
#include "core/VersionStamp.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

// A violated precondition is a programming error: stop, naming this unit and the
// line, in every kind of build.
#define KV_VERSION_ASSERT(cond)                                                                    \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "Assertion failed: %s (KvVersionInfo, line %d)\n", #cond,         \
                         __LINE__);                                                                \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace velmora {

namespace {

const QString kRootKey = QStringLiteral("VS_VERSION_INFO");
constexpr uint32_t kNodeHeader = 6;

uint32_t U16At(const QByteArray& b, uint32_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8;
}

uint32_t Align4(uint32_t v) {
    return (v + 3) & ~3u;
}

// One node of the block: [Begin, End) with its key, value and children.
struct TNode {
    uint32_t Begin = 0, End = 0;
    QString Key;
    uint32_t ValueBegin = 0, ValueSize = 0;
    bool IsText = false;
    uint32_t ChildrenBegin = 0;
};

// The node at `at`, which must end by `limit`; nothing when it is malformed.
std::optional<TNode> NodeAt(const QByteArray& b, uint32_t at, uint32_t limit) {
    if (at > limit || limit - at < kNodeHeader)
        return std::nullopt;
    const uint32_t length = U16At(b, at);
    if (length < kNodeHeader || length > limit - at)
        return std::nullopt;
    TNode n;
    n.Begin = at;
    n.End = at + length;
    uint32_t p = at + kNodeHeader;
    for (;; p += 2) {
        if (p + 2 > n.End)
            return std::nullopt; // the key has no terminating zero inside the node
        const auto c = char16_t(U16At(b, p));
        if (c == 0)
            break;
        n.Key += QChar(c);
    }
    n.IsText = U16At(b, at + 4) == 1;
    n.ValueBegin = std::min(Align4(p + 2), n.End);
    const uint32_t declared = U16At(b, at + 2) * (n.IsText ? 2u : 1u);
    // Some resource compilers count a text value in bytes: never beyond the node.
    n.ValueSize = std::min(declared, n.End - n.ValueBegin);
    n.ChildrenBegin = std::min(Align4(n.ValueBegin + n.ValueSize), n.End);
    return n;
}

std::optional<TNode> Root(const QByteArray& b) {
    const auto root = NodeAt(b, 0, uint32_t(b.size()));
    if (!root || root->Key != kRootKey)
        return std::nullopt;
    return root;
}

std::optional<TNode> Child(const QByteArray& b, const TNode& parent, const QString& key) {
    uint32_t at = parent.ChildrenBegin;
    while (at < parent.End) {
        const auto child = NodeAt(b, at, parent.End);
        if (!child)
            return std::nullopt;
        if (child->Key.compare(key, Qt::CaseInsensitive) == 0)
            return child;
        at = Align4(child->End); // a node is at least 6 bytes: the walk always advances
    }
    return std::nullopt;
}

// Runs `use` on the bytes of a regular file, mapped while it runs.
template <typename T>
T WithFileImage(const QString& fileName, T fallback, const std::function<T(QByteArrayView)>& use) {
    QFile f(fileName);
    // Only regular files: a FIFO or device would block or never end.
    if (!QFileInfo(fileName).isFile() || !f.open(QIODevice::ReadOnly) || f.size() <= 0)
        return fallback;
    uchar* mapped = f.map(0, f.size());
    if (!mapped)
        return fallback;
    T result = use(QByteArrayView(reinterpret_cast<const char*>(mapped), qsizetype(f.size())));
    f.unmap(mapped);
    return result;
}

} // namespace

uint32_t GetVersionInfoSizeOf(QByteArrayView image) {
    const auto place = FindVersionBlock(image, kVersionSectionName);
    return place ? place->Size : 0;
}

bool LoadVersionInfoFrom(QByteArrayView image, uint32_t size, QByteArray& block) {
    const auto place = FindVersionBlock(image, kVersionSectionName);
    if (!place || place->Size != size)
        return false;
    const auto bytes = BlockBytes(image, *place);
    if (!bytes)
        return false; // the file ends before the block does
    QByteArray copy = bytes->toByteArray();
    if (!Root(copy))
        return false;
    block = std::move(copy);
    return true;
}

uint32_t GetVersionInfoSize(const QString& fileName) {
    return WithFileImage<uint32_t>(fileName, 0, GetVersionInfoSizeOf);
}

bool LoadVersionInfo(const QString& fileName, uint32_t size, QByteArray& block) {
    return WithFileImage<bool>(fileName, false, [&](QByteArrayView image) {
        return LoadVersionInfoFrom(image, size, block);
    });
}

std::optional<TVerValue> VerQueryValue(const QByteArray& block, const QString& subBlock) {
    auto node = Root(block);
    if (!node)
        return std::nullopt;
    for (const QString& part : subBlock.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        node = Child(block, *node, part);
        if (!node)
            return std::nullopt;
    }
    if (node->ValueSize == 0)
        return std::nullopt;
    return TVerValue{QByteArrayView(block).sliced(node->ValueBegin, node->ValueSize), node->IsText};
}

std::optional<uint32_t> ReadFixedFileInfo(const QByteArray& block, TVSFixedFileInfo& info) {
    const auto value = VerQueryValue(block, QStringLiteral("\\"));
    if (!value)
        return std::nullopt;
    if (value->Data.size() == qsizetype(sizeof info)) {
        uint32_t words[13];
        for (int i = 0; i < 13; ++i) {
            const auto* p = reinterpret_cast<const uint8_t*>(value->Data.data()) + 4 * i;
            words[i] =
                uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        }
        info = {words[0], words[1], words[2], words[3],  words[4],  words[5], words[6],
                words[7], words[8], words[9], words[10], words[11], words[12]};
    }
    return uint32_t(value->Data.size());
}

TTransRecArray ReadTranslationTable(const QByteArray& block) {
    TTransRecArray table;
    const auto value = VerQueryValue(block, QStringLiteral("\\VarFileInfo\\Translation"));
    if (!value)
        return table;
    const auto* p = reinterpret_cast<const uint8_t*>(value->Data.data());
    for (qsizetype i = 0; i + 4 <= value->Data.size(); i += 4)
        table.push_back({uint16_t(p[i] | p[i + 1] << 8), uint16_t(p[i + 2] | p[i + 3] << 8)});
    return table;
}

QString ReadStringFileInfo(const QByteArray& block, const QString& translation,
                           const QString& key) {
    // A key or translation with a separator would name another node.
    if (translation.contains(QLatin1Char('\\')) || key.contains(QLatin1Char('\\')))
        return {};
    const auto value = VerQueryValue(block, QStringLiteral("\\StringFileInfo\\") + translation +
                                                QLatin1Char('\\') + key);
    if (!value)
        return {};
    QString text;
    const auto* p = reinterpret_cast<const uint8_t*>(value->Data.data());
    for (qsizetype i = 0; i + 2 <= value->Data.size(); i += 2) {
        const auto c = char16_t(p[i] | p[i + 1] << 8);
        if (c == 0)
            break;
        text += QChar(c);
    }
    return text;
}

// --- TKvVersionInfo ------------------------------------------------------------------

TKvVersionInfo::TKvVersionInfo(const QString& fileName) {
    const uint32_t size = GetVersionInfoSize(fileName);
    FHasVersionInfo = size > 0;
    if (!FHasVersionInfo)
        return;
    if (!LoadVersionInfo(fileName, size, FVersionInfo))
        throw TKvVersionInfoError(kCannotLoadVersionInformation);
    Load();
}

TKvVersionInfo TKvVersionInfo::FromImage(QByteArrayView image) {
    TKvVersionInfo info;
    const uint32_t size = GetVersionInfoSizeOf(image);
    info.FHasVersionInfo = size > 0;
    if (!info.FHasVersionInfo)
        return info;
    if (!LoadVersionInfoFrom(image, size, info.FVersionInfo))
        throw TKvVersionInfoError(kCannotLoadVersionInformation);
    info.Load();
    return info;
}

void TKvVersionInfo::Load() {
    const auto length = ReadFixedFileInfo(FVersionInfo, FFixedFileInfo);
    if (!length)
        throw TKvVersionInfoError(kCannotReadFixedFileInfo);
    if (*length != sizeof(TVSFixedFileInfo))
        throw TKvVersionInfoError(kFixedFileInfoWrongSize);
    FTranslationTable = ReadTranslationTable(FVersionInfo);
}

QString TKvVersionInfo::GetTranslationStr(int index) const {
    KV_VERSION_ASSERT(FHasVersionInfo);
    KV_VERSION_ASSERT(index >= 0 && index < GetTranslationCount());
    const TTransRec& t = FTranslationTable[std::size_t(index)];
    return QStringLiteral("%1%2")
        .arg(t.Lang, 4, 16, QLatin1Char('0'))
        .arg(t.CharSet, 4, 16, QLatin1Char('0'))
        .toUpper();
}

QString TKvVersionInfo::GetStringValue(const QString& translation, const QString& key) const {
    KV_VERSION_ASSERT(FHasVersionInfo);
    return ReadStringFileInfo(FVersionInfo, translation, key);
}

QString TKvVersionInfo::GetProductVersionStr(int index) const {
    if (!FHasVersionInfo)
        return kNoVersionInformation;
    if (GetTranslationCount() >= 1)
        return GetStringValue(GetTranslationStr(index), QStringLiteral("ProductVersion"));
    return QStringLiteral("%1.%2.%3.%4")
        .arg(FFixedFileInfo.dwProductVersionMS >> 16)
        .arg(FFixedFileInfo.dwProductVersionMS & 0xFFFF)
        .arg(FFixedFileInfo.dwProductVersionLS >> 16)
        .arg(FFixedFileInfo.dwProductVersionLS & 0xFFFF);
}

QString RunningExecutableName() {
    // The running image itself, even when its file has been replaced or moved since.
    const QString self = QStringLiteral("/proc/self/exe");
    if (QFileInfo::exists(self))
        return self;
    return QCoreApplication::applicationFilePath();
}

QString ProgramVersionStr() {
    // The section is found through the file; this keeps it linked in.
    if (VersionStampSize() == 0)
        return kNoVersionInformation;
    try {
        return TKvVersionInfo(RunningExecutableName()).GetProductVersionStr(0);
    } catch (const TKvVersionInfoError& e) {
        return QString::fromUtf8(e.what());
    }
}

} // namespace velmora
