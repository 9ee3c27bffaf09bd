#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tools/Demonstration.h"
#include "tools/ScenarioPlayer.h"

namespace vantor::tools {
namespace {

namespace fs = std::filesystem;

// A fresh, empty folder for one test's files.
fs::path freshFolder(std::string_view name) {
    const fs::path folder = fs::path(::testing::TempDir()) / "vantor-player" / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

std::vector<std::string> fileNames(const std::vector<fs::path>& paths) {
    std::vector<std::string> names;
    for (const fs::path& path : paths)
        names.push_back(path.filename().string());
    return names;
}

// Four applications, the switcher open with Command held.
constexpr std::string_view kSwitcherOpen =
    "app Safari\napp Mail\napp Terminal\napp Music\nlaunch\n"
    "down LeftCommand\ntap Tab\nwait 0.1\n";

// A script that cannot be read, or a command that cannot be carried out, exits with 2 and
// names the line; a script that cannot be read is not played at all.
TEST(ScenarioPlayer, ScriptsThatCannotBePlayedExitWith2) {
    const struct {
        std::string_view script;
        std::string_view message;
    } cases[] = {
        {"app Safari\nlaunch\n\ntap Tabb\nwait 'x\n",
         "script:4: \"Tabb\" is not a KEY name\nscript:5: a single quote is not closed\n"},
        {"app Safari\nlaunch\nquit Mail\n",
         "script:3: quit Mail: no running application \"Mail\"\n"},
        {"launch\nclick PrefWindow chooseTriggerKey: 42\nclick AXAlert quit:\n",
         "script:2: click PrefWindow chooseTriggerKey: 42: PrefWindow has no control for "
         "chooseTriggerKey: 42\n"},
        {"reopen\n", "script:1: reopen: the agent has not launched\n"},
        {"screen 800 600 at 10 0\n",
         "script:1: screen 800 600 at 10 0: the first screen is the primary one: its top-left "
         "corner is at 0 0\n"},
        {"screen 800 600\nscreen 800 600 at -799 599\n",
         "script:2: screen 800 600 at -799 599: the screen overlaps screen 1\n"},
        {"screen 800 600\nswitcher-screen 2\nscreen 800 600 at 800 0\n",
         "script:2: switcher-screen 2: there is no screen 2 (yet): 1 so far\n"},
    };
    for (const auto& c : cases) {
        ScenarioPlayer player;
        const PlayResult result = player.play(std::string(c.script));
        EXPECT_EQ(result.exitCode, 2) << c.script;
        EXPECT_EQ(result.message, c.message);
    }
    ScenarioPlayer player;
    player.play(std::string(cases[0].script));
    EXPECT_TRUE(player.desktop().applicationOrder().empty());
    EXPECT_EQ(player.agent(), nullptr);
}

// A failed expectation exits with 1, names its line and says what was seen instead.
TEST(ScenarioPlayer, FailedExpectationsSayWhatWasSeen) {
    const struct {
        std::string_view script;
        std::string_view message;
    } cases[] = {
        {"app Safari\napp Mail\nlaunch\nexpect front Mail   # Safari is first\nquit Safari\n",
         "script:4: expect front Mail\n    seen: front is Safari\n"},
        {"app Safari\nsetting 'Current Version' 1.0\nlaunch\ntap A\n"
         "expect inbox Safari 'key-down A'\n",
         "script:5: expect inbox Safari 'key-down A'\n"
         "    seen: Safari received \"key-down A\", \"key-up A\"\n"},
        {"setting X 7\nlaunch\nexpect setting X absent\n", "seen: X is 7"},
        {"launch\nexpect setting Y 0\n", "seen: Y is absent"},
        {"app Safari\nlaunch\ndown LeftCommand\ntap Tab\nwait 0.1\nup LeftCommand\nwait 0.1\n"
         "expect hint Safari S\n",
         "seen: the overlay is hidden"},
    };
    for (const auto& c : cases) {
        ScenarioPlayer player;
        const PlayResult result = player.play(std::string(c.script));
        EXPECT_EQ(result.exitCode, 1) << c.script;
        EXPECT_NE(result.message.find(c.message), std::string::npos) << result.message;
    }
}

TEST(ScenarioPlayer, HintHoldsOnlyForTheWholeLabelInsideTheIcon) {
    const auto play = [](std::string_view expectation) {
        ScenarioPlayer player;
        return player.play(std::string(kSwitcherOpen) + std::string(expectation) + "\n");
    };
    // Mail and Music share M: the first in the list is dealt MM. The character alone, the count
    // missing or extra, another icon's label: all fail.
    const PlayResult single = play("expect hint Mail M");
    EXPECT_EQ(single.exitCode, 1);
    EXPECT_NE(
        single.message.find("seen: Mail's icon shows \"M\", \"×2\"; the last draw: S M×2 T M"),
        std::string::npos)
        << single.message;
    EXPECT_EQ(play("expect hint Music MM").exitCode, 1);
    EXPECT_EQ(play("expect hint Terminal S").exitCode, 1);
    EXPECT_EQ(play("expect hint Mail MMM").exitCode, 1);
}

TEST(ScenarioPlayer, TraceShowsScriptLinesAndDrawsAsTheyHappen) {
    std::ostringstream trace;
    PlayerOptions options;
    options.trace = &trace;
    ScenarioPlayer player(options);
    ASSERT_EQ(player.play(kSwitcherOpen).exitCode, 0);
    const std::string text = trace.str();
    EXPECT_NE(text.find("  0.000000 > launch\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  0.000000 > tap Tab\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" overlay shows\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" overlay draws S M×2 T M\n"), std::string::npos) << text;
}

TEST(ScenarioPlayer, ShotsAreSavedAtEveryOverlayChangeEvenWithinOneWait) {
    PlayerOptions options;
    options.shotsDir = freshFolder("shots");
    ScenarioPlayer player(options);
    // Tab held: the switcher opens within the wait and its shot is saved there; the repeats
    // then move the highlight, which nothing drawn depends on, so nothing is drawn again.
    const PlayResult result = player.play(
        "app Safari\napp Mail\napp Music\nlaunch\ndown LeftCommand\ndown Tab\nwait 0.5\n"
        "expect highlight Safari\nup Tab\nup LeftCommand\nwait 0.1\nexpect front Safari\n");
    ASSERT_EQ(result.exitCode, 0) << result.message;
    EXPECT_EQ(fileNames(player.savedShots()),
              (std::vector<std::string>{"001-overlay-shows.png", "002-overlay-hides.png"}));
    for (const fs::path& path : player.savedShots())
        EXPECT_GT(fs::file_size(path), 0u) << path;
}

TEST(ScenarioPlayer, ShotWritesARelativeFileIntoTheOutputFolder) {
    PlayerOptions options;
    options.outputDir = freshFolder("output");
    ScenarioPlayer player(options);
    ASSERT_EQ(player.play("app Safari\nlaunch\nshot screens/desktop.png\n").exitCode, 0);
    EXPECT_TRUE(fs::is_regular_file(options.outputDir / "screens" / "desktop.png"));
}

TEST(ScenarioPlayer, InputAfterTheEndIsIgnoredAndAPromptStillOpenIsUnwound) {
    std::ostringstream trace;
    PlayerOptions options;
    options.trace = &trace;
    ScenarioPlayer player(options);
    const PlayResult result = player.play(
        "app Safari\ntrusted no\nlaunch\nwait 1\nclick AXAlert quit:\nexpect terminated yes\n"
        "tap A\nwait 1\nexpect inbox Safari\n");
    EXPECT_EQ(result.exitCode, 0) << result.message << trace.str();
    EXPECT_NE(trace.str().find("ignored: the agent has terminated"), std::string::npos);

    // The player's destruction unwinds the waiting modal loop before the agent goes.
    ScenarioPlayer waiting;
    ASSERT_EQ(waiting.play("trusted no\nlaunch\nwait 2\nexpect window AXAlert open\n").exitCode, 0);
}

TEST(ScenarioPlayer, WithoutAnUpdateLineTheAgentAsksARefusingLoopbackPort) {
    ScenarioPlayer player;
    ASSERT_EQ(player
                  .play("setting 'Current Version' 1.0\nlaunch\nwait 11\n"
                        "expect window NewVersionWindow closed\n")
                  .exitCode,
              0);
    EXPECT_TRUE(player.updateServerAddress().starts_with("http://127.0.0.1:"));
    ASSERT_EQ(player.desktop().http().requests().size(), 1u);
}

TEST(ScenarioPlayer, AnUpdateServerOffThisMachineIsRefused) {
    PlayerOptions options;
    options.updateServer = "http://example.com";
    ScenarioPlayer player(options);
    const PlayResult result = player.play("launch\n");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(player.agent(), nullptr);
}

TEST(LoopbackAddress, OnlyThisMachineWithAnOptionalPortAndPath) {
    for (const char* address :
         {"http://127.0.0.1", "http://localhost:8080/base", "https://[::1]:443"})
        EXPECT_TRUE(isLoopbackAddress(address)) << address;
    for (const char* address :
         {"http://127.0.0.1.example.com", "http://localhost.example.com:80", "http://127.0.0.1:0",
          "http://127.0.0.1:99999", "http://example.com", "ftp://127.0.0.1", "127.0.0.1:80",
          "http://user@127.0.0.1"})
        EXPECT_FALSE(isLoopbackAddress(address)) << address;
}

TEST(ScenarioPlayer, DemonstrationHolds) {
    PlayerOptions options;
    options.outputDir = freshFolder("demonstration");
    ScenarioPlayer player(options);
    const PlayResult result = player.play(demonstrationScript());
    EXPECT_EQ(result.exitCode, 0) << result.message;
    EXPECT_EQ(fileNames(player.savedShots()),
              (std::vector<std::string>{"0-preferences.png", "1-update.png", "2-hints.png",
                                        "3-tab.png", "4-option-twice.png", "5-first-m.png",
                                        "6-held-w-quit.png", "7-middle-hold.png"}));
}

}  // namespace
}  // namespace vantor::tools
