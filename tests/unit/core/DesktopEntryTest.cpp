#include "core/DesktopEntry.h"

#include "unit/ScopedEnv.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(DesktopEntry, ExecArgumentsAreQuotedAndEscaped) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"/opt/velmora/velmora", "\"/opt/velmora/velmora\""},
        {"/home/a b/velmora", "\"/home/a b/velmora\""},
        {"/x/$HOME`id`\"q\"", "\"/x/\\\\$HOME\\\\`id\\\\`\\\\\"q\\\\\"\""},
        {"/x/100%", "\"/x/100%%\""},
        {"/x/back\\slash", "\"/x/back\\\\\\\\slash\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DesktopExecArgument(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(DesktopEntry, EntryRunsTheProgramInItsFolder) {
    const QString entry = QString::fromUtf8(AutostartEntry("/opt/my clock/velmora"));
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(entry.contains("\nExec=\"/opt/my clock/velmora\"\n"));
    EXPECT_TRUE(entry.contains("\nPath=/opt/my clock\n"));
    EXPECT_TRUE(entry.contains("\nType=Application\n"));
    // A line break in a folder name cannot add lines to the entry.
    const QString odd = QString::fromUtf8(AutostartEntry("/opt/a\nExec=evil/velmora"));
    EXPECT_FALSE(odd.contains("\nExec=evil"));
}

TEST(DesktopEntry, PathFollowsXdgConfigHome) {
    const ScopedEnv configHome("XDG_CONFIG_HOME", "/tmp/cfg");
    EXPECT_EQ(AutostartEntryPath("/opt/v/velmora"), "/tmp/cfg/autostart/velmora.desktop");
    configHome.Set("relative/ignored");
    EXPECT_TRUE(
        AutostartEntryPath("/opt/v/velmora").endsWith("/.config/autostart/velmora.desktop"));
}
