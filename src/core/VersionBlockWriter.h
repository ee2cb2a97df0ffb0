// Writes a version block (VS_VERSIONINFO) the way resource compilers lay it out:
// nodes of { wLength, wValueLength, wType, key in UTF-16 with its zero, padding to
// 32 bits, value, padding, children }. Everything is constexpr, so the program's
// own block is built by the compiler from the version numbers and the build date.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

namespace velmora {

inline constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;

// Little-endian writer into a fixed buffer; writes past its end are dropped and
// mark the result as overflowed, so a too small buffer is a compile-time error
// where the result is checked in a constant expression.
template <std::size_t N> struct TVersionBlockWriter {
    std::array<unsigned char, N> Bytes{};
    std::size_t Size = 0;
    bool Overflow = false;
    std::size_t Open[8]{};
    int Depth = 0;

    constexpr void Byte(unsigned v) {
        if (Size < N)
            Bytes[Size] = static_cast<unsigned char>(v & 0xFF);
        else
            Overflow = true;
        ++Size;
    }
    constexpr void Word(unsigned v) {
        Byte(v);
        Byte(v >> 8);
    }
    constexpr void DWord(uint32_t v) {
        Word(v & 0xFFFF);
        Word(v >> 16);
    }
    constexpr void Pad() {
        while (Size % 4)
            Byte(0);
    }
    template <typename Char> constexpr void Text(std::basic_string_view<Char> s) {
        for (Char c : s)
            Word(static_cast<unsigned>(static_cast<std::make_unsigned_t<Char>>(c)));
        Word(0);
    }
    constexpr void PatchWord(std::size_t at, unsigned v) {
        if (at + 1 < N) {
            Bytes[at] = static_cast<unsigned char>(v & 0xFF);
            Bytes[at + 1] = static_cast<unsigned char>((v >> 8) & 0xFF);
        }
    }

    // Opens a node; its value follows (valueLength in bytes for binary values, in
    // characters with the zero for text), then its children, then End().
    template <typename Char>
    constexpr void Begin(std::basic_string_view<Char> key, unsigned valueLength, bool text) {
        Pad();
        if (Depth < 8)
            Open[Depth] = Size;
        ++Depth;
        Word(0);
        Word(valueLength);
        Word(text ? 1 : 0);
        Text(key);
        Pad();
    }
    constexpr void Begin(std::string_view key, unsigned valueLength = 0, bool text = false) {
        Begin<char>(key, valueLength, text);
    }
    constexpr void End() {
        --Depth;
        if (Depth >= 0 && Depth < 8)
            PatchWord(Open[Depth], static_cast<unsigned>(Size - Open[Depth]));
    }

    // A string of a string table.
    template <typename Char>
    constexpr void String(std::string_view key, std::basic_string_view<Char> value) {
        Begin<char>(key, static_cast<unsigned>(value.size() + 1), true);
        Text(value);
        End();
    }
    constexpr void String(std::string_view key, std::string_view value) {
        String<char>(key, value);
    }

    // The 52-byte fixed information with the same numbers as file and product version.
    constexpr void FixedFileInfo(uint32_t versionMS, uint32_t versionLS) {
        const uint32_t words[13] = {kFixedFileInfoSignature,
                                    0x00010000,
                                    versionMS,
                                    versionLS,
                                    versionMS,
                                    versionLS,
                                    0x3F,
                                    0,
                                    0x00040004 /* NT, 32-bit Windows */,
                                    1 /* application */,
                                    0,
                                    0,
                                    0};
        for (uint32_t w : words)
            DWord(w);
    }
};

// The numbers and texts of a typical block: one translation, its string table.
struct TVersionStamp {
    uint16_t Major = 0, Minor = 0, Patch = 0, Tweak = 0;
    uint16_t Lang = 0, CharSet = 0;
    std::string_view TranslationKey;  // "041103A4"
    std::string_view ProductName;     // "Velmora"
    std::string_view ProductVersion;  // "1.0.0.0.20261210"
    std::string_view FileDescription; // "Velmora desktop clock"
    std::string_view OriginalFilename;
};

template <std::size_t N>
constexpr TVersionBlockWriter<N> WriteVersionBlock(const TVersionStamp& s) {
    TVersionBlockWriter<N> w;
    w.Begin("VS_VERSION_INFO", 52);
    w.FixedFileInfo(uint32_t(s.Major) << 16 | s.Minor, uint32_t(s.Patch) << 16 | s.Tweak);
    w.Begin("StringFileInfo");
    w.Begin(s.TranslationKey, 0, true);
    w.String("FileDescription", s.FileDescription);
    w.String("FileVersion", s.ProductVersion);
    w.String("OriginalFilename", s.OriginalFilename);
    w.String("ProductName", s.ProductName);
    w.String("ProductVersion", s.ProductVersion);
    w.End();
    w.End();
    w.Begin("VarFileInfo");
    w.Begin("Translation", 4);
    w.Word(s.Lang);
    w.Word(s.CharSet);
    w.End();
    w.End();
    w.End();
    return w;
}

} // namespace velmora
