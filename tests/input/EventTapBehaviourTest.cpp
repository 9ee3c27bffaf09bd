// The event tap at work in the running agent on the simulated desktop: the user's keys and
// buttons go through the hardware, and the tests look at the switcher, the applications and
// what each of them received.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/Agent.h"
#include "input/TriggerRules.h"
#include "platform/SimProbes.h"
#include "platform/sim/SimDesktop.h"

namespace vantor {
namespace {

using platform::MouseButton;
using platform::Point;
using sim::SimDesktop;
using Events = std::vector<std::string>;

// Not the first start (no preferences window takes the keys), and the trigger modifier opens
// the switcher with a single press.
void secondStartWithSinglePress(SimDesktop& desktop) {
    desktop.settings().setString("Current Version", "1.0");
    desktop.settings().setBool("PressTwiceToTrigger", false);
}

class EventTapBehaviourTest : public ::testing::Test {
protected:
    EventTapBehaviourTest() {
        for (const char* name :
             {"Safari", "Mail", "Maps", "Notes", "Automator", "App Store", "Activity Monitor"})
            desktop.addApplication(name);
        secondStartWithSinglePress(desktop);
        agent = std::make_unique<Agent>(desktop.platform());
        agent->applicationDidFinishLaunching();
    }

    AppDelegate& delegate() { return agent->appDelegate(); }
    TriggerState& state() { return delegate().triggerState(); }

    // Option, the trigger modifier, pressed and released alone; the switcher shows.
    void openWithOption() {
        desktop.keyDown("LeftOption");
        desktop.keyUp("LeftOption");
        desktop.runFor(0.06);
        ASSERT_TRUE(desktop.switcherShowing());
        ASSERT_TRUE(delegate().showing());
        desktop.inbox("Dock");
        desktop.inbox("Safari");  // the Option press passed on to the front application
    }

    // The application whose switcher item has this hint key.
    std::string appOfKey(const std::string& key) {
        const auto& items = delegate().procList().items();
        const auto found = items.find(key);
        if (found == items.end()) return {};
        const std::string& title = found->second->title();
        return title.substr(0, title.rfind('/'));
    }

    int traceCount(std::string_view text) const {
        const auto& lines = desktop.trace();
        return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const auto& l) {
            return l.find(text) != std::string::npos;
        }));
    }

    // A point of the overlay (screen coordinates measured from its bottom-left corner) in
    // Accessibility coordinates.
    Point overlayPoint(double x, double yFromBottom) {
        const platform::Rect frame = delegate().procList().frame();
        return {frame.origin.x + x, 1080 - (frame.origin.y + yFromBottom)};
    }

    // " X Y" as the received events print a position.
    static std::string at(Point p) {
        return " " + std::to_string(std::llround(p.x)) + " " + std::to_string(std::llround(p.y));
    }

    SimDesktop desktop;
    std::unique_ptr<Agent> agent;
};

// The trigger modifier.

TEST_F(EventTapBehaviourTest, PressTwiceWithinTheWindowOpensTheSwitcher) {
    delegate().setPressTwiceToTrigger(true);
    desktop.keyDown("LeftOption");
    desktop.keyUp("LeftOption");
    desktop.runFor(0.2);
    EXPECT_FALSE(desktop.switcherOpening());
    desktop.keyDown("LeftOption");
    desktop.keyUp("LeftOption");
    desktop.runFor(0.06);
    EXPECT_TRUE(desktop.switcherShowing());
    EXPECT_TRUE(desktop.overlayVisible());
    // The application saw the first press only.
    EXPECT_EQ(desktop.received("Safari"), (Events{"flags LeftOption opt", "flags LeftOption"}));
}

TEST_F(EventTapBehaviourTest, PressTwiceExactlyAtTheWindowStillOpens) {
    delegate().setPressTwiceToTrigger(true);
    // 0.8 s and 1.1 s: the absolute times' difference comes out a hair above 0.3 in doubles.
    desktop.runUntil(0.8);
    desktop.keyDown("LeftOption");
    desktop.keyUp("LeftOption");
    desktop.runUntil(1.1);
    desktop.keyDown("LeftOption");
    desktop.keyUp("LeftOption");
    desktop.runFor(0.06);
    EXPECT_TRUE(desktop.switcherShowing());
}

