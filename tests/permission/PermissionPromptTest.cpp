// The Accessibility permission check at launch, run through the whole agent on the simulated
// desktop: the prompt's modal loop, its polling, its buttons, the relaunch and the termination.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/Agent.h"
#include "permission/RelaunchCommand.h"
#include "platform/sim/SimDesktop.h"

namespace vantor {
namespace {

using platform::RunLoopMode;
using sim::SimDesktop;
using Strings = std::vector<std::string>;

constexpr const char* kPass = "AXAlertController: PASS";

class PermissionPromptTest : public ::testing::Test {
protected:
    PermissionPromptTest() {
        for (const char* name : {"Safari", "Mail"})
            desktop.addApplication(name);
    }

    // The application starts with the permission held or not.
    void launch(bool trusted) {
        desktop.setTrusted(trusted);
        start();
    }
    void start() {
        agent = std::make_unique<Agent>(desktop.platform());
        desktop.launch([this] { agent->applicationDidFinishLaunching(); });
    }

    AppDelegate& delegate() { return agent->appDelegate(); }
    sim::SimWindow* alert() const { return desktop.agentWindow("AXAlert"); }
    bool promptUp() const { return desktop.windowOpen("AXAlert"); }
    std::size_t logCount(const std::string& text) { return desktop.log().count(text); }

    // Where the first trace line containing `text` is; the trace's length when none does.
    std::size_t traceIndex(const std::string& text) const {
        const auto& lines = desktop.trace();
        return static_cast<std::size_t>(
            std::find_if(lines.begin(), lines.end(),
                         [&](const std::string& l) { return l.find(text) != std::string::npos; }) -
            lines.begin());
    }

    // None of the startup after the permission check ran: no event tap, no overlay in front.
    void expectLaterStartupSkipped() {
        EXPECT_FALSE(delegate().tap());
        EXPECT_FALSE(desktop.ui().overlay()->isVisible());
        EXPECT_FALSE(delegate().isAXPassed());
    }

    void expectRelaunchedAndTerminated(const std::string& bundlePath) {
        ASSERT_EQ(desktop.process().tasks().size(), 1u);
        const auto& task = desktop.process().tasks()[0];
        EXPECT_EQ(task.path, "/bin/sh");
        EXPECT_EQ(task.arguments,
                  (Strings{"-c", relaunchCommand(desktop.process().processIdentifier(), bundlePath)}));
        EXPECT_TRUE(desktop.process().relaunched());
        EXPECT_TRUE(desktop.process().terminated());
    }

