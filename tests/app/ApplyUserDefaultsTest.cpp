#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "app/Agent.h"
#include "platform/SimProbes.h"
#include "platform/sim/SimDesktop.h"

namespace vantor {
namespace {

using sim::SimDesktop;

class ApplyUserDefaultsTest : public ::testing::Test {
protected:
    ApplyUserDefaultsTest() { desktop.addApplication("Safari"); }

    void launch() {
        agent = std::make_unique<Agent>(desktop.platform());
        agent->applicationDidFinishLaunching();
    }
    AppDelegate& delegate() { return agent->appDelegate(); }
    std::optional<std::string> stored(std::string_view key) {
        return desktop.settings().describeValue(key);
    }

    SimDesktop desktop;
    std::unique_ptr<Agent> agent;
};

// The first start, a second one and a new version's first start, the stored choices and the
// trigger modifiers Option, Command and "none" are pinned by the scenarios.
TEST_F(ApplyUserDefaultsTest, TheStoredTriggerModifierIsUsedOrRepaired) {
    struct Case {
        std::int64_t stored;
        std::uint64_t applied;
        std::string storedAfter;
    };
    for (const Case& c : {Case{0x20000, 0x20000, "131072"}, Case{0, 0x80000, "524288"}}) {
        SCOPED_TRACE(c.stored);
        SimDesktop fresh;
        fresh.settings().setInteger("TriggerModifierKey", c.stored);
        Agent started(fresh.platform());
        started.applicationDidFinishLaunching();
        EXPECT_EQ(started.appDelegate().triggerModifierKey(), c.applied);
        EXPECT_EQ(fresh.settings().describeValue("TriggerModifierKey"), c.storedAfter);
    }
}

TEST_F(ApplyUserDefaultsTest, TheDefaultsOfTheTwoTriggersAreNotWritten) {
    launch();
    EXPECT_EQ(stored("PressTwiceToTrigger"), std::nullopt);
    EXPECT_EQ(stored("RightClick To Trigger"), std::nullopt);
}

TEST_F(ApplyUserDefaultsTest, ThePreferencesWindowOpensOnceAndAfreshAfterClosing) {
    launch();
    PrefController* first = delegate().prefController();
    ASSERT_NE(first, nullptr);
    delegate().showPref();
    EXPECT_EQ(delegate().prefController(), first);  // no second window

    ASSERT_TRUE(desktop.closeWindow("PrefWindow"));
    EXPECT_EQ(delegate().prefController(), nullptr);
    desktop.runFor(0.01);
    EXPECT_EQ(desktop.ui().window("PrefWindow"), nullptr);

    // A reopen request after a granted permission opens it again.
    EXPECT_TRUE(delegate().applicationShouldHandleReopen(false));
    EXPECT_TRUE(desktop.windowOpen("PrefWindow"));
    EXPECT_NE(delegate().prefController(), nullptr);
}

TEST_F(ApplyUserDefaultsTest, OpeningThePreferencesHidesTheOverlaysContent) {
    desktop.settings().setString("Current Version", "1.0");
    desktop.addApplication("Mail");
    launch();
    sim::testing::holdCommandTab(desktop);
    desktop.runFor(0.002);
    ASSERT_TRUE(desktop.overlayVisible());
    delegate().showPref();
    EXPECT_FALSE(desktop.overlayVisible());
}

}  // namespace
}  // namespace vantor
