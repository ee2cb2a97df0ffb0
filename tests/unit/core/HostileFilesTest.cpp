// Settings documents on hostile paths: what cannot be read says why (so that it is
// never overwritten), nothing hangs, and a save leaves no temporary file behind.
#include "core/IniDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace velmora;

namespace {

QByteArray Utf16(const QString& text) {
    QByteArray out("\xFF\xFE", 2);
    for (QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteRaw(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QStringList Entries(const QString& dir) {
    return QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

TEST(HostileFiles, UnreadablePathsSayWhyAndAreNeverReplaced) {
    struct Case {
        const char* name;
        std::function<void(const QString& path)> make;
    } cases[] = {
        {"a folder", [](const QString& p) { ASSERT_TRUE(QDir().mkdir(p)); }},
        {"a pipe", // reading it would wait for a writer forever
         [](const QString& p) { ASSERT_EQ(mkfifo(QFile::encodeName(p).constData(), 0600), 0); }},
        {"a link to itself", [](const QString& p) { ASSERT_TRUE(QFile::link(p, p)); }},
        {"two links in a circle",
         [](const QString& p) {
             ASSERT_TRUE(QFile::link(p + ".other", p));
             ASSERT_TRUE(QFile::link(p, p + ".other"));
         }},
        {"100 MB", // sparse: the size is what counts, and nothing reads it
         [](const QString& p) {
             QFile f(p);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write(Utf16("[Appearance]\r\nAlpha=128\r\n"));
             ASSERT_TRUE(f.resize(100 * 1024 * 1024));
         }},
    };
    for (const Case& c : cases) {
        QTemporaryDir tmp;
        const QString path = tmp.filePath("velmora.ini");
        c.make(path);
        const QStringList before = Entries(tmp.path());
        const QFileInfo info(path);
        const qint64 size = info.isFile() ? info.size() : -1;

        const IniDocument doc(path);
        EXPECT_FALSE(doc.ReadError().isEmpty()) << c.name;
        EXPECT_TRUE(doc.ReadSections().isEmpty()) << c.name;
        EXPECT_EQ(doc.ReadInteger("Appearance", "Alpha", 255), 255) << c.name;
        // A save of defaults cannot go where nothing could be read, except a rename
        // over a regular file, which the caller prevents by the read error above.
        if (!info.isFile()) {
            EXPECT_THROW(WriteFileAtomically(path, Utf16("x")), TIniWriteError) << c.name;
        }
        EXPECT_EQ(Entries(tmp.path()), before) << c.name;
        EXPECT_EQ(QFileInfo(path).isFile() ? QFileInfo(path).size() : -1, size) << c.name;
    }
}

TEST(HostileFiles, ALinkToAMissingFileIsAFileNotWrittenYet) {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("velmora.ini");
    ASSERT_TRUE(QFile::link(tmp.filePath("kept/velmora.ini"), path));
    EXPECT_TRUE(IniDocument(path).ReadError().isEmpty());
    // An existing target is written through the link; the link stays.
    ASSERT_TRUE(QDir(tmp.path()).mkdir("kept"));
    WriteRaw(tmp.filePath("kept/velmora.ini"), Utf16("[A]\r\nk=1\r\n"));
    IniDocument doc(path);
    doc.WriteString("A", "k", "2");
    doc.UpdateFile();
    EXPECT_TRUE(QFileInfo(path).isSymLink());
    EXPECT_EQ(IniDocument(tmp.filePath("kept/velmora.ini")).ReadString("A", "k", ""), "2");
}

TEST(HostileFiles, LoneSurrogatesAreKeptAsTheyAre) {
    // A file full of lone surrogates in keys, values and section names reads, and a
    // save that changes one key keeps every other line to the code unit.
    QString text = QStringLiteral("[Appearance]\r\nAlpha=200\r\n");
    for (int i = 0; i < 2000; ++i) {
        const QChar high(char16_t(0xD800 + i % 0x400)), low(char16_t(0xDC00 + i % 0x400));
        text += QStringLiteral("[S") + high + QStringLiteral("]\r\nk") + low + QStringLiteral("=") +
                QString(8, high) + QString(3, low) + QStringLiteral("\r\n");
    }
    QTemporaryDir tmp;
    const QString path = tmp.filePath("velmora.ini");
    const QByteArray original = Utf16(text);
    WriteRaw(path, original);
    IniDocument doc(path);
    EXPECT_TRUE(doc.ReadError().isEmpty());
    EXPECT_EQ(doc.ReadInteger("Appearance", "Alpha", 255), 200);
    EXPECT_EQ(doc.ReadSections().size(), 2001);
    doc.WriteInteger("Appearance", "Alpha", 100);
    doc.UpdateFile();
    const QByteArray saved = ReadAll(path);
    int kept = 0;
    for (const QString& line : text.split("\r\n", Qt::SkipEmptyParts))
        kept += saved.contains(Utf16(line + "\r\n").mid(2));
    EXPECT_EQ(kept, 4001); // every line but the one changed
    EXPECT_TRUE(saved.contains(Utf16("Alpha=100\r\n").mid(2)));
}

TEST(HostileFiles, ASaveLeavesNoTemporaryFileAndRemovesAKilledOnesLeftovers) {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("velmora.ini");
    WriteRaw(path, Utf16("[A]\r\nk=old\r\n"));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    // What a save killed before its rename leaves, beside files of the user's own
    // whose names only look alike: those stay.
    const QStringList ours = {".velmora.ini.saving-3k9x", ".velmora.ini.saving-3k9x.AbC123"};
    const QStringList users = {"velmora.ini.backup", "velmora.ini.AbC123", ".velmora.ini.saved",
                               "other.ini"};
    for (const QString& name : ours + users)
        WriteRaw(tmp.filePath(name), "partial");

    RemoveUnfinishedSaves(path);
    QStringList expected = users + QStringList{"velmora.ini"};
    expected.sort();
    EXPECT_EQ(Entries(tmp.path()), expected);

    WriteRaw(tmp.filePath(ours[0]), "partial");
    WriteFileAtomically(path, Utf16("[A]\r\nk=new\r\n"));
    EXPECT_EQ(Entries(tmp.path()), expected);
    EXPECT_EQ(IniDocument(path).ReadString("A", "k", ""), "new");
    EXPECT_FALSE(QFile::permissions(path) & (QFile::ReadGroup | QFile::ReadOther));
}
