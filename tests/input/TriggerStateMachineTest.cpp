// The trigger state machine on abstract events, against a controller that records what it is
// told; time, the main queue, the live modifiers and the pointer are a simulated desktop's.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
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
constexpr platform::EventFlags kShift = platform::kEventFlagMaskShift;
constexpr std::int32_t kA = 0, kB = 11, kM = 46, kZ = 6, kEqual = 24;

TapEvent keyEvent(EventType type, std::int32_t code, platform::EventFlags flags = 0) {
    TapEvent event;
    event.type = type;
    event.keyCode = code;
    event.flags = flags;
    return event;
}

TapEvent mouseEvent(EventType type, Point at, std::int64_t button) {
    TapEvent event;
    event.type = type;
    event.location = at;
    event.buttonNumber = button;
    return event;
}

bool passes(const TapAnswer& answer) {
    return answer.action == TapAction::Pass;
}
bool swallows(const TapAnswer& answer) {
    return answer.action == TapAction::Swallow;
}
::testing::AssertionResult passesWithFlags(const TapAnswer& answer, platform::EventFlags flags) {
    if (answer.action == TapAction::PassWithFlags && answer.flags == flags)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "action " << static_cast<int>(answer.action)
                                         << " flags 0x" << std::hex << answer.flags;
}

class TriggerStateMachineTest : public ::testing::Test {
protected:
    TapAnswer send(const TapEvent& event) { return eventTapCallback(nullptr, event, nullptr); }
    TapAnswer down(std::int32_t code, platform::EventFlags flags = 0) {
        return send(keyEvent(EventType::KeyDown, code, flags));
    }
    TapAnswer up(std::int32_t code, platform::EventFlags flags = 0) {
        return send(keyEvent(EventType::KeyUp, code, flags));
    }
    TapAnswer modifier(std::int32_t code, platform::EventFlags flags) {
        return send(keyEvent(EventType::FlagsChanged, code, flags));
    }
    // A hint key pressed and released with nothing held.
    void press(std::int32_t code, platform::EventFlags flags = 0) {
        down(code, flags);
        up(code, flags);
    }
    TapAnswer mouse(EventType type, Point at, std::int64_t button = 0) {
        return send(mouseEvent(type, at, button));
    }
    TriggerState& state() { return ctl.state; }
    bool traced(std::string_view text) const {
        const auto& lines = desktop.trace();
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(text) != std::string::npos;
        });
    }

    sim::SimDesktop desktop;
    testing::FakeTriggerController ctl{desktop};
};

TEST_F(TriggerStateMachineTest, TheAgentsOwnEventsPassUntouchedEvenWhileShowing) {
    ctl.isShowing = true;
    ctl.middleButton = true;
    for (EventType type :
         {EventType::KeyDown, EventType::KeyUp, EventType::FlagsChanged, EventType::RightMouseDown,
          EventType::RightMouseUp, EventType::OtherMouseDown, EventType::OtherMouseUp,
          EventType::LeftMouseUp}) {
        TapEvent event =
            keyEvent(type, type == EventType::FlagsChanged ? vk::LeftOption : kA, kOpt);
        event.buttonNumber = 2;
        event.sourceUserData = kEventMarkerUserData;
        EXPECT_TRUE(passes(send(event))) << static_cast<int>(type);
    }
    EXPECT_EQ(ctl.take(), Commands{});
    EXPECT_EQ(state()._longPressingKey, kNoKey);
    EXPECT_EQ(state()._middleButtonDownTime, kNoMiddleButtonDownTime);
}

