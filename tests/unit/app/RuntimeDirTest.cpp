// The private runtime folder: which folder is taken, and every way a folder is
// refused. Folders owned by someone else cannot be made without root, so the
// owner check is fed its facts directly, and a real folder is also checked
// against another user id.
#include "platform/linux/RuntimeDir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velmora;

TEST(RuntimeDir, FactsDecide) {
    const uid_t me = 1000;
    const TDirFacts good{true, false, true, me, 0700};
    struct Case {
        const char* name;
        TDirFacts facts;
        TDirProblem expected;
    };
    const Case cases[] = {
        {"private folder", good, TDirProblem::None},
        {"missing", {}, TDirProblem::Missing},
        {"symbolic link", {true, true, false, me, 0777}, TDirProblem::Symlink},
        {"a file", {true, false, false, me, 0700}, TDirProblem::NotFolder},
        {"another user's", {true, false, true, me + 1, 0700}, TDirProblem::WrongOwner},
        {"root's", {true, false, true, 0, 0700}, TDirProblem::WrongOwner},
        {"group may read", {true, false, true, me, 0750}, TDirProblem::WrongMode},
        {"world writable, sticky", {true, false, true, me, 01777}, TDirProblem::WrongMode},
        {"owner cannot enter", {true, false, true, me, 0600}, TDirProblem::WrongMode},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckPrivateDir(c.facts, me), c.expected) << c.name;
}

class RuntimeDirOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        root = tmp.path();
    }
    QString Make(const QString& name, QFile::Permissions perms) {
        const QString path = root + "/" + name;
        EXPECT_TRUE(QDir().mkpath(path));
        EXPECT_TRUE(QFile::setPermissions(path, perms));
        return path;
    }
    QString Fallback() const { return root + QStringLiteral("/velmora-%1").arg(getuid()); }

    QTemporaryDir tmp;
    QString root;
};

TEST_F(RuntimeDirOnDisk, ThePrivateXdgFolderIsUsed) {
    const QString xdg = Make("run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const TRuntimeDir got = ResolveRuntimeDir(xdg, getuid(), root);
    EXPECT_EQ(got.Path, xdg);
    EXPECT_FALSE(QFile::exists(Fallback())) << "no fallback made when not needed";
}

TEST_F(RuntimeDirOnDisk, AnUnfitXdgFolderGivesWayToOurOwnTempFolder) {
    const QString open = Make("open", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadOther | QFile::ExeOther);
    const QString link = root + "/link";
    ASSERT_TRUE(
        QFile::link(Make("target", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner), link));
    for (const QString& xdg : {QString(), root + "/missing", open, link}) {
        const TRuntimeDir got = ResolveRuntimeDir(xdg, getuid(), root);
        EXPECT_EQ(got.Path, Fallback()) << xdg.toStdString();
        EXPECT_EQ(CheckPrivateDir(ReadDirFacts(Fallback()), getuid()), TDirProblem::None);
    }
}

TEST_F(RuntimeDirOnDisk, AFallbackSomeoneElsePreparedIsRefused) {
    struct Case {
        const char* name;
        std::function<void()> prepare;
        TDirProblem expected;
    };
    const Case cases[] = {
        {"wrong mode",
         [this] {
             Make(Fallback().section('/', -1), QFile::ReadOwner | QFile::WriteOwner |
                                                   QFile::ExeOwner | QFile::WriteOther |
                                                   QFile::ExeOther | QFile::ReadOther);
         },
         TDirProblem::WrongMode},
        {"symbolic link",
         [this] {
             QFile::link(Make("theirs", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner),
                         Fallback());
         },
         TDirProblem::Symlink},
        {"a file",
         [this] {
             QFile f(Fallback());
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         },
         TDirProblem::NotFolder},
    };
    for (const Case& c : cases) {
        QFile::remove(Fallback());
        QDir(Fallback()).removeRecursively();
        c.prepare();
        const TRuntimeDir got = ResolveRuntimeDir(QString(), getuid(), root);
        EXPECT_TRUE(got.Path.isEmpty()) << c.name;
        EXPECT_EQ(got.Refused, Fallback()) << c.name;
        EXPECT_EQ(got.Problem, c.expected) << c.name;
    }
}

TEST_F(RuntimeDirOnDisk, AFolderOfAnotherUserIsRefused) {
    // Seen from another user id, our own private folder is someone else's.
    const uid_t other = getuid() + 1;
    const QString xdg = Make("run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_EQ(
        mkdir(QFile::encodeName(root + QStringLiteral("/velmora-%1").arg(other)).constData(), 0700),
        0);
    const TRuntimeDir got = ResolveRuntimeDir(xdg, other, root);
    EXPECT_TRUE(got.Path.isEmpty());
    EXPECT_EQ(got.Problem, TDirProblem::WrongOwner);
    EXPECT_EQ(got.Refused, root + QStringLiteral("/velmora-%1").arg(other));
}

TEST_F(RuntimeDirOnDisk, AMissingFallbackIsMadePrivateWhateverTheUmask) {
    const mode_t old = umask(0277);
    const TRuntimeDir got = ResolveRuntimeDir(QString(), getuid(), root);
    umask(old);
    EXPECT_EQ(got.Path, Fallback());
    EXPECT_EQ(ReadDirFacts(Fallback()).Mode, mode_t(0700));
    // A folder that cannot be made at all is refused too.
    const TRuntimeDir none = ResolveRuntimeDir(QString(), getuid(), root + "/no/such/place");
    EXPECT_TRUE(none.Path.isEmpty());
    EXPECT_EQ(none.Problem, TDirProblem::CannotCreate);
}
