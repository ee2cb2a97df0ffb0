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

TEST(ProgramPaths, StoredPathsInsideTheFolderAreRelative) {
    struct Case {
        QString path, ownFolder, stored;
    };
    const std::vector<Case> cases = {
        {"/opt/V/Lang/VlmEnglish.lang", "/opt/V", "Lang/VlmEnglish.lang"},
        {"/opt/V/Sync/VelmoSync", "/opt/V/", "Sync/VelmoSync"},
        {"/opt/V/./Sync//VelmoSync", "/opt/V", "Sync/VelmoSync"},
        {"/opt/V/alarm.wav", "/opt/V", "alarm.wav"},
        // Outside the folder, or in a folder whose name only begins the same way.
        {"/usr/bin/xterm", "/opt/V", "/usr/bin/xterm"},
        {"/opt/V2/Sync/VelmoSync", "/opt/V", "/opt/V2/Sync/VelmoSync"},
        {"/opt/V", "/opt/V", "/opt/V"},
        // Already relative, empty, or the packaged install (no own folder).
        {"Lang/VlmDeutsch.lang", "/opt/V", "Lang/VlmDeutsch.lang"},
        {"", "/opt/V", ""},
        {"/usr/libexec/velmora/VelmoSync", "", "/usr/libexec/velmora/VelmoSync"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StoredPathFor(c.path, c.ownFolder), c.stored) << c.path.toStdString();
}

TEST(ProgramPaths, StoredPathsFollowTheFolderWhereverItMoved) {
    // The folder moved from /old/place to /new/V; /home/u keeps its own files.
    const QStringList present = {"/new/V/Lang/VlmEnglish.lang", "/new/V/Sync/VelmoSync",
                                 "/home/u/alarm.wav", "/home/u/Sync/tool"};
    const TFileExists exists = [&present](const QString& p) { return present.contains(p); };
    struct Case {
        QString stored, ownFolder, now;
    };
    const std::vector<Case> cases = {
        {"Lang/VlmEnglish.lang", "/new/V", "/new/V/Lang/VlmEnglish.lang"},
        {"Sync/VelmoSync", "/new/V/", "/new/V/Sync/VelmoSync"},
        {"tool.sh", "/new/V", "/new/V/tool.sh"},
        // An absolute path of the old place, which is gone, lands in the new one.
        {"/old/place/Lang/VlmEnglish.lang", "/new/V", "/new/V/Lang/VlmEnglish.lang"},
        {"/old/place/Sync/VelmoSync", "/new/V", "/new/V/Sync/VelmoSync"},
        {"/m/Lang/x/Sync/VelmoSync", "/new/V", "/new/V/Sync/VelmoSync"},
        // Present files stay, even in a folder named like one of ours.
        {"/home/u/Sync/tool", "/new/V", "/home/u/Sync/tool"},
        {"/home/u/alarm.wav", "/new/V", "/home/u/alarm.wav"},
        // Missing everywhere, or not in one of our sub-folders: as stored.
        {"/old/place/Lang/Gone.lang", "/new/V", "/old/place/Lang/Gone.lang"},
        {"/old/place/alarm.wav", "/new/V", "/old/place/alarm.wav"},
        {"/Sync", "/new/V", "/Sync"},
        {"", "/new/V", ""},
        // The packaged install keeps every path.
        {"/old/place/Sync/VelmoSync", "", "/old/place/Sync/VelmoSync"},
        {"Sync/VelmoSync", "", "Sync/VelmoSync"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveStoredPath(c.stored, c.ownFolder, exists), c.now)
            << c.stored.toStdString();
}

TEST(ProgramPaths, OnlyThePortableFolderIsItsOwnBase) {
    EXPECT_EQ(ProgramPathsFor(TBuildKind::Portable, "/opt/V/velmora", Env({})).OwnFolder, "/opt/V");
    EXPECT_EQ(
        ProgramPathsFor(TBuildKind::Packaged, "/usr/bin/velmora", Env({{"HOME", "/h"}})).OwnFolder,
        "");
}
