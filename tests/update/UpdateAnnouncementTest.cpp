// The update check and its announcement, end to end: the agent launches on a simulated desktop
// whose bundle names a loopback update server, and every later launch is a new agent on a new
// desktop that shares the settings folder. Each test reads as a scenario: the server's answer,
// the launch, the wait, and what the user sees and the settings hold.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Agent.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimUpdateServer.h"
#include "update/UpdateCheck.h"

namespace vantor {
namespace {

using nlohmann::json;
using sim::SimDesktop;
using sim::SimUpdateServer;

std::string answer(const json& version, const json& whatsNew = "Faster hints.") {
    return json{{"Version", version}, {"WhatsNew", whatsNew}}.dump();
}

// One launch of version 1.0 of the agent: a desktop of its own on the shared settings folder.
struct Launch {
    Launch(const std::string& configDir, const std::string& server) : desktop(configDir) {
        desktop.process().setShortVersion("1.0");
        desktop.process().setUpdateServer(server);
        // Not the first start of this version: no preferences window comes forward.
        desktop.settings().setString("Current Version", "1.0");
        agent = std::make_unique<Agent>(desktop.platform());
        agent->applicationDidFinishLaunching();
    }
    SimDesktop desktop;
    std::unique_ptr<Agent> agent;
};

class UpdateAnnouncement : public testing::Test {
protected:
    UpdateAnnouncement() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantor-update-XXXXXX");
        configDir_ = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~UpdateAnnouncement() override {
        launch_.reset();
        std::error_code ignored;
        if (!configDir_.empty()) std::filesystem::remove_all(configDir_, ignored);
    }

    // Ends the previous launch, if any, and launches again against `serverBase`.
    SimDesktop& launch(const std::string& serverBase) {
        launch_.reset();
        launch_.emplace(configDir_, serverBase);
        logsAtLaunch_ = desktop().logLines().size();
        return desktop();
    }
    // The log lines written after the launch sequence (which logs the Dock's pid).
    std::vector<std::string> logsSinceLaunch() {
        const auto& lines = desktop().logLines();
        return {lines.begin() + static_cast<std::ptrdiff_t>(logsAtLaunch_), lines.end()};
    }
    SimDesktop& launch() { return launch(server.baseAddress()); }
    // Launches, lets the answer arrive and the announcement's delay pass; true when the
    // announcement shows.
    bool launchAndWait() {
        launch();
        desktop().runFor(kAnnouncementDelay + 1);
        return desktop().windowOpen("NewVersionWindow");
    }

    SimDesktop& desktop() { return launch_->desktop; }
    std::unique_ptr<Agent>& agent() { return launch_->agent; }
    AppDelegate& controller() { return launch_->agent->appDelegate(); }
    // A view of the announcement's window.
    sim::SimView* view(const char* identifier) {
        sim::SimWindow* window = desktop().agentWindow("NewVersionWindow");
        if (!window) return nullptr;
        return dynamic_cast<sim::SimView*>(
            platform::findViewWithIdentifier(window->contentView(), identifier));
    }
    std::string text(const char* identifier) {
        const sim::SimView* shown = view(identifier);
        return shown ? shown->stringValue() : "<no view>";
    }
    std::optional<std::string> skipVersion() {
        return desktop().settings().describeValue(kSkipVersionKey);
    }
    long announcements() {
        const auto windows = desktop().ui().windows();
        return std::count_if(windows.begin(), windows.end(), [](const auto* window) {
            return window->name() == "NewVersionWindow";
        });
    }