    SimDesktop desktop;
    std::unique_ptr<Agent> agent;
};

TEST_F(PermissionPromptTest, WithThePermissionAtLaunchNothingIsShownAndTheStartupGoesOn) {
    launch(true);
    EXPECT_TRUE(delegate().isAXPassed());
    EXPECT_EQ(alert(), nullptr);
    EXPECT_EQ(logCount("AXAlert"), 0u);
    EXPECT_EQ(desktop.accessibility().permissionRequests(), 0);
    // The steps after the check ran: the tap exists and reset put the overlay in front.
    EXPECT_EQ(desktop.process().activities().size(), 1u);
    EXPECT_TRUE(delegate().tap());
    EXPECT_TRUE(desktop.ui().overlay()->isVisible());
    EXPECT_TRUE(desktop.process().tasks().empty());
    EXPECT_FALSE(desktop.process().terminated());
    EXPECT_EQ(desktop.runLoop().currentMode(), RunLoopMode::Default);
    EXPECT_TRUE(delegate().applicationShouldHandleReopen(false));
}

TEST_F(PermissionPromptTest, WithoutItThePromptRunsModallyAndTheRestOfTheStartupWaits) {
    launch(false);
    ASSERT_TRUE(promptUp());
    EXPECT_EQ(desktop.ui().modalWindow(), alert());
    EXPECT_EQ(desktop.ui().keyWindow(), alert());
    EXPECT_EQ(desktop.runLoop().currentMode(), RunLoopMode::ModalPanel);
    EXPECT_EQ(desktop.process().activities().size(), 1u);
    expectLaterStartupSkipped();

    // Styled by AXAlert's awakeFromNib.
    EXPECT_TRUE(alert()->titlebarAppearsTransparent());
    EXPECT_EQ(alert()->titleVisibility(), platform::kWindowTitleHidden);
    EXPECT_EQ(alert()->level(), desktop.ui().windowLevelForKey(4));
    EXPECT_EQ(alert()->simContentView().visualEffectState(), platform::VisualEffectState::Active);
    EXPECT_EQ(alert()->simContentView().material(), platform::VisualEffectMaterial::Light);

    // While the modal loop runs, a main-queue block runs but a default-mode-only message waits.
    bool blockRan = false;
    bool defaultOnlyRan = false;
    desktop.platform().runLoop.dispatchAfter(0.1, [&] { blockRan = true; });
    desktop.platform().runLoop.performAfterDelay(0.1, [&] { defaultOnlyRan = true; },
                                                 {RunLoopMode::Default});
    desktop.runFor(1);
    EXPECT_TRUE(blockRan);
    EXPECT_FALSE(defaultOnlyRan);

    // Never granted: the prompt stays and one poll at a time keeps going.
    const std::size_t pending = desktop.runLoop().pendingTasks();
    desktop.runFor(30);
    EXPECT_TRUE(promptUp());
    EXPECT_EQ(desktop.runLoop().pendingTasks(), pending);
    EXPECT_EQ(logCount(kPass), 0u);
    EXPECT_TRUE(desktop.process().tasks().empty());
    EXPECT_FALSE(desktop.process().terminated());
    // The desktop unwinds the waiting modal loop when the test ends.
}

TEST_F(PermissionPromptTest, GrantedWhileUpTheNextPollPassesThenTheAppRelaunchesAndEnds) {
    launch(false);
    desktop.runFor(0.1);  // the first poll, due at once, found no permission
    desktop.setTrusted(true);

    // The next poll is due 0.3 s after the first (each 1 µs after its deadline).
    desktop.runUntil(0.300001);
    EXPECT_EQ(logCount(kPass), 0u);
    EXPECT_TRUE(promptUp());
    desktop.runUntil(0.300002);
    EXPECT_EQ(logCount(kPass), 1u);
    EXPECT_EQ(desktop.log().lines().back(), kPass);
    EXPECT_FALSE(promptUp());
    EXPECT_EQ(desktop.ui().modalWindow(), nullptr);
    ASSERT_NO_FATAL_FAILURE(expectRelaunchedAndTerminated("/Applications/Vantor.app"));
    EXPECT_TRUE(desktop.process().tasks()[0].arguments[1].ends_with(
        R"(; done; open "/Applications/Vantor.app")"));
    expectLaterStartupSkipped();

    // In this order: the log line, the window closing, the shell, the termination.
    const std::size_t pass = traceIndex(kPass);
    const std::size_t closes = traceIndex("window AXAlert closes");
    const std::size_t task = traceIndex("task /bin/sh");
    const std::size_t end = traceIndex("terminate");
    EXPECT_LT(pass, closes);
    EXPECT_LT(closes, task);
    EXPECT_LT(task, end);
    EXPECT_LT(end, desktop.trace().size());

    // Nothing of the agent runs any more, and it can still be taken down.
    const std::size_t traceLength = desktop.trace().size();
    const std::size_t logLength = desktop.log().lines().size();
    desktop.runFor(5);
    EXPECT_EQ(desktop.log().lines().size(), logLength);
    EXPECT_EQ(desktop.process().tasks().size(), 1u);
    EXPECT_EQ(desktop.trace().size(), traceLength);
    agent.reset();
    desktop.runFor(1);
}

TEST_F(PermissionPromptTest, APermissionArrivingBetweenTheTwoChecksShowsNothingButRelaunches) {
    // A bundle path the shell would otherwise split and expand.
    const std::string path = R"(/Applications/My "Tools"/Vantor $HOME `id`.app)";
    desktop.process().setBundlePath(path);
    desktop.setTrusted(false);
    desktop.accessibility().grantAfterChecks(1);  // after checkAx's own test
    start();
    EXPECT_EQ(alert(), nullptr);
    EXPECT_EQ(logCount(kPass), 0u);
    expectRelaunchedAndTerminated(path);
    expectLaterStartupSkipped();
}

TEST_F(PermissionPromptTest, QuitFromThePromptEndsTheProcessWithoutRelaunching) {
    launch(false);
    desktop.runFor(0.5);
    ASSERT_TRUE(desktop.click("AXAlert", "quit:"));
    EXPECT_TRUE(desktop.process().terminated());
    EXPECT_TRUE(desktop.process().tasks().empty());
    EXPECT_FALSE(desktop.process().relaunched());
    EXPECT_FALSE(promptUp());
    EXPECT_EQ(desktop.ui().modalWindow(), nullptr);
    EXPECT_EQ(desktop.runLoop().currentMode(), RunLoopMode::Default);
    expectLaterStartupSkipped();

    // The poll that was pending never runs: a later grant changes nothing.
    desktop.setTrusted(true);
    desktop.runFor(1);
    EXPECT_EQ(logCount(kPass), 0u);
    EXPECT_TRUE(desktop.process().tasks().empty());
    EXPECT_FALSE(desktop.click("AXAlert", "allow:"));
    agent.reset();
}

TEST_F(PermissionPromptTest, AllowAsksEveryTimeAndOnlyThePollingEndsThePrompt) {
    launch(false);
    for (int press = 0; press < 3; ++press) {
        ASSERT_TRUE(desktop.click("AXAlert", "allow:"));
        desktop.runFor(0.2);
    }
    EXPECT_EQ(desktop.accessibility().permissionRequests(), 3);
    EXPECT_TRUE(promptUp());
    EXPECT_FALSE(desktop.process().terminated());

    desktop.setTrusted(true);
    desktop.runFor(0.3);
    EXPECT_EQ(logCount(kPass), 1u);
    expectRelaunchedAndTerminated("/Applications/Vantor.app");
}

TEST_F(PermissionPromptTest, AReopenWhileThePromptIsUpOpensNothing) {
    launch(false);
    const std::size_t windows = desktop.ui().windows().size();
    bool reply = false;
    desktop.runOnMainThread([&] { reply = delegate().applicationShouldHandleReopen(false); });
    EXPECT_TRUE(reply);
    EXPECT_EQ(desktop.ui().windows().size(), windows);
    EXPECT_EQ(desktop.agentWindow("PrefWindow"), nullptr);
    EXPECT_TRUE(promptUp());
}

}  // namespace
}  // namespace vantor
