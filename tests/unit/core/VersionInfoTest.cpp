#include "core/ExecutableImage.h"
#include "core/KvVersionInfo.h"
#include "core/VersionBlockWriter.h"
#include "core/VersionStamp.h"
#include "unit/core/VersionFiles.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::testfiles;

namespace {

using TWriter = TVersionBlockWriter<4096>;

QByteArray Bytes(const TWriter& w) {
    EXPECT_FALSE(w.Overflow);
    return QByteArray(reinterpret_cast<const char*>(w.Bytes.data()), qsizetype(w.Size));
}

constexpr TVersionStamp kJapanese{3,
                                  4,
                                  0,
                                  0,
                                  0x0411,
                                  0x03A4,
                                  "041103A4",
                                  "Velmora",
                                  "3.4.0.0.20161013",
                                  "A clock",
                                  "velmora.exe"};

QByteArray TypicalBlock() {
    return Bytes(WriteVersionBlock<4096>(kJapanese));
}

// A block with the fixed information of 3.4.0.0 and the given children.
template <typename F> QByteArray Block(F children, unsigned fixedLength = 52) {
    TWriter w;
    w.Begin("VS_VERSION_INFO", fixedLength);
    if (fixedLength == 52)
        w.FixedFileInfo(3 << 16 | 4, 0);
    else
        for (unsigned i = 0; i < fixedLength; ++i)
            w.Byte(0);
    children(w);
    w.End();
    return Bytes(w);
}

QString ConstructionError(QByteArrayView image) {
    try {
        TKvVersionInfo::FromImage(image);
    } catch (const TKvVersionInfoError& e) {
        return QString::fromUtf8(e.what());
    }
    return QStringLiteral("(no error)");
}

} // namespace

TEST(VersionInfo, JapaneseTranslationGivesItsProductVersion) {
    for (bool plus : {false, true}) {
        const auto info = TKvVersionInfo::FromImage(PeFile(TypicalBlock(), plus));
        ASSERT_TRUE(info.HasVersionInfo());
        EXPECT_EQ(info.TranslationCount(), 1);
        EXPECT_EQ(info.GetTranslationStr(0), "041103A4");
        EXPECT_EQ(info.GetProductVersionStr(0), "3.4.0.0.20161013");
        EXPECT_EQ(info.GetStringValue("041103A4", "ProductName"), "Velmora");
        // Keys are found without regard to letter case, as the Windows API does.
        EXPECT_EQ(info.GetStringValue("041103a4", "productversion"), "3.4.0.0.20161013");
        EXPECT_EQ(info.FixedFileInfo().dwSignature, kFixedFileInfoSignature);
        EXPECT_EQ(info.FixedFileInfo().dwProductVersionMS, 0x00030004u);
    }
}

TEST(VersionInfo, QueryResultsOfCraftedBlocks) {
    struct Case {
        const char* what;
        QByteArray block;
        int translations;
        const char* product;
    };
    const Case cases[] = {
        {"no translation table: the fixed product version", Block([](TWriter& w) {
             w.Begin("StringFileInfo");
             w.Begin("041103A4", 0, true);
             w.String("ProductVersion", "9.9");
             w.End();
             w.End();
         }),
         0, "3.4.0.0"},
        {"an empty translation table: the fixed product version", Block([](TWriter& w) {
             w.Begin("VarFileInfo");
             w.Begin("Translation", 0);
             w.End();
             w.End();
         }),
         0, "3.4.0.0"},
        {"a translation without the key: empty", Block([](TWriter& w) {
             w.Begin("StringFileInfo");
             w.Begin("041103A4", 0, true);
             w.String("FileVersion", "3.4");
             w.End();
             w.End();
             w.Begin("VarFileInfo");
             w.Begin("Translation", 4);
             w.Word(0x0411);
             w.Word(0x03A4);
             w.End();
             w.End();
         }),
         1, ""},
        {"two translations and a ragged table length: the first one counts", Block([](TWriter& w) {
             w.Begin("StringFileInfo");
             w.Begin("040904B0", 0, true);
             w.String("ProductVersion", "english");
             w.End();
             w.Begin("041103A4", 0, true);
             w.String("ProductVersion", "日本語");
             w.End();
             w.End();
             w.Begin("VarFileInfo");
             w.Begin("Translation", 10);
             for (unsigned v : {0x0409u, 0x04B0u, 0x0411u, 0x03A4u, 0xFFFFu})
                 w.Word(v);
             w.End();
             w.End();
         }),
         2, "english"},
    };
    for (const Case& c : cases) {
        const auto info = TKvVersionInfo::FromImage(PeFile(c.block, false));
        EXPECT_TRUE(info.HasVersionInfo()) << c.what;
        EXPECT_EQ(info.TranslationCount(), c.translations) << c.what;
        EXPECT_EQ(info.GetProductVersionStr(0), QString::fromUtf8(c.product)) << c.what;
    }
}

