#include <gtest/gtest.h>

#include <memory>

#include "platform/sim/SimDesktop.h"
#include "prefs/PrefController.h"
#include "prefs/SettingsKeys.h"

namespace vantor {
namespace {

using platform::ControlState;
using sim::SimDesktop;

// The application controller's side: the trigger settings and the close notification.
struct Controller : TriggerSettings, PrefControllerDelegate {
    void setTriggerModifierKey(std::uint64_t key) override { modifier = key; }
    void setPressTwiceToTrigger(bool on) override { pressTwice = on; }
    bool rightClickToTrigger() const override { return rightClick; }
    void setRightClickToTrigger(bool on) override { rightClick = on; }
    void prefControllerDidClose() override { ++closed; }

    std::uint64_t modifier = 0x80000;
    bool pressTwice = false;
    bool rightClick = false;
    int closed = 0;
};

class PrefControllerTest : public ::testing::Test {
protected:
    void open() {
        prefs = std::make_unique<PrefController>(desktop.platform(), controller);
        prefs->setDelegate(&controller);
        prefs->showWindow();
    }
    platform::View* control(std::string_view identifier) {
        return findViewWithIdentifier(*prefs->tabViewForTabId("Settings"), identifier);
    }
    ControlState state(std::string_view identifier) { return control(identifier)->state(); }

    SimDesktop desktop;
    Controller controller;
    std::unique_ptr<PrefController> prefs;
};

TEST_F(PrefControllerTest, AnEmptyStoreShowsTheDefaultsOnTheSettingsPage) {
    controller.rightClick = true;  // shown from the controller, not from the store
    open();
    EXPECT_EQ(prefs->currentPage(), prefs->tabViewForTabId("Settings"));
    EXPECT_EQ(prefs->window()->toolbar()->selectedItemIdentifier(), "Settings");
    EXPECT_EQ(prefs->window()->level(), desktop.ui().windowLevelForKey(5));
    EXPECT_EQ(state("check_auto_launch"), ControlState::Off);
    EXPECT_EQ(state("check_press_twice"), ControlState::On);
    EXPECT_EQ(state("check_rightclick_trigger"), ControlState::On);
    EXPECT_EQ(
        findViewWithIdentifier(*prefs->tabViewForTabId("About"), "labelVersion")->stringValue(),
        "版本 1.0");
}

TEST_F(PrefControllerTest, ControlsShowTheStoredSettings) {
    desktop.settings().setBool(kLaunchAtStartupKey, true);
    desktop.settings().setInteger(kTriggerModifierKeyKey, 0x100000);
    desktop.settings().setBool(kPressTwiceToTriggerKey, false);
    desktop.settings().setBool(kRightClickToTriggerKey, true);  // not what the page shows
    open();
    EXPECT_EQ(state("check_auto_launch"), ControlState::On);
    EXPECT_EQ(state("check_press_twice"), ControlState::Off);
    EXPECT_EQ(state("check_rightclick_trigger"), ControlState::Off);
    for (platform::View* radio : control("group_trigger_key")->subviews())
        EXPECT_EQ(radio->state() == ControlState::On, radio->tag() == 0x100000) << radio->tag();
}

// What each control writes and that it applies at once, and the failed login item's log line,
// are pinned by the scenarios.
TEST_F(PrefControllerTest, AFailedLoginItemIsStoredAndShownAllTheSame) {
    desktop.process().failLoginItem();
    open();
    ASSERT_TRUE(desktop.click("PrefWindow", "toggleAutoLaunch:"));
    EXPECT_EQ(desktop.settings().describeValue(kLaunchAtStartupKey), "true");
    EXPECT_EQ(state("check_auto_launch"), ControlState::On);
}

TEST_F(PrefControllerTest, SwitchingPagesKeepsTheTopEdgeAndRestoresTheSize) {
    open();
    const platform::Rect settingsFrame = prefs->window()->frame();
    const double top = settingsFrame.origin.y + settingsFrame.size.height;
    ASSERT_TRUE(desktop.click("PrefWindow", "switchTab:", "About"));
    const platform::Rect aboutFrame = prefs->window()->frame();
    EXPECT_EQ(aboutFrame.origin.y + aboutFrame.size.height, top);
    EXPECT_EQ(aboutFrame.size.height, settingsFrame.size.height - 60);  // About is 60 shorter
    EXPECT_EQ(prefs->currentPage(), prefs->tabViewForTabId("About"));
    EXPECT_EQ(prefs->tabViewForTabId("Settings")->superview(), nullptr);
    ASSERT_TRUE(desktop.click("PrefWindow", "switchTab:", "Settings"));
    EXPECT_EQ(prefs->window()->frame(), settingsFrame);
}

TEST_F(PrefControllerTest, TheLinkOpensTheProductPageOnceWithinHalfASecond) {
    desktop.process().setUpdateServer("http://127.0.0.1:9");
    open();
    ASSERT_TRUE(desktop.click("PrefWindow", "switchTab:", "About"));
    ASSERT_TRUE(desktop.click("PrefWindow", "visitLink:"));
    desktop.click("PrefWindow", "visitLink:");  // disabled: ignored
    desktop.runFor(0.49);
    desktop.click("PrefWindow", "visitLink:");
    EXPECT_EQ(desktop.workspace().openedURLs(),
              std::vector<std::string>{"http://127.0.0.1:9/projects/vantor"});
    desktop.runFor(0.02);
    ASSERT_TRUE(desktop.click("PrefWindow", "visitLink:"));
    EXPECT_EQ(desktop.workspace().openedURLs().size(), 2u);
}

TEST_F(PrefControllerTest, ClosingSynchronisesAndTellsTheDelegate) {
    open();
    prefs->setInitialTab(std::nullopt);
    ASSERT_TRUE(desktop.closeWindow("PrefWindow"));
    EXPECT_EQ(controller.closed, 1);
    EXPECT_EQ(desktop.logLines().back(), "windowWillClose");
    EXPECT_FALSE(desktop.windowOpen("PrefWindow"));
}

TEST_F(PrefControllerTest, TheInitialTabIsShownFirst) {
    prefs = std::make_unique<PrefController>(desktop.platform(), controller);
    prefs->setInitialTab("About");
    prefs->showWindow();
    EXPECT_EQ(prefs->currentPage(), prefs->tabViewForTabId("About"));
    EXPECT_EQ(prefs->window()->toolbar()->selectedItemIdentifier(), "About");
}

TEST_F(PrefControllerTest, QuitTerminatesTheApplication) {
    open();
    ASSERT_TRUE(desktop.click("PrefWindow", "quitApp:", "quitButton"));
    EXPECT_TRUE(desktop.process().terminated());
}

}  // namespace
}  // namespace vantor
