// The update check and its announcement, end to end: the agent launches on a simulated desktop
// whose bundle names a loopback update server, and every later launch is a new agent on a new
// desktop that shares the settings folder. Each test reads as a scenario: the server's answer,
// the launch, the wait, and what the user sees and the settings hold.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

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

// One launch of the agent: a desktop of its own on the shared settings folder.
struct Launch {
    Launch(const std::string& configDir, const std::string& server, const std::string& running)
        : desktop(configDir) {
        desktop.process().setShortVersion(running);
        desktop.process().setUpdateServer(server);
        // Not the first start of this version: no preferences window comes forward.
        desktop.settings().setString("Current Version", running);
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
    SimDesktop& launch(const std::string& serverBase, const std::string& running = "1.0") {
        launch_.reset();
        launch_.emplace(configDir_, serverBase, running);
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
    bool launchAndWait(const std::string& running = "1.0") {
        launch(server.baseAddress(), running);
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

TEST_F(UpdateAnnouncement, ANewerVersionIsAnnouncedTenSecondsAfterTheAnswerAsSent) {
    server.setAnswer(200, answer("2.0", "Faster hints.\nFewer <b>surprises</b>."));
    SimDesktop& sim = launch();
    EXPECT_EQ(
        sim.http().requests(),
        std::vector<std::string>{server.baseAddress() + "/projects/latestVersion?product=Vantor"});

    sim.runUntil(kAnnouncementDelay);
    EXPECT_FALSE(sim.windowOpen("NewVersionWindow"));
    sim.runUntil(kAnnouncementDelay + 0.001);
    ASSERT_TRUE(sim.windowOpen("NewVersionWindow"));

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

struct QuietCase {
    const char* name;
    int status;
    std::string body;
    const char* running = "1.0";
};

class QuietAnswer : public UpdateAnnouncement, public testing::WithParamInterface<QuietCase> {};

// None of these answers opens a window or writes a log line.
TEST_P(QuietAnswer, AnnouncesNothingAndLogsNothing) {
    server.setAnswer(GetParam().status, GetParam().body);
    EXPECT_FALSE(launchAndWait(GetParam().running));
    EXPECT_EQ(server.requestCount(), 1);
    EXPECT_EQ(logsSinceLaunch(), std::vector<std::string>{});
    EXPECT_EQ(controller().newVerCtrl(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    UpdateAnnouncement, QuietAnswer,
    testing::Values(
        QuietCase{"SameVersion", 200, answer("1.0")},
        QuietCase{"RunningVersionPlusAComponent", 200, answer("1.2.1"), "1.2"},
        QuietCase{"OlderVersion", 200, answer("1.9"), "1.10"},
        QuietCase{"Status201", 201, answer("2.0")}, QuietCase{"Status304", 304, answer("2.0")},
        QuietCase{"Status500", 500, answer("2.0")},
        QuietCase{"NotJson", 200, "<html>Not Found</html>"},
        QuietCase{"AnArray", 200, R"(["2.0", "notes"])"},
        QuietCase{"NoVersion", 200, R"({"WhatsNew": "x"})"},
        QuietCase{"NoWhatsNew", 200, R"({"Version": "2.0"})"},
        QuietCase{"NotesNotText", 200, answer("2.0", 5)},
        QuietCase{"NotesNull", 200, answer("2.0", nullptr)},
        QuietCase{"NestedDeeply", 200, std::string(100000, '[') + std::string(100000, ']')},
        QuietCase{"DeepMemberBesideGoodOnes", 200,
                  R"({"Version": "2.0", "WhatsNew": "x", "More": )" + std::string(65, '[') +
                      std::string(65, ']') + "}"},
        QuietCase{"LargerThanOneMebibyte", 200, answer("2.0", std::string(2 << 20, 'n'))}),
    [](const testing::TestParamInfo<QuietCase>& param) { return param.param.name; });

TEST_F(UpdateAnnouncement, AVersionThatIsNotAStringIsLoggedAsCompactJson) {
    const std::pair<json, std::string> cases[] = {
        {2, "Error check update: ver = 2"},
        {nullptr, "Error check update: ver = <null>"},
        {json{{"a", 1}}, R"(Error check update: ver = {"a":1})"},
        {json::array({2, "0"}), R"(Error check update: ver = [2,"0"])"},
    };
    for (const auto& [version, line] : cases) {
        SCOPED_TRACE(line);
        server.setAnswer(200, answer(version));
        EXPECT_FALSE(launchAndWait());
        EXPECT_EQ(logsSinceLaunch(), std::vector<std::string>{line});
    }
}

TEST_F(UpdateAnnouncement, SkipStoresTheVersionAsSentAndOnlyThatVersionStaysQuiet) {
    server.setAnswer(200, answer("2.0-beta"));
    ASSERT_TRUE(launchAndWait());
    ASSERT_TRUE(desktop().click("NewVersionWindow", "skipThisVersion:"));
    EXPECT_FALSE(desktop().windowOpen("NewVersionWindow"));
    EXPECT_EQ(skipVersion(), "2.0-beta");
    EXPECT_EQ(logsSinceLaunch(), std::vector<std::string>{"NewVersionCtroller.dealloc"});

    EXPECT_FALSE(launchAndWait()) << "the skipped version came back at the next launch";
    server.setAnswer(200, answer("2.1"));
    EXPECT_TRUE(launchAndWait()) << "a newer version than the skipped one";
}

TEST_F(UpdateAnnouncement, TheSkippedVersionIsComparedAsText) {
    struct Case {
        json stored;
        const char* announced;
        bool shows;
    };
    const Case cases[] = {{"2.0", "2.0", false},
                          {"2.0", "2.0.0", true},
                          {"2.0.0", "2.0", true},
                          {2, "2", true}};  // a stored number is no version text
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.dump() + " against " + c.announced);
        server.setAnswer(200, answer(c.announced));
        launch(server.baseAddress()).settings().setObject(kSkipVersionKey, c.stored);
        desktop().runFor(kAnnouncementDelay + 1);
        EXPECT_EQ(desktop().windowOpen("NewVersionWindow"), c.shows);
    }
}

TEST_F(UpdateAnnouncement, RemindLaterOnlyClosesAndTheNextLaunchAnnouncesAgain) {
    ASSERT_TRUE(launchAndWait());
    ASSERT_TRUE(desktop().click("NewVersionWindow", "mindLater:"));
    EXPECT_FALSE(desktop().windowOpen("NewVersionWindow"));
    EXPECT_EQ(skipVersion(), std::nullopt);
    EXPECT_EQ(desktop().workspace().openedURLs(), std::vector<std::string>{});
    EXPECT_EQ(controller().newVerCtrl(), nullptr);

    EXPECT_TRUE(launchAndWait());
}

TEST_F(UpdateAnnouncement, DownloadOpensTheProductPageOnceAndCloses) {
    ASSERT_TRUE(launchAndWait());
    ASSERT_TRUE(desktop().click("NewVersionWindow", "download:"));
    EXPECT_EQ(desktop().workspace().openedURLs(),
              std::vector<std::string>{server.baseAddress() + "/projects/vantor"});
    EXPECT_FALSE(desktop().windowOpen("NewVersionWindow"));
    EXPECT_EQ(skipVersion(), std::nullopt);
    EXPECT_EQ(logsSinceLaunch(), std::vector<std::string>{"NewVersionCtroller.dealloc"});
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

// No server configured: no request. A server that refuses the connection: nothing happens.
TEST_F(UpdateAnnouncement, NoServerOrAnUnreachableOneIsSilent) {
    const sim::RefusingLoopbackPort refusing;
    ASSERT_FALSE(refusing.baseAddress().empty());
    for (const std::string& base : {std::string(), refusing.baseAddress()}) {
        SCOPED_TRACE(base);
        launch(base).runFor(kAnnouncementDelay + 1);
        EXPECT_EQ(desktop().http().requests().size(), base.empty() ? 0u : 1u);
        EXPECT_FALSE(desktop().windowOpen("NewVersionWindow"));
        EXPECT_EQ(logsSinceLaunch(), std::vector<std::string>{});
    }
    EXPECT_EQ(server.requestCount(), 0);
}

}  // namespace
}  // namespace vantor
