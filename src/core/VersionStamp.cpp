// The program's own version block. The build date comes from a header the
// build writes (see cmake/BuildDate.cmake), so a reproducible build that sets
// SOURCE_DATE_EPOCH gets a reproducible block.
#include "core/VersionStamp.h"

#include "VelmoraBuildDate.h"
#include "core/VersionBlockWriter.h"

#ifndef VELMORA_VERSION_MAJOR
#error "VELMORA_VERSION_MAJOR and its siblings come from the build"
#endif

namespace velmora {

namespace {

struct TText {
    char Chars[64]{};
    std::size_t Size = 0;
    constexpr void Add(char c) {
        if (Size < sizeof Chars)
            Chars[Size++] = c;
    }
    constexpr void Add(unsigned n) {
        char digits[8]{};
        int k = 0;
        do {
            digits[k++] = char('0' + n % 10);
            n /= 10;
        } while (n && k < 8);
        while (k)
            Add(digits[--k]);
    }
    constexpr std::string_view View() const { return {Chars, Size}; }
};

// "major.minor.patch.tweak.yyyymmdd"
constexpr TText ProductVersion() {
    TText t;
    t.Add(unsigned(VELMORA_VERSION_MAJOR));
    t.Add('.');
    t.Add(unsigned(VELMORA_VERSION_MINOR));
    t.Add('.');
    t.Add(unsigned(VELMORA_VERSION_PATCH));
    t.Add('.');
    t.Add(unsigned(VELMORA_VERSION_TWEAK));
    t.Add('.');
    for (char c : std::string_view(VELMORA_BUILD_DATE))
        t.Add(c);
    return t;
}

static_assert(std::string_view(VELMORA_BUILD_DATE).size() == 8, "the build date is yyyymmdd");
constexpr TText kProductVersion = ProductVersion();

constexpr TVersionStamp kStamp{VELMORA_VERSION_MAJOR,
                               VELMORA_VERSION_MINOR,
                               VELMORA_VERSION_PATCH,
                               VELMORA_VERSION_TWEAK,
                               kStampLang,
                               kStampCharSet,
                               "041103A4",
                               "Velmora",
                               kProductVersion.View(),
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