    SimUpdateServer server{200, answer("2.0")};

private:
    std::string configDir_;
    std::optional<Launch> launch_;
    std::size_t logsAtLaunch_ = 0;
};

// When it opens, and that the running version, a skipped one, the statuses 201, 304 and 500
// and a version that is a number are not announced, is pinned by the scenarios; which answers
// are announced, by UpdateAnswerTest.
TEST_F(UpdateAnnouncement, ANewerVersionIsAnnouncedAsSent) {
    server.setAnswer(200, answer("2.0", "Faster hints.\nFewer <b>surprises</b>."));
    ASSERT_TRUE(launchAndWait());
    SimDesktop& sim = desktop();
    EXPECT_EQ(
        sim.http().requests(),
        std::vector<std::string>{server.baseAddress() + "/projects/latestVersion?product=Vantor"});

    EXPECT_EQ(text("txtVersion"), "1.0 \u2192 2.0");
    EXPECT_EQ(text("txtWhatsNew"), "Faster hints.\nFewer <b>surprises</b>.");
    const sim::SimWindow& window = *sim.agentWindow("NewVersionWindow");
    EXPECT_TRUE(window.titlebarAppearsTransparent());
    EXPECT_EQ(window.titleVisibility(), platform::kWindowTitleHidden);
    EXPECT_FALSE(window.isOpaque());
    EXPECT_EQ(window.level(), sim.ui().windowLevelForKey(5));
    ASSERT_NE(view("txtWhatsNew"), nullptr);
    EXPECT_EQ(view("txtWhatsNew")->textContainerInset(), (platform::Size{12, 12}));
    // The announcement does not bring the agent forward.
    EXPECT_NE(sim.active(), "Vantor");
    EXPECT_EQ(logsSinceLaunch(), std::vector<std::string>{});
    EXPECT_EQ(server.requestCount(), 1);
}

// Skip stores the version as sent, Remind Later stores nothing (the next launch announces
// again), Download opens the product page; each closes and releases the announcement.
TEST_F(UpdateAnnouncement, EachButtonClosesAndReleasesTheAnnouncement) {
    struct Case {
        const char* action;
        std::optional<std::string> skipped;
        std::size_t pagesOpened;
    };
    server.setAnswer(200, answer("2.0-beta"));
    for (const Case& c : {Case{"mindLater:", std::nullopt, 0}, Case{"download:", std::nullopt, 1},
                          Case{"skipThisVersion:", "2.0-beta", 0}}) {
        SCOPED_TRACE(c.action);
        ASSERT_TRUE(launchAndWait());
        ASSERT_TRUE(desktop().click("NewVersionWindow", c.action));
        EXPECT_FALSE(desktop().windowOpen("NewVersionWindow"));
        EXPECT_EQ(controller().newVerCtrl(), nullptr);
        EXPECT_EQ(skipVersion(), c.skipped);
        EXPECT_EQ(desktop().workspace().openedURLs().size(), c.pagesOpened);
        EXPECT_EQ(logsSinceLaunch(), std::vector<std::string>{"NewVersionCtroller.dealloc"});
    }
}

TEST_F(UpdateAnnouncement, OneAnnouncementAtATimeAndClosingReleasesIt) {
    ASSERT_TRUE(launchAndWait());
    controller().handleVersionInfo("3.0", "Other notes");
    EXPECT_EQ(announcements(), 1);
    EXPECT_EQ(text("txtVersion"), "1.0 \u2192 2.0");
    EXPECT_EQ(text("txtWhatsNew"), "Faster hints.");

    // The title bar's close button closes it like the buttons do.
    ASSERT_TRUE(desktop().closeWindow("NewVersionWindow"));
    EXPECT_EQ(controller().newVerCtrl(), nullptr);
    EXPECT_EQ(announcements(), 0);
    EXPECT_EQ(logsSinceLaunch(), std::vector<std::string>{"NewVersionCtroller.dealloc"});

    controller().handleVersionInfo("3.0", "Other notes");
    ASSERT_TRUE(desktop().windowOpen("NewVersionWindow"));
    EXPECT_EQ(text("txtVersion"), "1.0 \u2192 3.0");
}

TEST_F(UpdateAnnouncement, AnAnswerOutlivingTheAgentIsDropped) {
    launch().runFor(1);
    ASSERT_EQ(server.requestCount(), 1);
    agent().reset();
    desktop().runFor(kAnnouncementDelay);
    EXPECT_FALSE(desktop().windowOpen("NewVersionWindow"));
}

// No server configured: no request. A server that refuses the connection: nothing shows or is
// logged.
TEST_F(UpdateAnnouncement, NoServerOrAnUnreachableOneIsSilent) {
    launch("").runFor(1);
    EXPECT_TRUE(desktop().http().requests().empty());
    const sim::RefusingLoopbackPort refusing;
    launch(refusing.baseAddress()).runFor(kAnnouncementDelay + 1);
    EXPECT_EQ(desktop().http().requests().size(), 1u);
    EXPECT_FALSE(desktop().windowOpen("NewVersionWindow"));
    EXPECT_EQ(logsSinceLaunch(), std::vector<std::string>{});
}

}  // namespace
}  // namespace vantor
