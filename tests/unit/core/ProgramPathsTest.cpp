#include "core/ProgramPaths.h"

#include <QMap>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

TEnvLookup Env(QMap<QString, QString> vars) {
    return [vars = std::move(vars)](const char* name) {
        return vars.value(QString::fromLatin1(name));
    };
}

} // namespace

TEST(ProgramPaths, PortableKeepsEverythingBesideTheProgram) {
    // The XDG variables are there and still ignored: a portable folder is self-contained.
    const TProgramPaths p = ProgramPathsFor(
        TBuildKind::Portable, "/opt/Velmora/velmora",
        Env({{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "/x/c"}, {"XDG_DATA_HOME", "/x/d"}}));
    EXPECT_EQ(p.ProgramFile, "/opt/Velmora/velmora");
    EXPECT_EQ(p.IniFileName, "/opt/Velmora/velmora.ini");
    EXPECT_EQ(p.DataDir, "/opt/Velmora");
    EXPECT_EQ(p.HelpFile, "/opt/Velmora/Help/index.html");
    EXPECT_EQ(p.SyncTool, "/opt/Velmora/Sync/VelmoSync");
    EXPECT_EQ(p.ShippedLangDir, ""); // its Lang/ holds the shipped files already
}

TEST(ProgramPaths, PortableCopyUnderAnotherNameHasItsOwnSettings) {
    const TProgramPaths p = ProgramPathsFor(TBuildKind::Portable, "/a/b/clock2", Env({}));
    EXPECT_EQ(p.IniFileName, "/a/b/clock2.ini");
    EXPECT_EQ(p.SyncTool, "/a/b/Sync/VelmoSync");
}

TEST(ProgramPaths, PackagedFindsItsFilesInThePackageFolders) {
    const TProgramPaths p =
        ProgramPathsFor(TBuildKind::Packaged, "/usr/bin/velmora", Env({{"HOME", "/home/u"}}));
    EXPECT_EQ(p.ProgramFile, "/usr/bin/velmora");
    EXPECT_EQ(p.HelpFile, "/usr/share/velmora/Help/index.html");
    EXPECT_EQ(p.SyncTool, "/usr/libexec/velmora/VelmoSync");
    EXPECT_EQ(p.ShippedLangDir, "/usr/share/velmora/Lang");
    // Another prefix keeps the same layout below it.
    const TProgramPaths local =
        ProgramPathsFor(TBuildKind::Packaged, "/usr/local/bin/velmora", Env({{"HOME", "/home/u"}}));
    EXPECT_EQ(local.SyncTool, "/usr/local/libexec/velmora/VelmoSync");
}

TEST(ProgramPaths, PackagedKeepsTheUserFilesInTheXdgFolders) {
    struct Case {
        const char* what;
        QMap<QString, QString> env;
        QString ini;
        QString data;
    };
    const std::vector<Case> cases = {
        {"unset: the defaults under HOME",
         {{"HOME", "/home/u"}},
         "/home/u/.config/velmora/velmora.ini",
         "/home/u/.local/share/velmora"},
        {"set",
         {{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "/cfg"}, {"XDG_DATA_HOME", "/data/"}},
         "/cfg/velmora/velmora.ini",
         "/data/velmora"},
        {"empty counts as unset",
         {{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", ""}, {"XDG_DATA_HOME", ""}},
         "/home/u/.config/velmora/velmora.ini",
         "/home/u/.local/share/velmora"},
        {"relative values are ignored",
         {{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "cfg"}, {"XDG_DATA_HOME", "./data"}},
         "/home/u/.config/velmora/velmora.ini",
         "/home/u/.local/share/velmora"},
        {"one set, the other unset",
         {{"HOME", "/home/u/"}, {"XDG_DATA_HOME", "/d"}},
         "/home/u/.config/velmora/velmora.ini",
         "/d/velmora"},
        {"no usable home: no place for the user's files", {{"HOME", "relative"}}, "", ""},
        {"no home but absolute XDG folders",
         {{"XDG_CONFIG_HOME", "/c"}, {"XDG_DATA_HOME", "/d"}},
         "/c/velmora/velmora.ini",
         "/d/velmora"},
    };
    for (const Case& c : cases) {
        const TProgramPaths p =
            ProgramPathsFor(TBuildKind::Packaged, "/usr/bin/velmora", Env(c.env));
        EXPECT_EQ(p.IniFileName, c.ini) << c.what;
        EXPECT_EQ(p.DataDir, c.data) << c.what;
    }
}

TEST(ProgramPaths, PortablePathsBesideAGivenSettingsFile) {
    const TProgramPaths p = PortablePathsBeside("/t/x/settings.ini", "velmora");
    EXPECT_EQ(p.IniFileName, "/t/x/settings.ini");
    EXPECT_EQ(p.ProgramFile, "/t/x/velmora");
    EXPECT_EQ(p.DataDir, "/t/x");
    EXPECT_EQ(p.HelpFile, "/t/x/Help/index.html");
}