TEST_F(TriggerStateMachineTest, ADisabledNoticeLeadsToExactlyOneResetThreeSecondsLater) {
    TapEvent notice;
    notice.type = EventType::TapDisabledByTimeout;
    EXPECT_TRUE(passes(send(notice)));
    desktop.runFor(2.999);
    EXPECT_EQ(ctl.resets, 0);
    ctl.reset();  // the tap is switched on some other way meanwhile: the run still comes
    desktop.runFor(0.002);
    EXPECT_EQ(ctl.resets, 2);
    desktop.runFor(10);
    EXPECT_EQ(ctl.resets, 2);

    notice.type = EventType::TapDisabledByUserInput;
    state()._longPressingKey = kLongPressUsedUp;
    EXPECT_TRUE(passes(send(notice)));
    EXPECT_EQ(state()._longPressingKey, kLongPressUsedUp);  // nothing else happens at once
    desktop.runFor(3.001);
    EXPECT_EQ(ctl.resets, 3);
    EXPECT_EQ(state()._longPressingKey, kNoKey);
    EXPECT_EQ(ctl.take(), Commands{});

    // Without a controller everything passes and nothing is scheduled.
    gAppDelegate = nullptr;
    EXPECT_TRUE(passes(send(notice)));
    EXPECT_TRUE(passes(modifier(vk::LeftOption, kOpt)));
    desktop.runFor(5);
    EXPECT_EQ(ctl.resets, 3);
    EXPECT_EQ(ctl.take(), Commands{});
}

TEST_F(TriggerStateMachineTest, CommandTabWhileClosedIsNotedAndOpensTheSwitcherToo) {
    EXPECT_TRUE(passes(down(vk::Tab, kCmd)));
    EXPECT_TRUE(state()._isTriggeredByCmdTab);
    EXPECT_EQ(ctl.take(), Commands{"show"});

    // Any other key-down forgets it; Tab without Command changes nothing else.
    EXPECT_TRUE(passes(down(vk::Tab)));
    EXPECT_FALSE(state()._isTriggeredByCmdTab);
    EXPECT_TRUE(passes(up(vk::Tab, kCmd)));
    EXPECT_TRUE(passes(down(kA, kCmd)));
    EXPECT_EQ(ctl.take(), Commands{});
    EXPECT_EQ(state()._longPressingKey, kNoKey);

    // While the switcher shows, Tab is a navigation key, whatever the flags.
    ctl.isShowing = true;
    EXPECT_TRUE(passesWithFlags(down(vk::Tab, kCmd), kCmd));
    EXPECT_FALSE(state()._isTriggeredByCmdTab);
    EXPECT_EQ(ctl.take(), Commands{});
}

TEST_F(TriggerStateMachineTest, AKeyDownSelectsTheKeyItsReleaseWillReach) {
    ctl.isShowing = true;
    ctl.letterCounts = {{'A', 3}, {'B', 2}};
    EXPECT_TRUE(swallows(down(kA)));
    EXPECT_EQ(state()._longPressingKey, kA);
    EXPECT_TRUE(swallows(up(kA)));
    EXPECT_TRUE(swallows(down(kA)));
    up(kA);
    // B right after A starts its own run.
    down(kB);
    EXPECT_EQ(ctl.take(), (Commands{"select A", "select AA", "select B"}));
    EXPECT_EQ(state()._longPressingKey, kB);
}

TEST_F(TriggerStateMachineTest, AHeldKeySelectsThenQuitsOnceAndItsReleaseDoesNothing) {
    ctl.isShowing = true;
    ctl.letterCounts = {{'M', 2}};
    down(kM);
    EXPECT_TRUE(swallows(down(kM)));  // the first repeat
    EXPECT_EQ(state()._longPressingKey, kLongPressUsedUp);
    EXPECT_EQ(state()._lastKey, kNoKey);
    EXPECT_TRUE(swallows(down(kM)));
    EXPECT_TRUE(swallows(down(kM)));
    EXPECT_TRUE(swallows(up(kM)));
    EXPECT_EQ(state()._longPressingKey, kNoKey);
    EXPECT_EQ(state()._keyupCount, 0);
    desktop.runFor(1);
    EXPECT_EQ(ctl.take(), (Commands{"select M", "select M", "quit M"}));

    // A second key pressed while the first is down quits by the second key's hint.
    press(kM);
    ctl.take();
    down(kM);
    down(kB);
    EXPECT_EQ(ctl.take(), (Commands{"select MM", "select B", "quit B"}));
}

