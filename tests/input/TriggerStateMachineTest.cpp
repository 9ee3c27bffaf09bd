// The trigger state machine on abstract events, against a controller that records what it is
// told; time, the main queue, the live modifiers and the pointer are a simulated desktop's.
// What a user can do end to end is pinned by the scenario files (tests/scenarios); these are
// the orders of events and the limits the scenarios do not reach.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/EventTapCallback.h"
#include "input/FakeTriggerController.h"
#include "input/TriggerRules.h"
#include "platform/sim/SimDesktop.h"

namespace vantor {
namespace {

using platform::EventType;
using platform::Point;
using platform::TapAction;
using platform::TapAnswer;
using platform::TapEvent;
using Commands = std::vector<std::string>;

constexpr platform::EventFlags kOpt = platform::kEventFlagMaskAlternate;
constexpr platform::EventFlags kCmd = platform::kEventFlagMaskCommand;
constexpr std::int32_t kA = 0, kB = 11, kM = 46, kEqual = 24;

bool passes(const TapAnswer& answer) {
    return answer.action == TapAction::Pass;
}
bool swallows(const TapAnswer& answer) {
    return answer.action == TapAction::Swallow;
}

class TriggerStateMachineTest : public ::testing::Test {
protected:
    TapAnswer send(EventType type, std::int32_t code = 0, platform::EventFlags flags = 0) {
        TapEvent event;
        event.type = type;
        event.keyCode = code;
        event.flags = flags;
        return eventTapCallback(nullptr, event, nullptr);
    }
    TapAnswer down(std::int32_t code, platform::EventFlags flags = 0) {
        return send(EventType::KeyDown, code, flags);
    }
    TapAnswer up(std::int32_t code, platform::EventFlags flags = 0) {
        return send(EventType::KeyUp, code, flags);
    }
    TapAnswer modifier(std::int32_t code, platform::EventFlags flags) {
        return send(EventType::FlagsChanged, code, flags);
    }
    // A hint key pressed and released with `flags` held.
    void press(std::int32_t code, platform::EventFlags flags = 0) {
        down(code, flags);
        up(code, flags);
    }
    TriggerState& state() { return ctl.state; }