TEST_F(EventTapBehaviourTest, PressTwicePastTheWindowOpensNothing) {
    delegate().setPressTwiceToTrigger(true);
    desktop.keyDown("LeftOption");
    desktop.keyUp("LeftOption");
    desktop.runFor(0.31);
    desktop.keyDown("LeftOption");
    desktop.keyUp("LeftOption");
    desktop.runFor(0.1);
    EXPECT_FALSE(desktop.switcherShowing());
    EXPECT_EQ(desktop.received("Safari").size(), 4u);
}

TEST_F(EventTapBehaviourTest, PressTwiceWithLeftThenRightOptionOpensNothing) {
    delegate().setPressTwiceToTrigger(true);
    desktop.keyDown("LeftOption");
    desktop.keyUp("LeftOption");
    desktop.runFor(0.1);
    desktop.keyDown("RightOption");
    desktop.keyUp("RightOption");
    desktop.runFor(0.1);
    EXPECT_FALSE(desktop.switcherShowing());
    EXPECT_FALSE(desktop.switcherOpening());
}

TEST_F(EventTapBehaviourTest, HoldingTheTriggerAloneKeepsTheSwitcherAfterAnActivation) {
    desktop.keyDown("LeftOption");
    desktop.runFor(0.06);
    ASSERT_TRUE(desktop.switcherShowing());
    desktop.tapKey("N");
    EXPECT_EQ(desktop.front(), "Notes");
    EXPECT_TRUE(desktop.switcherShowing());
    EXPECT_TRUE(desktop.overlayVisible());
    desktop.keyUp("LeftOption");
    desktop.runFor(0.1);
    EXPECT_TRUE(desktop.switcherShowing());
}

// Command-Tab.

TEST_F(EventTapBehaviourTest, UsersCommandTabOpensTheSwitcherAndItsReleaseSwitches) {
    sim::testing::holdCommandTab(desktop);
    desktop.runFor(0.002);
    EXPECT_TRUE(state()._isTriggeredByCmdTab);
    EXPECT_TRUE(desktop.switcherShowing());
    EXPECT_TRUE(desktop.overlayVisible());
    // The user's own Tab and the agent's Command-Tab both reach the Dock.
    EXPECT_EQ(desktop.received("Dock"),
              (Events{"key-down Tab cmd", "key-down Tab cmd", "key-up Tab cmd", "key-up Tab cmd"}));
    desktop.keyUp("LeftCommand");
    desktop.runFor(0.01);
    EXPECT_EQ(desktop.front(), "Mail");
    EXPECT_FALSE(desktop.switcherShowing());
}

TEST_F(EventTapBehaviourTest, CommandTabWithCommandAsTheTriggerStillSwitchesOnAQuickRelease) {
    delegate().setTriggerModifierKey(platform::kEventFlagMaskCommand);
    desktop.keyDown("LeftCommand");
    desktop.keyDown("Tab");
    desktop.keyUp("Tab");
    desktop.keyUp("LeftCommand");
    desktop.runFor(0.1);
    EXPECT_EQ(desktop.front(), "Mail");
    EXPECT_FALSE(desktop.switcherShowing());
}

// Navigation keys while the switcher shows.

TEST_F(EventTapBehaviourTest, NavigationKeysReachTheDockAsCommandKeys) {
    openWithOption();
    ASSERT_EQ(desktop.highlighted(), "Mail");
    desktop.tapKey("Tab");
    EXPECT_EQ(desktop.highlighted(), "Maps");
    desktop.tapKey("Right");
    EXPECT_EQ(desktop.inbox("Dock"), (Events{"key-down Tab cmd", "key-up Tab cmd",
                                             "key-down Right cmd", "key-up Right cmd"}));
    EXPECT_EQ(desktop.highlighted(), "Notes");

    desktop.keyDown("LeftShift");
    desktop.tapKey("Tab");
    desktop.tapKey("Left");
    desktop.keyUp("LeftShift");
    EXPECT_EQ(desktop.inbox("Dock"),
              (Events{"flags LeftShift shift", "key-down Tab cmd shift", "key-up Tab cmd shift",
                      "key-down Left cmd shift", "key-up Left cmd shift", "flags LeftShift"}));
    EXPECT_EQ(desktop.highlighted(), "Mail");

    desktop.tapKey("Escape");
    desktop.runFor(0.01);
    EXPECT_FALSE(desktop.switcherShowing());
    EXPECT_EQ(desktop.front(), "Safari");
    // The switcher has gone by the release of Escape, which goes to the application.
    EXPECT_EQ(desktop.inbox("Safari"), Events{"key-up Escape"});
}

