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
        EXPECT_EQ(
            task.arguments,
            (Strings{"-c", relaunchCommand(desktop.process().processIdentifier(), bundlePath)}));
        EXPECT_TRUE(desktop.process().relaunched());
        EXPECT_TRUE(desktop.process().terminated());
    }

    SimDesktop desktop;
    std::unique_ptr<Agent> agent;
};

// That the prompt waits with no event tap, notices a grant within 0.3 s and relaunches, and
// that its Quit ends without a relaunch, are pinned by the scenarios.
TEST_F(PermissionPromptTest, WithThePermissionAtLaunchNothingIsShownOrAsked) {
    launch(true);
    EXPECT_TRUE(delegate().isAXPassed());
    EXPECT_EQ(logCount("AXAlert"), 0u);
    EXPECT_EQ(desktop.accessibility().permissionRequests(), 0);
    EXPECT_TRUE(delegate().tap());
}

TEST_F(PermissionPromptTest, WithoutItThePromptRunsModallyAndPollsOneAtATime) {
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

    // Never granted: one poll at a time keeps going.
    desktop.runFor(1);
    const std::size_t pending = desktop.runLoop().pendingTasks();
    desktop.runFor(30);
    EXPECT_TRUE(promptUp());
    EXPECT_EQ(desktop.runLoop().pendingTasks(), pending);
    // The desktop unwinds the waiting modal loop when the test ends.
}

TEST_F(PermissionPromptTest, AGrantLogsClosesRelaunchesAndEndsInThatOrderAndNothingRunsAfter) {
    launch(false);
    desktop.runFor(0.1);
    desktop.setTrusted(true);
    desktop.runFor(0.3);
    EXPECT_EQ(desktop.ui().modalWindow(), nullptr);
    ASSERT_NO_FATAL_FAILURE(expectRelaunchedAndTerminated("/Applications/Vantor.app"));
    expectLaterStartupSkipped();

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
    desktop.runFor(5);
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

TEST_F(PermissionPromptTest, AfterQuitFromThePromptALaterGrantChangesNothing) {
    launch(false);
    desktop.runFor(0.5);
    ASSERT_TRUE(desktop.click("AXAlert", "quit:"));
    EXPECT_EQ(desktop.ui().modalWindow(), nullptr);
    EXPECT_EQ(desktop.runLoop().currentMode(), RunLoopMode::Default);
    expectLaterStartupSkipped();

    // The poll that was pending never runs: a later grant changes nothing.
    desktop.setTrusted(true);
    desktop.runFor(1);
    EXPECT_EQ(logCount(kPass), 0u);
    EXPECT_TRUE(desktop.process().tasks().empty());
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
