// The relaunch command: it waits for the old process to end, and the bundle path is quoted so
// that the shell hands it on as it is, one argument, and runs nothing in it; and the
// simulator's recognition of such a command.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <fmt/format.h>
#include <sys/wait.h>
#include <unistd.h>

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
    EXPECT_TRUE(relaunchCommand(42, "/Applications/Vantor.app")
                    .ends_with(R"x(; done; open "/Applications/Vantor.app")x"));
    EXPECT_EQ(shellQuoted(R"x(a\b"c$d`e'f)x"), R"x("a\\b\"c\$d\`e'f")x");
    EXPECT_EQ(shellQuoted(""), R"x("")x");
}

TEST(RelaunchCommand, TheSimulatorReadsItBackAsOpenAndExactlyThePath) {
    for (const std::string& path : awkwardPaths("/tmp/markers")) {
        const std::string command = relaunchCommand(500, path);
        const std::size_t open = command.find("; done; ") + 8;
        EXPECT_EQ(sim::plainShellWords(command.substr(open)), (Strings{"open", path})) << path;
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
    const std::int32_t agent = process.processIdentifier();
    process.launchTask("/bin/sh", {"-c", "open /Applications/Vantor Beta.app"});
    process.launchTask("/bin/bash", {"-c", relaunchCommand(agent, "/Applications/Vantor Beta.app")});
    // Opening without waiting for the agent's own process to end is no relaunch.
    process.launchTask("/bin/sh", {"-c", R"x(open "/Applications/Vantor Beta.app")x"});
    process.launchTask("/bin/sh", {"-c", relaunchCommand(agent + 1, "/Applications/Vantor Beta.app")});
    EXPECT_FALSE(process.relaunched());
    process.launchTask("/bin/sh", {"-c", relaunchCommand(agent, "/Applications/Vantor Beta.app")});
    EXPECT_TRUE(process.relaunched());
}

// What `/bin/sh -c COMMAND` prints, with a shell function standing in for `open`.
std::string runInShell(const std::string& openFunction, const std::string& command) {
    FILE* shell = popen((openFunction + "\n" + command).c_str(), "r");
    if (!shell) return "<popen failed>";
    std::string output;
    char buffer[256];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, shell)) > 0) output.append(buffer, n);
    if (pclose(shell) != 0) output += "<shell failed>";
    return output;
}

// The one test that starts processes: each command goes through a real `/bin/sh -c`, with a
// function that prints its argument standing in for `open`; and the old process, a child that
// lives for 0.3 s, has ended by the time `open` runs.
TEST(RelaunchCommand, ARealShellWaitsForTheOldProcessThenPassesThePathOnAndRunsNothingInIt) {
    std::string dirTemplate =
        (std::filesystem::temp_directory_path() / "vantor-relaunch-XXXXXX").string();
    ASSERT_NE(mkdtemp(dirTemplate.data()), nullptr);
    const std::filesystem::path markerDir = dirTemplate;
    const std::string printArgument = R"x(open() { printf '%s' "$1"; })x";
    const std::int32_t gone = 0x7ffffff0;  // no process has this id

    for (const std::string& path : awkwardPaths(markerDir.string())) {
        EXPECT_EQ(runInShell(printArgument, relaunchCommand(gone, path)), path);
    }
    EXPECT_TRUE(std::filesystem::is_empty(markerDir)) << "a command in a path ran";
    std::filesystem::remove_all(markerDir);

    const pid_t old = fork();
    ASSERT_GE(old, 0);
    if (old == 0) {
        usleep(300'000);
        _exit(0);
    }
    std::thread reaper([old] { waitpid(old, nullptr, 0); });
    const std::string reportOld = fmt::format(
        R"x(open() {{ if kill -0 {} 2>/dev/null; then printf running; else printf '%s' "$1"; fi; }})x",
        old);
    EXPECT_EQ(runInShell(reportOld, relaunchCommand(old, "/Applications/Vantor.app")),
              "/Applications/Vantor.app");
    reaper.join();
}

}  // namespace
}  // namespace vantor