TEST(VersionInfo, NonAsciiStringsAndTextLengthsCountedInBytes) {
    const QByteArray block = Block([](TWriter& w) {
        w.Begin("StringFileInfo");
        w.Begin("041103A4", 0, true);
        w.String<char16_t>("ProductVersion", u"三.四");
        // Some resource compilers count a text value in bytes: the value then
        // claims more than its node holds, and is cut at the node's end.
        w.Begin("Comments", 200, true);
        w.Text(std::u16string_view(u"ok"));
        w.End();
        w.End();
        w.End();
    });
    EXPECT_EQ(ReadStringFileInfo(block, "041103A4", "ProductVersion"), QString::fromUtf8("三.四"));
    EXPECT_EQ(ReadStringFileInfo(block, "041103A4", "Comments"), "ok");
    // A separator in a key cannot reach another node.
    EXPECT_EQ(ReadStringFileInfo(block, "041103A4\\ProductVersion", ""), "");
}

TEST(VersionInfo, FilesWithoutAVersionBlock) {
    QByteArray noResource = PeFile(TypicalBlock(), false);
    PutU32(noResource, 0x80 + 24 + 92 + 4 + 16, 0); // resource directory RVA 0
    const QByteArray images[] = {QByteArray(), QByteArray("MZ"), QByteArray(4096, 'x'), noResource,
                                 QByteArray("\x7F"
                                            "ELF",
                                            4) +
                                     QByteArray(60, '\0')};
    for (const QByteArray& image : images) {
        const auto info = TKvVersionInfo::FromImage(image);
        EXPECT_FALSE(info.HasVersionInfo());
        EXPECT_EQ(info.TranslationCount(), 0);
        EXPECT_EQ(info.GetProductVersionStr(0), "No Version Information");
    }
    QTemporaryDir dir;
    EXPECT_EQ(TKvVersionInfo(dir.path()).GetProductVersionStr(0), "No Version Information");
    EXPECT_EQ(TKvVersionInfo(dir.filePath("missing.exe")).GetProductVersionStr(0),
              "No Version Information");
}