// Hint keys.

TEST_F(EventTapBehaviourTest, ThreeReleasesOfAActivateTheThirdAAtOnce) {
    openWithOption();
    const std::string third = appOfKey("AAA");
    ASSERT_FALSE(third.empty());
    desktop.tapKey("A");
    desktop.tapKey("A");
    desktop.keyDown("A");
    EXPECT_EQ(desktop.highlighted(), third);
    desktop.keyUp("A");
    EXPECT_EQ(desktop.front(), third);
    desktop.runFor(0.5);
    EXPECT_FALSE(desktop.switcherShowing());
    EXPECT_EQ(desktop.front(), third);
    EXPECT_EQ(desktop.received(third), Events{});
}

TEST_F(EventTapBehaviourTest, TwoReleasesOfAAndAPauseActivateAA) {
    openWithOption();
    const std::string second = appOfKey("AA");
    desktop.keyDown("A");
    desktop.keyUp("A");
    desktop.runFor(0.1);
    desktop.keyDown("A");
    desktop.keyUp("A");
    desktop.runFor(0.24);
    EXPECT_EQ(desktop.front(), "Safari");
    EXPECT_EQ(desktop.highlighted(), second);
    desktop.runFor(0.02);
    EXPECT_EQ(desktop.front(), second);
    desktop.runFor(0.01);
    EXPECT_FALSE(desktop.switcherShowing());
}

TEST_F(EventTapBehaviourTest, ALongPressQuitsTheApplicationUnderTheKey) {
    openWithOption();
    desktop.keyDown("N");
    EXPECT_EQ(desktop.highlighted(), "Notes");
    desktop.runFor(0.4);  // the key repeats once
    EXPECT_FALSE(desktop.running("Notes"));
    desktop.runFor(0.3);  // and again
    desktop.keyUp("N");
    desktop.runFor(0.5);
    EXPECT_TRUE(desktop.switcherShowing());
    EXPECT_EQ(desktop.front(), "Safari");
    EXPECT_EQ(desktop.applicationOrder().size(), 6u);
    EXPECT_EQ(state()._longPressingKey, kNoKey);
}

TEST_F(EventTapBehaviourTest, ReleasingDeleteQuitsTheHighlightedApplication) {
    openWithOption();
    desktop.tapKey("Delete");
    EXPECT_FALSE(desktop.running("Mail"));
    EXPECT_TRUE(desktop.switcherShowing());
    EXPECT_EQ(desktop.front(), "Safari");
}

TEST_F(EventTapBehaviourTest, ReturnActivatesTheHighlightedApplicationAndCloses) {
    openWithOption();
    desktop.keyDown("Return");
    desktop.runFor(0.01);
    EXPECT_EQ(desktop.front(), "Mail");
    EXPECT_FALSE(desktop.switcherShowing());
    EXPECT_FALSE(desktop.overlayVisible());
    desktop.keyUp("Return");
    EXPECT_EQ(desktop.received("Dock"), (Events{"key-down Tab cmd", "key-up Tab cmd"}));
}

TEST_F(EventTapBehaviourTest, SpaceClosesTheSwitcherAndOpensLaunchpad) {
    openWithOption();
    desktop.keyDown("Space");
    desktop.runFor(0.01);
    EXPECT_FALSE(desktop.switcherShowing());
    EXPECT_EQ(desktop.front(), "Launchpad");
    EXPECT_EQ(desktop.inbox("Dock"), Events{});
    EXPECT_EQ(desktop.inbox("Safari"), Events{});
}