TEST_F(TriggerStateMachineTest, AQuitByARepeatBeforeTheRunsWaitEndsActivatesNothingAfter) {
    ctl.isShowing = true;
    ctl.letterCounts = {{'M', 3}};
    press(kM);
    down(kM);
    down(kM);  // a repeat quicker than the wait of the first release
    up(kM);
    desktop.runFor(1);
    EXPECT_EQ(ctl.take(), (Commands{"select M", "select MM", "select MM", "quit MM"}));
    EXPECT_EQ(state()._keyupCount, 0);
    EXPECT_FALSE(state()._delayedActivateKey);
}

TEST_F(TriggerStateMachineTest, AnActivationDismissesUnlessTheTriggerWasHeldAloneAtTheRelease) {
    ctl.isShowing = true;
    ctl.letterCounts = {{'A', 1}, {'M', 2}};
    down(kA);
    EXPECT_TRUE(swallows(up(kA)));  // one item: at once
    EXPECT_EQ(ctl.take(), (Commands{"select A", "activate A dismiss"}));
    EXPECT_EQ(state()._lastKey, kNoKey);
    EXPECT_EQ(state()._keyupCount, 0);
    EXPECT_FALSE(state()._delayedActivateKey);
    EXPECT_EQ(state()._longPressingKey, kNoKey);

    press(kA, kOpt);
    press(kA, kOpt | kShift);  // another modifier with it: not alone
    EXPECT_EQ(ctl.take(), (Commands{"select A", "activate A", "select A", "activate A dismiss"}));

    // After a pause: as it was at the release, whatever is held when the wait ends.
    press(kM, kOpt);
    desktop.runFor(0.249);
    EXPECT_EQ(ctl.take(), Commands{"select M"});
    desktop.runFor(0.002);
    EXPECT_EQ(ctl.take(), Commands{"activate M"});
    EXPECT_EQ(state()._lastKey, kNoKey);
    EXPECT_EQ(state()._keyupCount, 0);
    EXPECT_FALSE(state()._delayedActivateKey);
}

TEST_F(TriggerStateMachineTest, APausedRunWaitsWhileAKeyIsDownAndIsDroppedWhenTheSwitcherCloses) {
    ctl.isShowing = true;
    ctl.letterCounts = {{'A', 3}};
    press(kA);
    down(kA);  // the second press is still down when the first wait ends
    desktop.runFor(0.3);
    EXPECT_EQ(ctl.take(), (Commands{"select A", "select AA"}));
    up(kA);
    desktop.runFor(0.3);
    EXPECT_EQ(ctl.take(), Commands{"activate AA dismiss"});

    press(kA);
    ctl.isShowing = false;
    desktop.runFor(0.3);
    EXPECT_EQ(ctl.take(), Commands{"select A"});
    EXPECT_EQ(state()._lastKey, kA);
    EXPECT_EQ(state()._keyupCount, 1);
    EXPECT_EQ(state()._delayedActivateKey, "A");
}

TEST_F(TriggerStateMachineTest, KeysOutsideTheHintAlphabetOnlyClearTheLongPressSlot) {
    ctl.isShowing = true;
    ctl.letterCounts = {{'A', 2}};
    press(kA);
    EXPECT_TRUE(swallows(down(kEqual)));
    EXPECT_EQ(state()._longPressingKey, kEqual);
    EXPECT_TRUE(swallows(up(kEqual)));
    EXPECT_EQ(state()._longPressingKey, kNoKey);
    EXPECT_EQ(state()._lastKey, kA);
    EXPECT_EQ(state()._keyupCount, 1);
    // A key without character (the ISO section key) selects nothing.
    EXPECT_TRUE(swallows(down(10)));
    EXPECT_TRUE(swallows(up(10)));
    EXPECT_EQ(ctl.take(), (Commands{"select A", "select =", "select "}));
}