TEST(VersionInfo, TheThreeConstructionErrors) {
    const QByteArray typical = TypicalBlock();
    QByteArray oversized = typical;
    PutU16(oversized, 0, uint16_t(typical.size() + 8)); // the root claims more than there is
    QByteArray notARoot = typical;
    notARoot[6] = 'X'; // "XS_VERSION_INFO"
    struct Case {
        const char* what;
        QByteArray image;
        const char* error;
    } cases[] = {
        {"the file ends inside the block", PeFile(typical, false).chopped(40),
         "Cannot Load Version Information"},
        {"the directory declares more bytes than the file has",
         PeFile(typical, true, uint32_t(typical.size() + 4096)), "Cannot Load Version Information"},
        {"a root node longer than the block", PeFile(oversized, false),
         "Cannot Load Version Information"},
        {"not a version block", PeFile(notARoot, false), "Cannot Load Version Information"},
        {"no fixed information", PeFile(Block([](TWriter&) {}, 0), false),
         "Cannot Read FixedFileInfo"},
        {"fixed information of 48 bytes", PeFile(Block([](TWriter&) {}, 48), false),
         "FixedFileInfo Record Wrong Size"},
        {"fixed information of 56 bytes", PeFile(Block([](TWriter&) {}, 56), false),
         "FixedFileInfo Record Wrong Size"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConstructionError(c.image), QString::fromUtf8(c.error)) << c.what;
}

TEST(VersionInfo, TruncatedAndHostileLengthsInsideTheBlock) {
    QByteArray block = TypicalBlock();
    // Find the "StringFileInfo" node and give it lengths that lie: each query then
    // fails cleanly instead of reading past the node or the block.
    const qsizetype at = block.indexOf(QByteArray::fromRawData(
                             reinterpret_cast<const char*>(u"StringFileInfo"), 28)) -
                         6;
    ASSERT_GT(at, 0);
    for (unsigned length : {0u, 1u, 5u, 6u, 7u, 0xFFFFu}) {
        QByteArray b = block;
        PutU16(b, at, length);
        EXPECT_EQ(ReadStringFileInfo(b, "041103A4", "ProductVersion"), "") << length;
        // The translation table after it stays reachable only through a sane walk.
        (void)ReadTranslationTable(b);
    }
    // A key without its terminating zero inside the node.
    QByteArray b = block;
    PutU16(b, at, 6 + 4);
    EXPECT_EQ(ReadStringFileInfo(b, "041103A4", "ProductVersion"), "");
    // Every prefix of the block, as a block of its own, is refused or answered
    // without reading beyond it (the sanitizers watch).
    for (qsizetype n = 0; n < block.size(); ++n) {
        const QByteArray part = block.left(n);
        TVSFixedFileInfo info;
        (void)ReadFixedFileInfo(part, info);
        (void)ReadTranslationTable(part);
        (void)ReadStringFileInfo(part, "041103A4", "ProductVersion");
    }
}

TEST(VersionInfo, EveryTruncationOfAPeFileIsAnsweredSafely) {
    const QByteArray file = PeFile(TypicalBlock(), true);
    int noInfo = 0, errors = 0;
    for (qsizetype n = 0; n <= file.size(); ++n) {
        try {
            const auto info = TKvVersionInfo::FromImage(QByteArrayView(file).first(n));
            noInfo += info.HasVersionInfo() ? 0 : 1;
        } catch (const TKvVersionInfoError& e) {
            EXPECT_STREQ(e.what(), "Cannot Load Version Information") << n;
            ++errors;
        }
    }
    EXPECT_GT(noInfo, 0);
    EXPECT_GT(errors, 0);
    EXPECT_EQ(TKvVersionInfo::FromImage(file).GetProductVersionStr(0), "3.4.0.0.20161013");
}

TEST(VersionInfo, AResourceDirectoryThatPointsAtItself) {
    QByteArray file = PeFile(TypicalBlock(), false);
    const qsizetype rsrc = 0x200;
    PutU32(file, rsrc + 20, 0x80000000u); // RT_VERSION -> the root directory again
    EXPECT_FALSE(TKvVersionInfo::FromImage(file).HasVersionInfo());
    PutU32(file, rsrc + 20, 0x80000000u | 0x7FFFFFF0u); // far outside the file
    EXPECT_FALSE(TKvVersionInfo::FromImage(file).HasVersionInfo());
}

TEST(VersionInfo, ReadsAFileOnDisk) {
    QTemporaryDir dir;
    QFile f(dir.filePath("clock.exe"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(PeFile(TypicalBlock(), true));
    f.close();
    const TKvVersionInfo info(f.fileName());
    EXPECT_EQ(info.GetProductVersionStr(0), "3.4.0.0.20161013");
}

TEST(VersionInfo, ThisProgramCarriesItsVersionInItsElfSection) {
    const TKvVersionInfo info(RunningExecutableName());
    ASSERT_TRUE(info.HasVersionInfo());
    ASSERT_EQ(info.TranslationCount(), 1);
    EXPECT_EQ(info.GetTranslationStr(0), "041103A4");
    const QString version = info.GetProductVersionStr(0);
    // The project's version as --version gives it (no build date of its own: one
    // version text everywhere).
    const auto m = QRegularExpression(R"(^(\d+)\.(\d+)\.(\d+)$)").match(version);
    ASSERT_TRUE(m.hasMatch()) << version.toStdString();
    // The fixed numbers are the same as the text's.
    const auto& fixed = info.FixedFileInfo();
    EXPECT_EQ(fixed.dwProductVersionMS, m.captured(1).toUInt() << 16 | m.captured(2).toUInt());
    EXPECT_EQ(fixed.dwProductVersionLS, m.captured(3).toUInt() << 16);
    // What the file carries is what the program compiled in.
    const QByteArray compiled(reinterpret_cast<const char*>(VersionStampBytes()),
                              int(VersionStampSize()));
    EXPECT_EQ(ReadStringFileInfo(compiled, "041103A4", "ProductVersion"), version);
    EXPECT_EQ(ProgramVersionStr(), version);
}

TEST(VersionInfo, ElfSectionSearchIsBoundsChecked) {
    QFile self(RunningExecutableName());
    ASSERT_TRUE(self.open(QIODevice::ReadOnly));
    const QByteArray whole = self.readAll();
    const auto place = FindElfSection(whole, kVersionSectionName);
    ASSERT_TRUE(place.has_value());
    EXPECT_EQ(place->Size, VersionStampSize());
    EXPECT_FALSE(FindElfSection(whole, ".no_such_section").has_value());
    // The section table lies at the end of the file: a cut file has none, or only
    // some of it, and a hostile header points anywhere.
    for (qsizetype cut : {qsizetype(1), qsizetype(64), qsizetype(100), qsizetype(1000)})
        EXPECT_FALSE(FindElfSection(QByteArrayView(whole).chopped(cut), kVersionSectionName));
    QByteArray hostile = whole.left(64) + QByteArray(256, '\xFF');
    EXPECT_FALSE(FindElfSection(hostile, kVersionSectionName).has_value());
}

TEST(VersionInfoDeathTest, ViolatedPreconditionsStopNamingTheUnit) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto none = TKvVersionInfo::FromImage(QByteArray());
    EXPECT_DEATH(none.GetStringValue("041103A4", "ProductVersion"), "KvVersionInfo, line [0-9]+");
    EXPECT_DEATH(none.GetTranslationStr(0), "KvVersionInfo, line [0-9]+");
    const auto info = TKvVersionInfo::FromImage(PeFile(TypicalBlock(), false));
    EXPECT_DEATH(info.GetTranslationStr(1), "KvVersionInfo, line [0-9]+");
    EXPECT_DEATH(info.GetTranslationStr(-1), "KvVersionInfo, line [0-9]+");
}
