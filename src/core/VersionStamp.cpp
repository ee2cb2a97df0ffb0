// The program's own version block, made from the project version.
#include "core/VersionStamp.h"

#include "core/VersionBlockWriter.h"

#ifndef VELMORA_VERSION_MAJOR
#error "VELMORA_VERSION_MAJOR and its siblings come from the build"
#endif

namespace velmora {

namespace {

// The project's version as --version and the package give it: one text everywhere.
constexpr std::string_view kProductVersion = VELMORA_PRODUCT_VERSION;

constexpr TVersionStamp kStamp{VELMORA_VERSION_MAJOR,
                               VELMORA_VERSION_MINOR,
                               VELMORA_VERSION_PATCH,
                               VELMORA_VERSION_TWEAK,
                               kStampLang,
                               kStampCharSet,
                               "041103A4",
                               "Velmora",
                               kProductVersion,
                               "Velmora desktop clock",
                               "velmora"};

constexpr auto kWritten = WriteVersionBlock<1024>(kStamp);
static_assert(!kWritten.Overflow, "the version block outgrew its buffer");

template <std::size_t Size>
constexpr std::array<unsigned char, Size> Exact(const std::array<unsigned char, 1024>& bytes) {
    std::array<unsigned char, Size> out{};
    for (std::size_t i = 0; i < Size; ++i)
        out[i] = bytes[i];
    return out;
}

} // namespace

__attribute__((section(".velmora_version"),
               used)) constinit const std::array<unsigned char, kWritten.Size>
    kVersionStamp = Exact<kWritten.Size>(kWritten.Bytes);

const unsigned char* VersionStampBytes() {
    return kVersionStamp.data();
}

unsigned VersionStampSize() {
    return unsigned(kVersionStamp.size());
}

} // namespace velmora