TEST_F(TriggerStateMachineTest, TheReleaseCountStopsAtThirtyTwo) {
    ctl.isShowing = true;  // no item has Z: the run never completes
    for (int i = 0; i < 40; ++i) {
        press(kZ);
        ASSERT_LE(state()._keyupCount, kMaxKeyupCount);
    }
    EXPECT_EQ(state()._keyupCount, 32);
    EXPECT_EQ(state()._delayedActivateKey, std::string(32, 'Z'));
    EXPECT_EQ(ctl.commands.back(), "select " + std::string(32, 'Z'));
    desktop.runFor(0.3);
    EXPECT_EQ(ctl.commands.back(), "activate " + std::string(32, 'Z') + " dismiss");
    EXPECT_EQ(state()._keyupCount, 0);
}

TEST_F(TriggerStateMachineTest, TheTriggerAloneOpensOrActivatesTheSelection) {
    state()._isTriggeredByMouse = true;
    EXPECT_TRUE(passes(modifier(vk::RightOption, kOpt)));  // without press-twice: one press
    EXPECT_EQ(ctl.take(), Commands{"show"});
    EXPECT_TRUE(state()._isTriggeredByModifierKey);
    EXPECT_FALSE(state()._isTriggeredByMouse);
    EXPECT_EQ(state()._lastModifierKey, vk::RightOption);
    // Its release, while the switcher is on its way, is kept from the applications.
    EXPECT_TRUE(swallows(modifier(vk::RightOption, 0)));

    ctl.isShowing = true;
    ctl.pressTwice = true;
    state()._lastTriggerKeyDownTime = 1000;
    EXPECT_TRUE(passes(modifier(vk::LeftOption, kOpt)));
    EXPECT_EQ(ctl.take(), Commands{"activateSelected"});
    EXPECT_EQ(state()._lastModifierKey, vk::LeftOption);
    // Its release forgets the last press, so the next press cannot count as a second one.
    EXPECT_TRUE(passes(modifier(vk::LeftOption, 0)));
    EXPECT_EQ(state()._lastTriggerKeyDownTime, 0);
}

TEST_F(TriggerStateMachineTest, TheTriggerWithAnotherModifierOrNoTriggerAtAllOpensNothing) {
    EXPECT_TRUE(passes(modifier(vk::LeftOption, kOpt | kShift)));
    EXPECT_EQ(state()._lastModifierKey, 0);
    // ... and is kept away while a switcher the modifier opened is on its way.
    state()._isTriggeredByModifierKey = true;
    EXPECT_TRUE(swallows(modifier(vk::LeftOption, kOpt | kShift)));
    // Other modifier keys never are.
    EXPECT_TRUE(passes(modifier(vk::LeftShift, kOpt | kShift)));

    ctl.trigger = kNoTriggerModifier;
    for (std::int32_t key : {54, 55, 56, 58, 59, 60, 61, 62, 63}) {
        EXPECT_TRUE(passes(modifier(key, 0)));
        EXPECT_TRUE(passes(modifier(key, ~platform::EventFlags{0})));
    }
    EXPECT_EQ(ctl.take(), Commands{});
    EXPECT_EQ(state()._lastModifierKey, 0);
}

TEST_F(TriggerStateMachineTest, TheTriggersReleaseAfterCommandTabPassesOnce) {
    ctl.trigger = kCmd;
    EXPECT_TRUE(passes(modifier(vk::LeftCommand, kCmd)));  // opens, as the trigger
    EXPECT_TRUE(passes(down(vk::Tab, kCmd)));
    EXPECT_EQ(ctl.take(), (Commands{"show", "show"}));
    // The quick release of a Command-Tab reaches the Dock, although the press opened too.
    EXPECT_TRUE(passes(modifier(vk::LeftCommand, 0)));
    EXPECT_FALSE(state()._isTriggeredByCmdTab);
    EXPECT_TRUE(swallows(modifier(vk::LeftCommand, 0)));
}

class TriggerMouseTest : public TriggerStateMachineTest {
protected:
    TriggerMouseTest() {
        desktop.addApplication("Finder");
        ctl.middleButton = true;
    }
    // The middle button is pressed at `at` with the pointer there.
    TapAnswer middleDown(Point at) {
        desktop.events().setPointer(at);
        return mouse(EventType::OtherMouseDown, at, 2);
    }
    bool pending() { return state()._middleButtonDownTime != kNoMiddleButtonDownTime; }
};

