// Windows PE files made in memory around a version block, for the version
// reader's and the about dialog's tests.
#pragma once

#include <QByteArray>
#include <cstdint>

namespace velmora::testfiles {

inline void PutU16(QByteArray& b, qsizetype at, unsigned v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}
inline void PutU32(QByteArray& b, qsizetype at, uint32_t v) {
    PutU16(b, at, v & 0xFFFF);
    PutU16(b, at + 2, v >> 16);
}

// A minimal Windows PE file (PE32 or PE32+) whose one section ".rsrc" holds a
// resource directory RT_VERSION -> 1 -> 0x0411 -> `block`.
inline QByteArray PeFile(const QByteArray& block, bool pe32plus, uint32_t declaredSize = 0) {
    const uint32_t peAt = 0x80, sectionRva = 0x1000, rawAt = 0x200;
    const uint32_t optSize = pe32plus ? 240 : 224;
    QByteArray f(rawAt, '\0');
    f[0] = 'M';
    f[1] = 'Z';
    PutU32(f, 0x3C, peAt);
    f.replace(peAt, 4, QByteArray("PE\0\0", 4));
    const uint32_t coff = peAt + 4;
    PutU16(f, coff, pe32plus ? 0x8664 : 0x14C);
    PutU16(f, coff + 2, 1);        // one section
    PutU16(f, coff + 16, optSize); // size of the optional header
    const uint32_t opt = coff + 20;
    PutU16(f, opt, pe32plus ? 0x20B : 0x10B);
    const uint32_t countAt = opt + (pe32plus ? 108 : 92);
    PutU32(f, countAt, 16);
    PutU32(f, countAt + 4 + 2 * 8, sectionRva); // the resource directory
    PutU32(f, countAt + 4 + 2 * 8 + 4, 0x100);
    const uint32_t section = opt + optSize;
    f.replace(section, 5, ".rsrc");

    // The resource section: three directories of one entry, a data entry, the block.
    QByteArray r(0x60, '\0');
    const auto dir = [&](uint32_t at, uint32_t id, uint32_t target) {
        PutU16(r, at + 14, 1);
        PutU32(r, at + 16, id);
        PutU32(r, at + 20, target);
    };
    dir(0x00, 16, 0x80000000u | 0x18);
    dir(0x18, 1, 0x80000000u | 0x30);
    dir(0x30, 0x0411, 0x48);
    PutU32(r, 0x48, sectionRva + 0x60);
    PutU32(r, 0x4C, declaredSize ? declaredSize : uint32_t(block.size()));
    r += block;
    PutU32(f, section + 8, uint32_t(r.size()));
    PutU32(f, section + 12, sectionRva);
    PutU32(f, section + 16, uint32_t(r.size()));
    PutU32(f, section + 20, rawAt);
    return f + r;
}

} // namespace velmora::testfiles
