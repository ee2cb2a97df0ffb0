// Starts real small scripts in a temporary folder; the elevation helper and the
// desktop opener are replaced by scripts that only record how they were called.
#include "KvUnits/KvCommandList.h"
#include "fakes/FakePlatform.h"
#include "platform/linux/LinuxPlatform.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

// A script that writes its working folder and its arguments, NUL-separated, to
// `marker` (through a temporary name, so a reader never sees half a file).
QByteArray RecorderScript(const QString& marker) {
    return "#!/bin/sh\n"
           "{ printf '%s\\0' \"$PWD\"; for a in \"$@\"; do printf '%s\\0' \"$a\"; done; } > '" +
           marker.toUtf8() + ".part' && mv '" + marker.toUtf8() + ".part' '" + marker.toUtf8() +
           "'\n";
}

bool WriteFile(const QString& path, const QByteArray& bytes, bool executable) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return false;
    f.close();
    auto perms = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        perms |= QFile::ExeOwner;
    return f.setPermissions(perms);
}

// The recorded folder followed by the arguments, or nothing when the marker has not
// appeared within a generous wait.
std::optional<QStringList> WaitForMarker(const QString& marker) {
    const QDeadlineTimer deadline(30000);
    while (!QFile::exists(marker)) {
        if (deadline.hasExpired())
            return std::nullopt;
        QThread::msleep(20);
    }
    QFile f(marker);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QStringList fields = QString::fromUtf8(f.readAll()).split(QChar(0));
    fields.removeLast(); // after the last NUL
    return fields;
}

class Launch : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = QDir(dir.path()).canonicalPath();
        ASSERT_TRUE(QDir(root).mkpath("tools dir"));
        tool = root + "/tools dir/tool.sh";
        ASSERT_TRUE(WriteFile(tool, RecorderScript(root + "/ran"), true));
        elevator = root + "/elevate.sh";
        ASSERT_TRUE(WriteFile(elevator, RecorderScript(root + "/elevated"), true));
        opener = root + "/open.sh";
        ASSERT_TRUE(WriteFile(opener, RecorderScript(root + "/opened"), true));
        qputenv("VELMORA_ELEVATE", elevator.toUtf8());
        qputenv("VELMORA_OPEN", opener.toUtf8());
    }
    void TearDown() override {
        qunsetenv("VELMORA_ELEVATE");
        qunsetenv("VELMORA_OPEN");
    }

    QTemporaryDir dir;
    QString root, tool, elevator, opener;
    LinuxPlatform platform;
};

} // namespace

TEST_F(Launch, ProgramGetsItsWordsAndItsFolder) {
    QString error;
    ASSERT_TRUE(platform.LaunchProgram(tool, "pool.ntp.org 'two words' \"$(touch pwned)\" ; x",
                                       false, true, &error))
        << error.toStdString();
    const auto got = WaitForMarker(root + "/ran");
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, QStringList({root + "/tools dir", "pool.ntp.org", "two words", "$(touch pwned)",
                                 ";", "x"}));
    EXPECT_FALSE(QFile::exists(root + "/tools dir/pwned"));
    EXPECT_FALSE(QFile::exists(root + "/elevated"));
}

TEST_F(Launch, AdministratorRightsGoThroughTheElevationHelper) {
    ASSERT_TRUE(platform.LaunchProgram(tool, "-q 'a b'", true, false));
    const auto got = WaitForMarker(root + "/elevated");
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, QStringList({root + "/tools dir", tool, "-q", "a b"}));
    EXPECT_FALSE(QFile::exists(root + "/ran")); // the helper decides whether it runs
}

TEST_F(Launch, DocumentsOpenWithTheDesktopOpener) {
    const QString doc = root + "/tools dir/notes.txt";
    ASSERT_TRUE(WriteFile(doc, "hello\n", false));
    ASSERT_TRUE(platform.LaunchProgram(doc, "ignored words", false, false));
    const auto got = WaitForMarker(root + "/opened");
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, QStringList({root + "/tools dir", doc}));

    // A folder is no program either.
    ASSERT_TRUE(QFile::remove(root + "/opened"));
    ASSERT_TRUE(platform.LaunchProgram(root + "/tools dir", "", true, false));
    const auto folder = WaitForMarker(root + "/opened");
    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(*folder, QStringList({root, root + "/tools dir"}));
    EXPECT_FALSE(QFile::exists(root + "/elevated"));
}

TEST_F(Launch, FailuresSayWhy) {
    struct TCase {
        QString File, Params, Reason;
    };
    const TCase cases[] = {
        {root + "/missing", "", "does not exist"},
        {"", "", "No file name"},
        {tool, "'unclosed", "quote"},
    };
    for (const TCase& c : cases) {
        QString error;
        EXPECT_FALSE(platform.LaunchProgram(c.File, c.Params, false, false, &error))
            << c.File.toStdString();
        EXPECT_TRUE(error.contains(c.Reason)) << error.toStdString();
    }
    // A helper that cannot be started is an honest failure too.
    qputenv("VELMORA_ELEVATE", QString(root + "/no-such-helper").toUtf8());
    QString error;
    EXPECT_FALSE(platform.LaunchProgram(tool, "", true, false, &error));
    EXPECT_TRUE(error.contains("could not be started")) << error.toStdString();
}

TEST_F(Launch, RunCommandPassesTheItemThrough) {
    FakePlatform fake;
    TKvCommandItem item;
    item.SetFileName("/opt/v/Sync/VelmoSync");
    item.SetOptionStr("pool.ntp.org");
    item.SetCommandOptions("/a /h");
    EXPECT_TRUE(item.RunCommand(fake));
    fake.LaunchResult = false;
    EXPECT_FALSE(item.RunCommand(fake));
    EXPECT_EQ(fake.Calls, QStringList({"launch:/opt/v/Sync/VelmoSync|pool.ntp.org|1|1",
                                       "launch:/opt/v/Sync/VelmoSync|pool.ntp.org|1|1"}));

    // And on the real platform, the script runs.
    item.SetFileName(tool);
    item.SetCommandOptions("");
    ASSERT_TRUE(item.RunCommand(platform));
    const auto got = WaitForMarker(root + "/ran");
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->value(1), "pool.ntp.org");
}