TEST_F(TriggerMouseTest, AHoldOpensWhenStillPendingAfterTheHoldTimeWithinFourPoints) {
    EXPECT_TRUE(swallows(middleDown({100, 100})));
    EXPECT_EQ(state()._middleButtonDownTime, desktop.platform().runLoop.absoluteTime());
    EXPECT_EQ(state()._middleButtonDownPos, (Point{100, 100}));
    desktop.events().setPointer({103.9, 100});
    desktop.runFor(0.249);
    EXPECT_EQ(ctl.take(), Commands{});
    desktop.runFor(0.002);
    EXPECT_EQ(ctl.take(), Commands{"show"});
    EXPECT_TRUE(state()._isTriggeredByMouse);
    EXPECT_TRUE(pending());  // until the release
    // The release that ends the hold is swallowed, whether or not the switcher shows yet.
    EXPECT_TRUE(swallows(mouse(EventType::OtherMouseUp, {100, 100}, 2)));
    EXPECT_FALSE(state()._isTriggeredByMouse);
    EXPECT_FALSE(pending());

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

    // A press already released opens nothing.
    state() = TriggerState{};
    middleDown({100, 100});
    mouse(EventType::OtherMouseUp, {100, 100}, 2);
    desktop.runFor(0.3);
    EXPECT_EQ(ctl.take(), Commands{});
}

TEST_F(TriggerMouseTest, ClicksAndDragsReplayTheHeldBackPressOnceAsTheAgentsOwn) {
    middleDown({100, 100});
    EXPECT_TRUE(passes(mouse(EventType::OtherMouseDragged, {101, 101}, 2)));
    EXPECT_TRUE(passes(mouse(EventType::OtherMouseUp, {101, 101}, 2)));
    EXPECT_FALSE(pending());
    EXPECT_EQ(desktop.inbox("Finder"), std::vector<std::string>{"middle-down 101 101"});
    EXPECT_TRUE(traced("post middle-down 101 101 (user data 19900620)"));

    middleDown({100, 100});
    EXPECT_TRUE(passes(mouse(EventType::OtherMouseDragged, {101.9, 100}, 2)));
    EXPECT_TRUE(pending());
    EXPECT_EQ(desktop.inbox("Finder"), std::vector<std::string>{});
    EXPECT_TRUE(passes(mouse(EventType::OtherMouseDragged, {100, 102}, 2)));  // exactly 2
    EXPECT_FALSE(pending());
    EXPECT_TRUE(passes(mouse(EventType::OtherMouseDragged, {100, 110}, 2)));
    EXPECT_TRUE(passes(mouse(EventType::OtherMouseUp, {100, 110}, 2)));
    EXPECT_EQ(desktop.inbox("Finder"), std::vector<std::string>{"middle-down 100 100"});
    desktop.runFor(0.3);
    EXPECT_EQ(ctl.take(), Commands{});
}

TEST_F(TriggerMouseTest, WithTheTriggerOffOrAnotherButtonNothingIsHeldBack) {
    ctl.middleButton = false;
    EXPECT_TRUE(passes(middleDown({100, 100})));
    EXPECT_TRUE(passes(mouse(EventType::OtherMouseDragged, {120, 100}, 2)));
    EXPECT_TRUE(passes(mouse(EventType::OtherMouseUp, {120, 100}, 2)));
    EXPECT_FALSE(pending());

    ctl.middleButton = true;
    for (EventType type :
         {EventType::OtherMouseDown, EventType::OtherMouseDragged, EventType::OtherMouseUp})
        EXPECT_TRUE(passes(mouse(type, {100, 100}, 3)));
    EXPECT_FALSE(pending());
    desktop.runFor(0.3);
    EXPECT_EQ(ctl.take(), Commands{});
    EXPECT_EQ(desktop.received("Finder"), std::vector<std::string>{});
}