    sim::SimDesktop desktop;
    testing::FakeTriggerController ctl{desktop};
};

TEST_F(TriggerStateMachineTest, ADisabledNoticeResetsOnceThreeSecondsLaterAndNeedsAController) {
    EXPECT_TRUE(passes(send(EventType::TapDisabledByUserInput)));
    desktop.runFor(2.999);
    EXPECT_EQ(ctl.resets, 0);
    desktop.runFor(10);
    EXPECT_EQ(ctl.resets, 1);

    // Without a controller everything passes and nothing is scheduled.
    gAppDelegate = nullptr;
    EXPECT_TRUE(passes(send(EventType::TapDisabledByTimeout)));
    EXPECT_TRUE(passes(modifier(vk::LeftOption, kOpt)));
    desktop.runFor(5);
    EXPECT_EQ(ctl.resets, 1);
    EXPECT_EQ(ctl.take(), Commands{});
}

TEST_F(TriggerStateMachineTest, ALongPressQuitsByItsLastKeysHintAndEndsTheRun) {
    ctl.isShowing = true;
    ctl.letterCounts = {{'M', 3}};
    press(kM);
    down(kM);
    EXPECT_TRUE(swallows(down(kM)));  // a repeat quicker than the wait of the first release
    EXPECT_TRUE(swallows(down(kM)));
    EXPECT_TRUE(swallows(up(kM)));
    desktop.runFor(1);  // the first release's wait activates nothing after the quit
    EXPECT_EQ(ctl.take(), (Commands{"select M", "select MM", "select MM", "quit MM"}));

    // A second key pressed while the first is down quits by the second key's hint.
    down(kM);
    down(kB);
    EXPECT_EQ(ctl.take(), (Commands{"select M", "select B", "quit B"}));
}

TEST_F(TriggerStateMachineTest, ARunWaitsForAKeyThatIsDownAndDismissesAsTheTriggerWasAtRelease) {
    ctl.isShowing = true;
    ctl.letterCounts = {{'A', 3}, {'M', 2}};
    press(kA);
    down(kA);  // the second press is still down when the first wait ends
    desktop.runFor(0.3);
    EXPECT_EQ(ctl.take(), (Commands{"select A", "select AA"}));
    up(kA);
    desktop.runFor(0.3);
    EXPECT_EQ(ctl.take(), Commands{"activate AA dismiss"});

    // Option held alone at the release keeps the switcher, although nothing is held when the
    // wait ends.
    press(kM, kOpt);
    desktop.runFor(0.3);
    EXPECT_EQ(ctl.take(), (Commands{"select M", "activate M"}));

    // A run whose switcher closed during the wait is dropped.
    press(kA);
    ctl.isShowing = false;
    desktop.runFor(0.3);
    EXPECT_EQ(ctl.take(), Commands{"select A"});
}

TEST_F(TriggerStateMachineTest, KeysOutsideTheHintAlphabetLeaveTheRunAsItIs) {
    ctl.isShowing = true;
    ctl.letterCounts = {{'A', 2}};
    press(kA);
    EXPECT_TRUE(swallows(down(kEqual)));
    EXPECT_TRUE(swallows(up(kEqual)));
    // A key without character (the ISO section key) selects nothing.
    EXPECT_TRUE(swallows(down(10)));
    EXPECT_TRUE(swallows(up(10)));
    press(kA);  // completes the run of A at once
    EXPECT_EQ(ctl.take(),
              (Commands{"select A", "select =", "select ", "select AA", "activate AA dismiss"}));
}

TEST_F(TriggerStateMachineTest, TheTriggerWhileShowingActivatesAndItsReleaseForgetsThePress) {
    ctl.isShowing = true;
    ctl.pressTwice = true;
    state()._lastTriggerKeyDownTime = 1000;
    EXPECT_TRUE(passes(modifier(vk::LeftOption, kOpt)));
    EXPECT_EQ(ctl.take(), Commands{"activateSelected"});
    // The release forgets the last press, so the next press cannot count as a second one.
    EXPECT_TRUE(passes(modifier(vk::LeftOption, 0)));
    EXPECT_EQ(state()._lastTriggerKeyDownTime, 0);
}

TEST_F(TriggerStateMachineTest, TheTriggersReleaseAfterCommandTabPassesOnceUnlessAKeyCameBetween) {
    ctl.trigger = kCmd;
    EXPECT_TRUE(passes(modifier(vk::LeftCommand, kCmd)));  // opens, as the trigger
    EXPECT_TRUE(passes(down(vk::Tab, kCmd)));
    EXPECT_EQ(ctl.take(), (Commands{"show", "show"}));
    EXPECT_TRUE(passes(modifier(vk::LeftCommand, 0)));
    EXPECT_TRUE(swallows(modifier(vk::LeftCommand, 0)));

    // Any other key-down forgets the Command-Tab.
    state() = TriggerState{};
    modifier(vk::LeftCommand, kCmd);
    down(vk::Tab, kCmd);
    down(kA, kCmd);
    EXPECT_TRUE(swallows(modifier(vk::LeftCommand, 0)));
}

class TriggerMouseTest : public TriggerStateMachineTest {
protected:
    TriggerMouseTest() {
        desktop.addApplication("Finder");
        ctl.middleButton = true;
    }
    TapAnswer mouse(EventType type, Point at) {
        TapEvent event;
        event.type = type;
        event.location = at;
        event.buttonNumber = 2;
        return eventTapCallback(nullptr, event, nullptr);
    }
    // The middle button is pressed at `at` with the pointer there.
    TapAnswer middleDown(Point at) {
        desktop.events().setPointer(at);
        return mouse(EventType::OtherMouseDown, at);
    }
    bool pending() { return state()._middleButtonDownTime != kNoMiddleButtonDownTime; }
};

TEST_F(TriggerMouseTest, AHoldOpensWithinFourPointsAndOnlyTheNewestPressesWaitCounts) {
    middleDown({100, 100});
    desktop.events().setPointer({103.9, 100});
    desktop.runFor(0.3);
    EXPECT_EQ(ctl.take(), Commands{"show"});

    state() = TriggerState{};
    middleDown({100, 100});
    desktop.events().setPointer({104, 100});  // moved without a drag event
    desktop.runFor(0.3);
    EXPECT_EQ(ctl.take(), Commands{});

    // A newer press restarts the wait: only its own run opens.
    middleDown({100, 100});
    desktop.runFor(0.1);
    middleDown({100, 100});
    desktop.runFor(0.2);
    EXPECT_EQ(ctl.take(), Commands{});
    desktop.runFor(0.06);
    EXPECT_EQ(ctl.take(), Commands{"show"});
}

TEST_F(TriggerMouseTest, TwoPointsMakeADragAndWhileShowingAMiddleClickQuits) {
    middleDown({100, 100});
    EXPECT_TRUE(passes(mouse(EventType::OtherMouseDragged, {101.9, 100})));
    EXPECT_TRUE(pending());
    EXPECT_TRUE(passes(mouse(EventType::OtherMouseDragged, {100, 102})));  // exactly 2
    EXPECT_FALSE(pending());
    EXPECT_EQ(desktop.inbox("Finder"), std::vector<std::string>{"middle-down 100 100"});

    ctl.isShowing = true;
    EXPECT_TRUE(swallows(middleDown({100, 100})));
    EXPECT_FALSE(pending());
    EXPECT_TRUE(swallows(mouse(EventType::OtherMouseUp, {100, 100})));
    EXPECT_EQ(ctl.take(), Commands{"quitSelected"});
}

TEST_F(TriggerStateMachineTest, TheTapIsCreatedForItsTenEventTypesAndRetriedUntilItIs) {
    desktop.failTapCreation(2);
    installEventTap(ctl);
    EXPECT_FALSE(ctl.tap());
    EXPECT_EQ(desktop.log().count("Fail CGEventTapCreate"), 1u);

    // The retry waits for the default mode.
    desktop.runLoop().pushMode(platform::RunLoopMode::ModalPanel);
    desktop.runFor(1.5);
    EXPECT_EQ(desktop.log().count("Fail CGEventTapCreate"), 1u);
    desktop.runLoop().popMode();
    desktop.runFor(0.001);
    EXPECT_EQ(desktop.log().count("Fail CGEventTapCreate"), 2u);
    EXPECT_FALSE(ctl.tap());
    desktop.runFor(1.0);
    ASSERT_TRUE(ctl.tap());
    EXPECT_TRUE(desktop.events().tapEnabled(ctl.tap()));
    desktop.runFor(5);
    EXPECT_EQ(desktop.log().count("Fail CGEventTapCreate"), 2u);

    const auto taps = desktop.events().taps();
    ASSERT_EQ(taps.size(), 1u);
    EXPECT_EQ(taps[0]->location, platform::EventTapLocation::HID);
    EXPECT_EQ(taps[0]->mask, 0x0E001C1Eu);
    ASSERT_EQ(taps[0]->sources.size(), 1u);
    EXPECT_EQ(taps[0]->sources[0].lock()->modes(), sim::kModeCommon);
}

}  // namespace
}  // namespace vantor
