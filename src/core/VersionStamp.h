// The version block this program carries in an ELF section of its own, made by
// the compiler from the project version and the build date, so that the about
// dialog and `--version` read the same numbers as any tool that reads the file.
#pragma once

namespace velmora {

// The section the block lives in.
inline constexpr const char kVersionSectionName[] = ".velmora_version";
// The translation of the block's string table: Japanese, code page 932.
inline constexpr unsigned short kStampLang = 0x0411;
inline constexpr unsigned short kStampCharSet = 0x03A4;

// The block as compiled in (the reader finds it through the file, not through this;
// referencing it keeps the section in every program that reads versions).
const unsigned char* VersionStampBytes();
unsigned VersionStampSize();

} // namespace velmora
