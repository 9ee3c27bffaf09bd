// The relaunch command: the bundle path quoted so that the shell hands it on as it is, one
// argument, and runs nothing in it; and the simulator's recognition of such a command.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "permission/RelaunchCommand.h"
#include "platform/sim/SimProcess.h"
#include "platform/sim/SimRunLoop.h"
#include "platform/sim/SimTrace.h"

namespace vantor {
namespace {

using Strings = std::vector<std::string>;

// Paths that would split, expand or run something if the quoting let them.
Strings awkwardPaths(const std::string& markerDir) {
    return {
        "/Applications/Vantor.app",
        "/Applications/Vantor Beta/Vantor Tool.app",
        R"x(/tmp/say "hi".app)x",
        "/tmp/$(touch " + markerDir + "/m1).app",
        "/tmp/`touch " + markerDir + "/m2`.app",
        R"x(/tmp/\$(touch )x" + markerDir + "/m3).app",
        R"x(/tmp/"$(touch )x" + markerDir + R"x(/m4)".app)x",
        R"x(/tmp/back\slash\\ and \n and trailing\)x",
        "/tmp/it's O'Brien's.app",
        "/tmp/two\nlines.app\n",
        "/tmp/$HOME ${PATH} $1 $@ $$ $? !!.app",
        "/tmp/semi; touch " + markerDir + "/m5 | & > " + markerDir + "/m6 * ~ #.app",
    };
}

TEST(RelaunchCommand, OpensAnOrdinaryPathBetweenDoubleQuotes) {
    EXPECT_EQ(relaunchCommand("/Applications/Vantor.app"), R"x(open "/Applications/Vantor.app")x");
    EXPECT_EQ(shellQuoted(R"x(a\b"c$d`e'f)x"), R"x("a\\b\"c\$d\`e'f")x");
    EXPECT_EQ(shellQuoted(""), R"x("")x");
}

TEST(RelaunchCommand, TheSimulatorReadsItBackAsOpenAndExactlyThePath) {
    for (const std::string& path : awkwardPaths("/tmp/markers")) {
        EXPECT_EQ(sim::plainShellWords(relaunchCommand(path)), (Strings{"open", path})) << path;
    }
    // What the shell would split, expand or run is not a plain command.
    EXPECT_EQ(sim::plainShellWords("open /Applications/My Apps/Vantor.app"),
              (Strings{"open", "/Applications/My", "Apps/Vantor.app"}));
    EXPECT_EQ(sim::plainShellWords(R"x(open 'a b'\ c "d\e")x"),
              (Strings{"open", "a b c", R"x(d\e)x"}));
    for (const char* command : {R"x(open "$(id)")x", "open `id`", "open $HOME", "open a; id",
                                "open a | id", "open a > b", "open *.app", "open ~/a", "open a\nid",
                                R"x(open "unclosed)x", "open 'unclosed", "open a\\"}) {
        EXPECT_EQ(sim::plainShellWords(command), std::nullopt) << command;
    }

    sim::RefLedger ledger;
    sim::SimRunLoop clock(ledger);
    sim::SimTrace trace(clock);
    sim::SimProcess process(trace);
    process.setBundlePath("/Applications/Vantor Beta.app");
    process.launchTask("/bin/sh", {"-c", "open /Applications/Vantor Beta.app"});
    process.launchTask("/bin/bash", {"-c", relaunchCommand("/Applications/Vantor Beta.app")});
    EXPECT_FALSE(process.relaunched());
    process.launchTask("/bin/sh", {"-c", relaunchCommand("/Applications/Vantor Beta.app")});
    EXPECT_TRUE(process.relaunched());
}

// The one test that starts a process: each command goes through a real `/bin/sh -c`, with
// `printf '%s'` standing in for `open`.
TEST(RelaunchCommand, ARealShellPassesThePathOnByteForByteAndRunsNothingInIt) {
    std::string dirTemplate =
        (std::filesystem::temp_directory_path() / "vantor-relaunch-XXXXXX").string();
    ASSERT_NE(mkdtemp(dirTemplate.data()), nullptr);
    const std::filesystem::path markerDir = dirTemplate;

    for (const std::string& path : awkwardPaths(markerDir.string())) {
        const std::string command = relaunchCommand(path);
        ASSERT_EQ(command, "open " + shellQuoted(path));
        const std::string printing = "printf '%s' " + shellQuoted(path);
        FILE* shell = popen(printing.c_str(), "r");  // /bin/sh -c printing
        ASSERT_NE(shell, nullptr);
        std::string output;
        char buffer[256];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, shell)) > 0)
            output.append(buffer, n);
        EXPECT_EQ(pclose(shell), 0) << path;
        EXPECT_EQ(output, path);
    }
    EXPECT_TRUE(std::filesystem::is_empty(markerDir)) << "a command in a path ran";
    std::filesystem::remove_all(markerDir);
}

}  // namespace
}  // namespace vantor