TEST_F(EventTapBehaviourTest, TheEqualsKeyIsSwallowedAndChangesNothing) {
    openWithOption();
    desktop.tapKey("Equal");
    desktop.runFor(0.5);
    EXPECT_TRUE(desktop.switcherShowing());
    EXPECT_EQ(desktop.highlighted(), "Mail");
    EXPECT_EQ(desktop.front(), "Safari");
    EXPECT_EQ(desktop.inbox("Dock"), Events{});
    EXPECT_EQ(desktop.inbox("Safari"), Events{});
    EXPECT_EQ(state()._keyupCount, 0);
    EXPECT_EQ(state()._longPressingKey, kNoKey);
}

// The tap switched off by the system, and its creation.

TEST_F(EventTapBehaviourTest, ADisabledTapIsResetExactlyOnceThreeSecondsLater) {
    desktop.disableTaps(platform::EventType::TapDisabledByUserInput);
    // Nothing is filtered meanwhile: the trigger opens nothing.
    desktop.runFor(1);
    desktop.keyDown("LeftOption");
    desktop.keyUp("LeftOption");
    desktop.runFor(1.99);
    EXPECT_FALSE(desktop.switcherShowing());
    EXPECT_EQ(traceCount(" tap enabled"), 0);
    desktop.runFor(0.02);
    EXPECT_EQ(traceCount(" tap enabled"), 1);
    desktop.runFor(10);
    EXPECT_EQ(traceCount(" tap enabled"), 1);
    openWithOption();
}

TEST(EventTapCreationTest, AFailedTapCreationIsLoggedAndRetriedEverySecond) {
    SimDesktop desktop;
    desktop.addApplication("Safari");
    desktop.addApplication("Mail");
    desktop.failTapCreation(2);
    secondStartWithSinglePress(desktop);
    Agent agent(desktop.platform());
    agent.applicationDidFinishLaunching();
    EXPECT_EQ(desktop.log().count("Fail CGEventTapCreate"), 1u);
    desktop.runFor(1.0);
    EXPECT_EQ(desktop.log().count("Fail CGEventTapCreate"), 1u);
    desktop.runFor(0.001);
    EXPECT_EQ(desktop.log().count("Fail CGEventTapCreate"), 2u);
    desktop.keyDown("LeftOption");
    desktop.keyUp("LeftOption");
    desktop.runFor(0.1);
    EXPECT_FALSE(desktop.switcherShowing());

    desktop.runFor(1.0);
    desktop.keyDown("LeftOption");
    desktop.keyUp("LeftOption");
    desktop.runFor(0.1);
    EXPECT_TRUE(desktop.switcherShowing());
    desktop.runFor(5);
    EXPECT_EQ(desktop.log().count("Fail CGEventTapCreate"), 2u);
}

// The middle button with its trigger on, the switcher closed.

class MiddleButtonBehaviourTest : public EventTapBehaviourTest {
protected:
    MiddleButtonBehaviourTest() { delegate().setRightClickToTrigger(true); }
};

TEST_F(MiddleButtonBehaviourTest, AQuickMiddleClickReachesTheApplicationAtTheRelease) {
    desktop.mouseDown(MouseButton::Center, {300, 300});
    desktop.runFor(0.1);
    desktop.mouseUp(MouseButton::Center, {300, 300});
    desktop.runFor(0.5);
    EXPECT_EQ(desktop.received("Safari"), (Events{"middle-down 300 300", "middle-up 300 300"}));
    EXPECT_FALSE(desktop.switcherShowing());
}

TEST_F(MiddleButtonBehaviourTest, AMiddleDragReachesTheApplicationWithOnePressWhereItWasMade) {
    desktop.mouseDown(MouseButton::Center, {300, 300});
    desktop.mouseDrag(MouseButton::Center, {301, 300});
    desktop.mouseDrag(MouseButton::Center, {303, 300});
    desktop.mouseDrag(MouseButton::Center, {320, 300});
    desktop.runFor(0.3);
    desktop.mouseUp(MouseButton::Center, {320, 300});
    EXPECT_EQ(desktop.received("Safari"),
              (Events{"middle-drag 301 300", "middle-down 300 300", "middle-drag 303 300",
                      "middle-drag 320 300", "middle-up 320 300"}));
    EXPECT_FALSE(desktop.switcherShowing());
}

