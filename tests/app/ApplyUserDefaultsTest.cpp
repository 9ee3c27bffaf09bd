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

TEST_F(ApplyUserDefaultsTest, AFirstStartAppliesTheDefaultsAndOpensThePreferences) {
    launch();
    EXPECT_FALSE(desktop.process().loginItemEnabled());
    EXPECT_EQ(desktop.process().activities().size(), 1u);
    EXPECT_EQ(delegate().triggerModifierKey(), 0x80000u);
    EXPECT_EQ(stored("TriggerModifierKey"), "524288");
    EXPECT_TRUE(delegate().pressTwiceToTrigger());
    EXPECT_TRUE(delegate().rightClickToTrigger());
    EXPECT_EQ(stored("PressTwiceToTrigger"), std::nullopt);  // the defaults are not written
    EXPECT_EQ(stored("Current Version"), "1.0");
    EXPECT_TRUE(desktop.windowOpen("PrefWindow"));
    EXPECT_FALSE(desktop.overlayVisible());
}

TEST_F(ApplyUserDefaultsTest, TheStoredTriggerModifierIsUsedOrRepaired) {
    struct Case {
        std::int64_t stored;
        std::uint64_t applied;
        std::string storedAfter;
    };
    for (const Case& c : {Case{0x100000, 0x100000, "1048576"}, Case{0x20000, 0x20000, "131072"},
                          Case{-1, ~std::uint64_t{0}, "-1"}, Case{0x60000, 0x80000, "524288"},
                          Case{0, 0x80000, "524288"}}) {
        SCOPED_TRACE(c.stored);
        SimDesktop fresh;
        fresh.settings().setInteger("TriggerModifierKey", c.stored);
        Agent started(fresh.platform());
        started.applicationDidFinishLaunching();
        EXPECT_EQ(started.appDelegate().triggerModifierKey(), c.applied);
        EXPECT_EQ(fresh.settings().describeValue("TriggerModifierKey"), c.storedAfter);
    }
}

TEST_F(ApplyUserDefaultsTest, ASecondStartOfTheSameVersionKeepsTheStoredChoices) {
    desktop.settings().setString("Current Version", "1.0");
    desktop.settings().setBool("PressTwiceToTrigger", false);
    desktop.settings().setBool("RightClick To Trigger", false);
    desktop.settings().setBool("LaunchAtStartup", true);
    launch();
    EXPECT_FALSE(desktop.windowOpen("PrefWindow"));
    EXPECT_FALSE(delegate().pressTwiceToTrigger());
    EXPECT_FALSE(delegate().rightClickToTrigger());
    EXPECT_TRUE(desktop.process().loginItemEnabled());
}

TEST_F(ApplyUserDefaultsTest, ANewVersionOpensThePreferencesAgain) {
    desktop.settings().setString("Current Version", "0.9");
    launch();
    EXPECT_TRUE(desktop.windowOpen("PrefWindow"));
    EXPECT_EQ(stored("Current Version"), "1.0");
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
