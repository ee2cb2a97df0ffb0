#include "core/ExecutableImage.h"

#include <algorithm>
#include <cstring>

namespace velmora {

namespace {

// Reads little- or big-endian integers at offsets checked against the image.
class TReader {
public:
    TReader(QByteArrayView image, bool bigEndian = false) : FImage(image), FBig(bigEndian) {}

    bool Has(uint64_t offset, uint64_t count) const {
        const auto size = uint64_t(FImage.size());
        return offset <= size && count <= size - offset;
    }
    std::optional<uint64_t> Read(uint64_t offset, int bytes) const {
        if (!Has(offset, uint64_t(bytes)))
            return std::nullopt;
        uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) {
            const auto b =
                uint64_t(uint8_t(FImage[qsizetype(offset) + (FBig ? i : bytes - 1 - i)]));
            v = v << 8 | b;
        }
        return v;
    }
    std::optional<uint32_t> U16(uint64_t o) const { return Narrow(Read(o, 2)); }
    std::optional<uint32_t> U32(uint64_t o) const { return Narrow(Read(o, 4)); }
    std::optional<uint64_t> U64(uint64_t o) const { return Read(o, 8); }
    QByteArrayView View() const { return FImage; }

private:
    static std::optional<uint32_t> Narrow(std::optional<uint64_t> v) {
        return v ? std::optional<uint32_t>(uint32_t(*v)) : std::nullopt;
    }
    QByteArrayView FImage;
    bool FBig;
};

constexpr uint32_t kRtVersion = 16;
constexpr uint32_t kSubdirectoryFlag = 0x80000000u;
constexpr int kResourceDirectoryIndex = 2;

struct TPeSections {
    uint64_t Table = 0;
    uint32_t Count = 0;
};

// The file offset of a relative virtual address, through the section table.
std::optional<uint64_t> RvaToOffset(const TReader& r, const TPeSections& s, uint32_t rva) {
    for (uint32_t i = 0; i < s.Count; ++i) {
        const uint64_t h = s.Table + uint64_t(i) * 40;
        const auto vsize = r.U32(h + 8), va = r.U32(h + 12), rawSize = r.U32(h + 16),
                   raw = r.U32(h + 20);
        if (!vsize || !va || !rawSize || !raw)
            return std::nullopt;
        const uint64_t extent = std::max(*vsize, *rawSize);
        if (rva >= *va && uint64_t(rva) < uint64_t(*va) + extent) {
            const uint64_t delta = rva - *va;
            if (delta >= *rawSize)
                return std::nullopt; // in memory only (uninitialised data)
            return uint64_t(*raw) + delta;
        }
    }
    return std::nullopt;
}

// The offset (within the resource section) of the first entry of a resource
// directory that matches `id` (any entry when `id` is empty) and whether it is a
// subdirectory.
std::optional<std::pair<uint32_t, bool>> DirectoryEntry(const TReader& r, uint64_t base,
                                                        uint32_t dir, std::optional<uint32_t> id) {
    const auto named = r.U16(base + dir + 12), ids = r.U16(base + dir + 14);
    if (!named || !ids)
        return std::nullopt;
    const uint32_t count = *named + *ids;
    for (uint32_t i = 0; i < count; ++i) {
        const uint64_t e = base + dir + 16 + uint64_t(i) * 8;
        const auto name = r.U32(e), target = r.U32(e + 4);
        if (!name || !target)
            return std::nullopt;
        if (id && (*name & kSubdirectoryFlag || *name != *id))
            continue;
        return std::pair{*target & ~kSubdirectoryFlag, (*target & kSubdirectoryFlag) != 0};
    }
    return std::nullopt;
}

std::optional<uint64_t> ElfSectionNameOffset(const TReader& r, bool is64, uint64_t shoff,
                                             uint32_t entsize, uint32_t index) {
    const uint64_t h = shoff + uint64_t(index) * entsize;
    return is64 ? r.U64(h + 24) : r.Read(h + 16, 4);
}

} // namespace