TEST_F(MiddleButtonBehaviourTest, AStillMiddleHoldOpensTheSwitcherAndNobodySeesTheButton) {
    desktop.mouseDown(MouseButton::Center, {300, 300});
    desktop.runFor(0.24);
    EXPECT_FALSE(desktop.switcherOpening());
    desktop.runFor(0.1);
    EXPECT_TRUE(desktop.switcherShowing());
    EXPECT_TRUE(state()._isTriggeredByMouse);
    desktop.mouseUp(MouseButton::Center, {300, 300});
    desktop.runFor(0.1);
    EXPECT_TRUE(desktop.switcherShowing());
    EXPECT_TRUE(desktop.running("Mail"));  // the release quit nothing
    EXPECT_FALSE(state()._isTriggeredByMouse);
    EXPECT_EQ(desktop.received("Safari"), Events{});
    EXPECT_EQ(desktop.received("Dock"), (Events{"key-down Tab cmd", "key-up Tab cmd"}));
}

// Clicks while the switcher shows.

TEST_F(EventTapBehaviourTest, ALeftClickOnTheOverlayBackgroundActivatesTheHighlightedApplication) {
    openWithOption();
    const Point padding = overlayPoint(8, 80);  // left of the first icon
    desktop.mouseDown(MouseButton::Left, padding);
    desktop.mouseUp(MouseButton::Left, padding);
    desktop.runFor(0.01);
    EXPECT_EQ(desktop.front(), "Mail");
    EXPECT_EQ(desktop.inbox("Dock"), (Events{"left-down" + at(padding), "left-up" + at(padding)}));
}

TEST_F(EventTapBehaviourTest, ALeftClickOnThePreferencesButtonOrOutsideTheOverlayActivatesNothing) {
    openWithOption();
    const double width = delegate().procList().frame().size.width;
    const Point button = overlayPoint(width - 16, 160 - 16);
    desktop.mouseDown(MouseButton::Left, button);
    desktop.mouseUp(MouseButton::Left, button);
    desktop.mouseDown(MouseButton::Left, {10, 10});
    desktop.mouseUp(MouseButton::Left, {10, 10});
    desktop.runFor(0.01);
    EXPECT_EQ(desktop.front(), "Safari");
    EXPECT_TRUE(desktop.switcherShowing());
    // Every click goes on: to the Dock over the list, to the application elsewhere.
    EXPECT_EQ(desktop.inbox("Dock"), (Events{"left-down" + at(button), "left-up" + at(button)}));
    EXPECT_EQ(desktop.inbox("Safari"), (Events{"left-down 10 10", "left-up 10 10"}));
}

TEST_F(EventTapBehaviourTest, ARightClickWhileShowingActivatesTheHighlightedApplicationUnseen) {
    openWithOption();
    const Point onList = overlayPoint(8, 80);
    desktop.mouseDown(MouseButton::Right, onList);
    desktop.mouseUp(MouseButton::Right, onList);
    desktop.runFor(0.01);
    EXPECT_EQ(desktop.front(), "Mail");
    EXPECT_EQ(desktop.inbox("Dock"), Events{});
    EXPECT_EQ(desktop.inbox("Safari"), Events{});
}

TEST_F(EventTapBehaviourTest, AMiddleClickWhileShowingQuitsTheHighlightedApplication) {
    delegate().setRightClickToTrigger(false);
    openWithOption();
    desktop.mouseDown(MouseButton::Center, {10, 10});
    desktop.mouseUp(MouseButton::Center, {10, 10});
    desktop.runFor(0.01);
    EXPECT_FALSE(desktop.running("Mail"));
    EXPECT_TRUE(desktop.switcherShowing());
    // The trigger is off: the press itself went on to the application under the pointer.
    EXPECT_EQ(desktop.inbox("Safari"), Events{"middle-down 10 10"});
}

}  // namespace
}  // namespace vantor
