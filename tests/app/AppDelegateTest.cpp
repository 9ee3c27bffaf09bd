#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "app/Agent.h"
#include "app/AppDelegate.h"
#include "platform/SimProbes.h"
#include "platform/sim/SimDesktop.h"

namespace vantor {
namespace {

using platform::Rect;
using sim::SimDesktop;

class AppDelegateTest : public ::testing::Test {
protected:
    AppDelegateTest() {
        for (const char* name : {"Safari", "Mail", "Maps", "Notes"})
            desktop.addApplication(name);
        agent = std::make_unique<Agent>(desktop.platform());
        agent->applicationDidFinishLaunching();
    }

    AppDelegate& delegate() { return agent->appDelegate(); }
    sim::SimWindow& overlay() { return *desktop.ui().overlay(); }

    void openSwitcher() {
        sim::testing::holdCommandTab(desktop);
        desktop.runFor(0.002);
    }

    int traceCount(const std::string& text) const {
        const auto& lines = desktop.trace();
        return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const auto& l) {
            return l.find(text) != std::string::npos;
        }));
    }

    SimDesktop desktop;
    std::unique_ptr<Agent> agent;
};

TEST_F(AppDelegateTest, StartsWithTheActivityAndAHiddenOverlayInFront) {
    ASSERT_EQ(desktop.process().activities().size(), 1u);
    EXPECT_EQ(desktop.process().activities()[0].reason, "Latency Critical");
    EXPECT_EQ(desktop.process().activities()[0].options, 0xFF00000000u);
    EXPECT_TRUE(overlay().isVisible());
    EXPECT_FALSE(desktop.overlayVisible());
    // The overlay window takes no clicks and lets everything it does not paint show through.
    EXPECT_TRUE(overlay().ignoresMouseEvents());
    EXPECT_FALSE(overlay().isOpaque());
    EXPECT_EQ(overlay().backgroundColor(), platform::Color::clearColor());
    EXPECT_EQ(overlay().level(), desktop.ui().windowLevelForKey(20));
}

// Where the overlay lies and that it hides with the switcher are pinned by the scenarios.
TEST_F(AppDelegateTest, ARescanOfAnUnchangedListLeavesTheOverlayAloneAndItIsNeverOrderedOut) {
    openSwitcher();
    EXPECT_EQ(overlay().frameChanges(), 1);
    overlay().setAlphaValue(0.5);
    desktop.tapKey("Tab");
    desktop.runFor(0.002);
    EXPECT_EQ(overlay().frameChanges(), 1);
    EXPECT_EQ(overlay().alphaValue(), 0.5);

    desktop.keyUp("LeftCommand");
    desktop.runFor(0.002);
    EXPECT_FALSE(desktop.overlayVisible());
    EXPECT_TRUE(overlay().isVisible());
}

TEST_F(AppDelegateTest, TheSwitchersDisappearanceClearsTheKeyStateWithoutCancellingAgain) {
    openSwitcher();
    TriggerState& state = delegate().triggerState();
    state._lastKey = 0;
    state._keyupCount = 2;
    desktop.keyDown("Escape");
    desktop.runFor(0.002);
    EXPECT_EQ(state._lastKey, kNoKey);
    EXPECT_EQ(state._keyupCount, 0);
    EXPECT_EQ(traceCount("AXCancel"), 0);
}

TEST_F(AppDelegateTest, ActivateByKeyDismissesOnlyWhenItWorkedAndHidesTheHintsFirst) {
    openSwitcher();
    delegate().activateItemByKey("Q", true);  // no item: nothing is dismissed
    desktop.runFor(0.002);
    EXPECT_TRUE(desktop.switcherShowing());

    delegate().activateItemByKey("N", true);
    EXPECT_EQ(desktop.front(), "Safari");  // not inside the caller: from the main queue
    desktop.runFor(0.000002);
    EXPECT_FALSE(desktop.overlayVisible());  // hidden at once, before the Dock answers
    desktop.runFor(0.002);
    EXPECT_EQ(desktop.front(), "Notes");
    EXPECT_FALSE(desktop.switcherShowing());
}

TEST_F(AppDelegateTest, ResetClearsTheKeyStateAndHidesTheContent) {
    openSwitcher();
    TriggerState& state = delegate().triggerState();
    state._longPressingKey = kLongPressUsedUp;
    state._keyupCount = 3;
    state._isTriggeredByCmdTab = true;
    delegate().reset();
    EXPECT_EQ(state._longPressingKey, -1);
    EXPECT_EQ(state._keyupCount, 0);
    EXPECT_TRUE(state._isTriggeredByCmdTab);  // how the switcher was opened stays
    EXPECT_FALSE(desktop.overlayVisible());
}

TEST_F(AppDelegateTest, AForeignObservationDoesNotTouchTheOverlay) {
    openSwitcher();
    const int changes = overlay().frameChanges();
    static const int foreign = 0;
    platform::KeyValueObserver& observer = delegate();
    delegate().setWindowVisible(false);
    observer.observeValueForKeyPath("showing", &delegate().procList(), {}, &foreign);
    EXPECT_FALSE(desktop.overlayVisible());
    EXPECT_EQ(overlay().frameChanges(), changes);
}

}  // namespace
}  // namespace vantor
