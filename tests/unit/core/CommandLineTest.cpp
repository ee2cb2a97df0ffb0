#include "core/CommandLine.h"

#include <gtest/gtest.h>

using namespace velmora;
using A = TStartAction;

TEST(CommandLine, ReadsTheProgramsOwnOptions) {
    struct Case {
        QStringList args;
        TStartAction action;
    };
    const std::vector<Case> cases = {
        {{}, A::Run},
        {{"--version"}, A::ShowVersion},
        {{"--help"}, A::ShowHelp},
        {{"-h"}, A::ShowHelp},
        // The first answer wins, and what follows it is not read.
        {{"--version", "--help"}, A::ShowVersion},
        {{"--help", "--no-such"}, A::ShowHelp},
        // The toolkit's options go on to it, with their values.
        {{"-display", ":3", "-style", "Fusion"}, A::Run},
        {{"--platform", "offscreen", "-reverse"}, A::Run},
        {{"-session", "10d3f0a-1", "--version"}, A::ShowVersion},
        // A value that looks like an option is still the value.
        {{"-qwindowtitle", "--help"}, A::Run},
    };
    for (const Case& c : cases) {
        const TCommandLine line = ParseCommandLine(c.args);
        EXPECT_EQ(line.Action, c.action) << c.args.join(' ').toStdString();
        EXPECT_TRUE(line.Error.isEmpty()) << c.args.join(' ').toStdString();
    }
}

TEST(CommandLine, RefusesWhatItDoesNotKnowAndNamesIt) {
    struct Case {
        QStringList args;
        QString error;
    };
    const std::vector<Case> cases = {
        {{"--verbose"}, "unknown option '--verbose'"},
        {{"-v"}, "unknown option '-v'"},
        {{"--version=2"}, "unknown option '--version=2'"},
        {{"--"}, "unknown option '--'"},
        {{"-"}, "unexpected argument '-'"},
        {{"clock.ini"}, "unexpected argument 'clock.ini'"},
        {{""}, "unexpected argument ''"},
        {{"-display"}, "option '-display' needs a value"},
        {{"-style", "Fusion", "--bogus", "--help"}, "unknown option '--bogus'"},
    };
    for (const Case& c : cases) {
        const TCommandLine line = ParseCommandLine(c.args);
        EXPECT_EQ(line.Action, A::Refuse) << c.args.join(' ').toStdString();
        EXPECT_EQ(line.Error, c.error);
    }
    EXPECT_EQ(kUsageExitCode, 2);
}

TEST(CommandLine, VersionAndUsageTexts) {
    EXPECT_EQ(VersionText("velmora", "1.2.3"), "velmora 1.2.3\n");
    const QString usage = UsageText("velmora", "/home/u/.config/velmora/velmora.ini",
                                    "/home/u/.local/share/velmora/Lang/");
    EXPECT_TRUE(usage.startsWith("Usage: velmora "));
    EXPECT_TRUE(usage.contains("--help"));
    EXPECT_TRUE(usage.contains("--version"));
    EXPECT_TRUE(usage.contains("/home/u/.config/velmora/velmora.ini"));
    EXPECT_TRUE(usage.contains("/home/u/.local/share/velmora/Lang/"));
    EXPECT_TRUE(usage.endsWith('\n'));
    // Without a home folder the user's files have no place, and the usage says so.
    EXPECT_EQ(UsageText("velmora", "", "").count("(none: no home folder is known)"), 2);
    EXPECT_EQ(UsageHint("velmora"), "Try 'velmora --help' for more information.\n");
}
