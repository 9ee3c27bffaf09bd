// The relaunch command: it waits for the old process to end, and the bundle path is quoted so
// that the shell hands it on as it is, one argument, and runs nothing in it.
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "permission/RelaunchCommand.h"

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

// What `/bin/sh -c COMMAND` prints, with a shell function standing in for `open`.
std::string runInShell(const std::string& openFunction, const std::string& command) {
    FILE* shell = popen((openFunction + "\n" + command).c_str(), "r");
    if (!shell) return "<popen failed>";
    std::string output;
    char buffer[256];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, shell)) > 0)
        output.append(buffer, n);
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
