// Starts real small scripts in a temporary folder; the elevation helper and the
// desktop opener are replaced by scripts that only record how they were called
// (handed to the platform by the test; the program never reads such a hook).
#include "core/KvCommandList.h"
#include "fakes/FakePlatform.h"
#include "platform/linux/LinuxPlatform.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
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
        platformPtr =
            std::make_unique<LinuxPlatform>(TLaunchHelpers{.Elevator = elevator, .Opener = opener});
    }
    // A stand-in elevation helper that ends with `code`, as pkexec does when the
    // prompt is dismissed (126) or authorisation is refused (127).
    std::unique_ptr<LinuxPlatform> ElevatorExiting(int code) {
        const QString path = root + QStringLiteral("/exit%1.sh").arg(code);
        EXPECT_TRUE(WriteFile(
            path, QByteArray("#!/bin/sh\nexit ") + QByteArray::number(code) + "\n", true));
        return std::make_unique<LinuxPlatform>(TLaunchHelpers{.Elevator = path, .Opener = opener});
    }

    QTemporaryDir dir;
    QString root, tool, elevator, opener;
    std::unique_ptr<LinuxPlatform> platformPtr;
    LinuxPlatform& platform() { return *platformPtr; }
};

// Waits (running the event loop) for a watched start to end.
std::optional<TLaunchEnd> WaitForEnd(const std::shared_ptr<std::optional<TLaunchEnd>>& end) {
    for (int i = 0; i < 3000 && !*end; ++i)
        QTest::qWait(10);
    return *end;
}

} // namespace

TEST_F(Launch, ProgramGetsItsWordsAndItsFolder) {
    QString error;
    ASSERT_TRUE(platform().LaunchProgram(tool, "pool.ntp.org 'two words' \"$(touch pwned)\" ; x",
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
    ASSERT_TRUE(platform().LaunchProgram(tool, "-q 'a b'", true, false));
    const auto got = WaitForMarker(root + "/elevated");
    ASSERT_TRUE(got.has_value());
    // In the program's folder, which the helper is told to keep.
    EXPECT_EQ(*got, QStringList({root + "/tools dir", "--keep-cwd", tool, "-q", "a b"}));
    EXPECT_FALSE(QFile::exists(root + "/ran")); // the helper decides whether it runs
}

TEST(LaunchEnd, ElevationHelperExitCodes) {
    EXPECT_EQ(ElevatedLaunchEnd(0), TLaunchEnd::Ran);
    EXPECT_EQ(ElevatedLaunchEnd(1), TLaunchEnd::Ran); // the program's own failure
    EXPECT_EQ(ElevatedLaunchEnd(-1), TLaunchEnd::Ran);
    EXPECT_EQ(ElevatedLaunchEnd(126), TLaunchEnd::Dismissed);
    EXPECT_EQ(ElevatedLaunchEnd(127), TLaunchEnd::NotAuthorised);
}

TEST_F(Launch, TheElevationOutcomeIsWatched) {
    const std::pair<int, TLaunchEnd> cases[] = {
        {0, TLaunchEnd::Ran}, {126, TLaunchEnd::Dismissed}, {127, TLaunchEnd::NotAuthorised}};
    for (const auto& [code, expected] : cases) {
        auto elevating = ElevatorExiting(code);
        auto end = std::make_shared<std::optional<TLaunchEnd>>();
        int calls = 0;
        ASSERT_TRUE(elevating->LaunchProgram(tool, "", true, false, nullptr,
                                             [end, &calls](TLaunchEnd e) {
                                                 *end = e;
                                                 ++calls;
                                             }))
            << code;
        EXPECT_EQ(WaitForEnd(end), expected) << code;
        QTest::qWait(50);
        EXPECT_EQ(calls, 1) << code;
    }
}

TEST_F(Launch, AWatchedPlainStartReportsItsEnd) {
    auto end = std::make_shared<std::optional<TLaunchEnd>>();
    ASSERT_TRUE(platform().LaunchProgram(tool, "x", false, false, nullptr,
                                         [end](TLaunchEnd e) { *end = e; }));
    EXPECT_EQ(WaitForEnd(end), TLaunchEnd::Ran);
    const auto got = WaitForMarker(root + "/ran");
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, QStringList({root + "/tools dir", "x"}));
}

TEST_F(Launch, OnlyProgramsGetAdministratorRights) {
    const QString doc = root + "/tools dir/notes.txt";
    ASSERT_TRUE(WriteFile(doc, "hello\n", false));
    for (const QString& target : {doc, root + "/tools dir"}) {
        QString error;
        EXPECT_FALSE(platform().LaunchProgram(target, "", true, false, &error))
            << target.toStdString();
        EXPECT_TRUE(error.contains("not an executable program")) << error.toStdString();
    }
    QTest::qWait(200);
    EXPECT_FALSE(QFile::exists(root + "/opened")) << "never handed to another application";
    EXPECT_FALSE(QFile::exists(root + "/elevated"));
}

TEST_F(Launch, DocumentsOpenWithTheDesktopOpener) {
    const QString doc = root + "/tools dir/notes.txt";
    ASSERT_TRUE(WriteFile(doc, "hello\n", false));
    ASSERT_TRUE(platform().LaunchProgram(doc, "ignored words", false, false));
    const auto got = WaitForMarker(root + "/opened");
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(*got, QStringList({root + "/tools dir", doc}));

    // A folder is no program either.
    ASSERT_TRUE(QFile::remove(root + "/opened"));
    ASSERT_TRUE(platform().LaunchProgram(root + "/tools dir", "", false, false));
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
        EXPECT_FALSE(platform().LaunchProgram(c.File, c.Params, false, false, &error))
            << c.File.toStdString();
        EXPECT_TRUE(error.contains(c.Reason)) << error.toStdString();
    }
    // A helper that cannot be started is an honest failure too.
    LinuxPlatform missing(TLaunchHelpers{.Elevator = root + "/no-such-helper", .Opener = opener});
    QString error;
    EXPECT_FALSE(missing.LaunchProgram(tool, "", true, false, &error));
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
    ASSERT_TRUE(item.RunCommand(platform()));
    const auto got = WaitForMarker(root + "/ran");
    ASSERT_TRUE(got.has_value());
    EXPECT_EQ(got->value(1), "pool.ntp.org");
}