TEST_F(TriggerMouseTest, WhileShowingMiddleAndRightClicksActOnTheSelection) {
    ctl.isShowing = true;
    EXPECT_TRUE(swallows(middleDown({100, 100})));
    EXPECT_FALSE(pending());
    EXPECT_TRUE(passes(mouse(EventType::OtherMouseDragged, {200, 100}, 2)));  // nothing held
    EXPECT_TRUE(swallows(mouse(EventType::OtherMouseUp, {200, 100}, 2)));
    EXPECT_EQ(ctl.take(), Commands{"quitSelected"});

    // Also with the trigger off, where the press itself passes.
    ctl.middleButton = false;
    EXPECT_TRUE(passes(middleDown({100, 100})));
    EXPECT_TRUE(swallows(mouse(EventType::OtherMouseUp, {100, 100}, 2)));
    EXPECT_EQ(ctl.take(), Commands{"quitSelected"});

    // The release of the hold that opened the switcher quits nothing.
    state()._isTriggeredByMouse = true;
    EXPECT_TRUE(swallows(mouse(EventType::OtherMouseUp, {100, 100}, 2)));
    EXPECT_FALSE(state()._isTriggeredByMouse);

    EXPECT_TRUE(swallows(mouse(EventType::RightMouseDown, {100, 100}, 1)));
    EXPECT_TRUE(swallows(mouse(EventType::RightMouseUp, {100, 100}, 1)));
    EXPECT_TRUE(passes(mouse(EventType::LeftMouseDown, {100, 100})));
    EXPECT_EQ(ctl.take(), Commands{"activateSelected"});

    ctl.isShowing = false;
    EXPECT_TRUE(passes(mouse(EventType::RightMouseDown, {100, 100}, 1)));
    EXPECT_TRUE(passes(mouse(EventType::RightMouseUp, {100, 100}, 1)));
    EXPECT_TRUE(passes(mouse(EventType::LeftMouseUp, {100, 100})));
    EXPECT_EQ(ctl.take(), Commands{});
}

TEST_F(TriggerMouseTest, ALeftClickOnTheOverlayPressesItsButtonOrActivates) {
    platform::LoadedLayout layout = desktop.platform().ui.loadLayout("MainMenu", ctl);
    ASSERT_TRUE(layout.window);
    // 520 x 160 at (700, 460) in screen coordinates; the preferences button keeps to the
    // top-right corner, 20 x 20, 6 points in.
    layout.window->setFrame({{700, 460}, {520, 160}}, true);
    ctl.overlay = layout.window.get();
    ctl.isShowing = true;
    // The pointer in Accessibility coordinates; the overlay hit-tests in screen coordinates.
    auto clickAt = [&](Point screen) {
        desktop.events().setPointer({screen.x, 1080 - screen.y});
        return mouse(EventType::LeftMouseUp, {screen.x, 1080 - screen.y});
    };

    EXPECT_TRUE(passes(clickAt({710, 470})));  // the background, near the bottom-left
    EXPECT_EQ(ctl.take(), Commands{"activateSelected"});
    EXPECT_TRUE(passes(clickAt({1204, 604})));  // the preferences button: top-right corner
    EXPECT_EQ(ctl.take(), Commands{"action showPref:"});
    EXPECT_TRUE(passes(clickAt({1180, 604})));  // beside the button
    EXPECT_TRUE(passes(clickAt({600, 500})));   // outside the overlay
    EXPECT_TRUE(passes(clickAt({710, 640})));
    EXPECT_EQ(ctl.take(), Commands{"activateSelected"});

    ctl.overlay = nullptr;
    EXPECT_TRUE(passes(clickAt({710, 470})));
    EXPECT_EQ(ctl.take(), Commands{});
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

    const auto taps = desktop.events().taps();
    ASSERT_EQ(taps.size(), 1u);
    EXPECT_EQ(taps[0]->location, platform::EventTapLocation::HID);
    EXPECT_EQ(taps[0]->mask, 0x0E001C1Eu);
    EXPECT_EQ(taps[0]->userInfo, nullptr);
    ASSERT_EQ(taps[0]->sources.size(), 1u);
    EXPECT_EQ(taps[0]->sources[0].lock()->modes(), sim::kModeCommon);
}

}  // namespace
}  // namespace vantor