std::optional<TBlockPlace> FindPeVersionResource(QByteArrayView image) {
    const TReader r(image);
    if (!r.Has(0, 64) || image[0] != 'M' || image[1] != 'Z')
        return std::nullopt;
    const auto peAt = r.U32(0x3C);
    if (!peAt || !r.Has(*peAt, 24) || std::memcmp(image.data() + *peAt, "PE\0\0", 4) != 0)
        return std::nullopt;
    const uint64_t coff = uint64_t(*peAt) + 4;
    const auto sectionCount = r.U16(coff + 2), optionalSize = r.U16(coff + 16);
    const uint64_t opt = coff + 20;
    const auto magic = r.U16(opt);
    if (!sectionCount || !optionalSize || !magic)
        return std::nullopt;
    uint64_t countAt = 0;
    if (*magic == 0x10B)
        countAt = 92; // PE32
    else if (*magic == 0x20B)
        countAt = 108; // PE32+
    else
        return std::nullopt;
    const auto dirCount = r.U32(opt + countAt);
    const uint64_t dirAt = countAt + 4 + kResourceDirectoryIndex * 8;
    if (!dirCount || *dirCount <= kResourceDirectoryIndex || dirAt + 8 > *optionalSize)
        return std::nullopt;
    const auto resRva = r.U32(opt + dirAt);
    if (!resRva || *resRva == 0)
        return std::nullopt;
    const TPeSections sections{opt + *optionalSize, *sectionCount};
    const auto base = RvaToOffset(r, sections, *resRva);
    if (!base)
        return std::nullopt;

    // Type RT_VERSION, then its first name, then its first language: three fixed
    // levels, so a directory that points back at itself cannot loop.
    const auto type = DirectoryEntry(r, *base, 0, kRtVersion);
    if (!type || !type->second)
        return std::nullopt;
    const auto name = DirectoryEntry(r, *base, type->first, std::nullopt);
    if (!name || !name->second)
        return std::nullopt;
    const auto lang = DirectoryEntry(r, *base, name->first, std::nullopt);
    if (!lang || lang->second)
        return std::nullopt;
    const auto dataRva = r.U32(*base + lang->first), dataSize = r.U32(*base + lang->first + 4);
    if (!dataRva || !dataSize || *dataSize == 0 || *dataSize > kMaxVersionBlockSize)
        return std::nullopt;
    const auto offset = RvaToOffset(r, sections, *dataRva);
    if (!offset)
        return std::nullopt;
    return TBlockPlace{*offset, *dataSize};
}

std::optional<TBlockPlace> FindElfSection(QByteArrayView image, const char* name) {
    if (image.size() < 52 || std::memcmp(image.data(),
                                         "\x7F"
                                         "ELF",
                                         4) != 0)
        return std::nullopt;
    const char cls = image[4], data = image[5];
    if ((cls != 1 && cls != 2) || (data != 1 && data != 2))
        return std::nullopt;
    const bool is64 = cls == 2;
    const TReader r(image, data == 2);
    const auto shoff = is64 ? r.U64(0x28) : r.Read(0x20, 4);
    const auto entsize = r.U16(is64 ? 0x3A : 0x2E);
    const auto count = r.U16(is64 ? 0x3C : 0x30);
    const auto strndx = r.U16(is64 ? 0x3E : 0x32);
    if (!shoff || !entsize || !count || !strndx || *shoff == 0 || *count == 0)
        return std::nullopt;
    if (*entsize < (is64 ? 64u : 40u) || *strndx >= *count)
        return std::nullopt; // also the extended numbering of >= 0xff00 sections
    if (!r.Has(*shoff, uint64_t(*count) * *entsize))
        return std::nullopt;
    const auto names = ElfSectionNameOffset(r, is64, *shoff, *entsize, *strndx);
    if (!names)
        return std::nullopt;
    const std::size_t nameLength = std::strlen(name);
    for (uint32_t i = 0; i < *count; ++i) {
        const uint64_t h = *shoff + uint64_t(i) * *entsize;
        const auto nameAt = r.U32(h);
        if (!nameAt || !r.Has(*names + *nameAt, nameLength + 1))
            continue;
        // The offsets are added first: the sum was checked, a pointer between them was not.
        const char* text = image.data() + (*names + *nameAt);
        if (std::memcmp(text, name, nameLength + 1) != 0)
            continue;
        const auto type = r.U32(h + 4);
        const auto offset = is64 ? r.U64(h + 24) : r.Read(h + 16, 4);
        const auto size = is64 ? r.U64(h + 32) : r.Read(h + 20, 4);
        if (!type || !offset || !size || *type == 8 /* SHT_NOBITS */ || *size == 0 ||
            *size > kMaxVersionBlockSize)
            return std::nullopt;
        return TBlockPlace{*offset, uint32_t(*size)};
    }
    return std::nullopt;
}

std::optional<TBlockPlace> FindVersionBlock(QByteArrayView image, const char* elfSection) {
    if (image.startsWith("MZ"))
        return FindPeVersionResource(image);
    return FindElfSection(image, elfSection);
}

std::optional<QByteArrayView> BlockBytes(QByteArrayView image, TBlockPlace place) {
    if (!TReader(image).Has(place.Offset, place.Size))
        return std::nullopt;
    return image.sliced(qsizetype(place.Offset), qsizetype(place.Size));
}

} // namespace velmora
