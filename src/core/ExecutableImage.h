// Finds the version block inside an executable file's bytes: the version
// resource of a Windows PE file (resource directory -> RT_VERSION -> first name
// -> first language), or the section of its own that this program's ELF files
// carry. Every offset and size read from the file is checked against its length,
// so hostile or truncated files give "nothing found" or an out-of-range place,
// never a read outside the bytes.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>

namespace velmora {

// Where the block lies in the file, as the file declares it. The place may lie
// partly or wholly beyond the end of a truncated file: the caller checks it.
struct TBlockPlace {
    uint64_t Offset = 0;
    uint32_t Size = 0;
};

// Sizes beyond this are refused: no version block comes close, and a hostile
// size must not make the reader allocate gigabytes.
inline constexpr uint32_t kMaxVersionBlockSize = 1 << 20;

std::optional<TBlockPlace> FindPeVersionResource(QByteArrayView image);
std::optional<TBlockPlace> FindElfSection(QByteArrayView image, const char* name);
// Either of the above, by the file's magic bytes; an ELF file is searched for
// the section named `elfSection`.
std::optional<TBlockPlace> FindVersionBlock(QByteArrayView image, const char* elfSection);

// The bytes at `place`, or nothing when they do not lie wholly inside `image`.
std::optional<QByteArrayView> BlockBytes(QByteArrayView image, TBlockPlace place);

} // namespace velmora
