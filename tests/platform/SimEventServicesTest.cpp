#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "SimProbes.h"
#include "platform/sim/SimDesktop.h"

namespace vantor::sim {
namespace {

using platform::EventTapProxy;
using platform::EventType;
using platform::TapAction;
using platform::TapAnswer;
using platform::TapEvent;
using testing::TapProbe;
using Strings = std::vector<std::string>;

constexpr std::int64_t kMarker = 19900620;

class SimEventServicesTest : public ::testing::Test {
protected:
    SimEventServicesTest() : events(desktop.platform().events) {
        desktop.addApplication("Safari");
        desktop.addApplication("Mail");
        marker = events.sourceCreate(platform::EventSourceStateID::Private);
        events.sourceSetUserData(marker, kMarker);
    }
    platform::Event keyEvent(std::uint16_t code, platform::EventFlags flags = 0) {
        platform::Event event = events.createKeyboardEvent(marker, code, true);
        events.setFlags(event, flags);
        return event;
    }
    SimDesktop desktop;
    platform::EventServices& events;
    platform::EventSource marker;
};

TEST_F(SimEventServicesTest, ATapPassesChangesOrSwallowsWhatTheApplicationThenReceives) {
    TapProbe tap(desktop);
    tap.handler = [](EventTapProxy, const TapEvent& event) -> TapAnswer {
        if (event.keyCode == keycode::A) return {TapAction::Swallow, 0};
        if (event.keyCode == keycode::Q) {
            return {TapAction::PassWithFlags, platform::kEventFlagMaskShift};
        }
        return {};
    };
    desktop.keyDown("LeftCommand");
    desktop.tapKey("A");
    desktop.tapKey("Q");
    desktop.keyUp("LeftCommand");
    EXPECT_EQ(tap.printed(), (Strings{"flags LeftCommand cmd", "key-down A cmd", "key-up A cmd",
                                      "key-down Q cmd", "key-up Q cmd", "flags LeftCommand"}));
    EXPECT_EQ(desktop.inbox("Safari"), (Strings{"flags LeftCommand cmd", "key-down Q shift",
                                                "key-up Q shift", "flags LeftCommand"}));
    EXPECT_EQ(tap.seen[1].event.sourceUserData, 0) << "hardware events carry no user data";
    const auto& trace = desktop.trace();
    EXPECT_NE(std::find(trace.begin(), trace.end(), "  0.000000 tap pass"), trace.end());
}

TEST_F(SimEventServicesTest, EventsPostedAtHidComeBackToTheTapAfterTheEventBeingHandled) {
    TapProbe tap(desktop);
    tap.handler = [&](EventTapProxy, const TapEvent& event) -> TapAnswer {
        if (event.type == EventType::KeyDown && event.keyCode == keycode::A) {
            events.post(platform::EventTapLocation::HID, keyEvent(keycode::H, 0x100000));
            events.post(platform::EventTapLocation::HID, keyEvent(keycode::Q, 0x100000));
        }
        return {};
    };
    desktop.keyDown("A");
    EXPECT_EQ(tap.deepest, 1) << "posting never re-enters the callback";
    ASSERT_EQ(tap.printed(), (Strings{"key-down A", "key-down H cmd", "key-down Q cmd"}));
    EXPECT_EQ(tap.seen[1].event.sourceUserData, kMarker);
    EXPECT_EQ(tap.seen[2].event.sourceUserData, kMarker);
    EXPECT_EQ(desktop.inbox("Safari"), (Strings{"key-down A", "key-down H cmd", "key-down Q cmd"}));
}

TEST_F(SimEventServicesTest, EventsPostedThroughAProxyGoOnFromAfterThatTapAheadOfTheEvent) {
    TapProbe older(desktop);
    TapProbe newer(desktop);  // inserted at the head: sees events first
    newer.handler = [&](EventTapProxy proxy, const TapEvent& event) -> TapAnswer {
        if (event.type == EventType::KeyDown && event.keyCode == keycode::A) {
            events.tapPostEvent(proxy, keyEvent(keycode::H));
        }
        return {};
    };
    desktop.keyDown("A");
    EXPECT_EQ(newer.printed(), Strings{"key-down A"});
    EXPECT_EQ(older.printed(), (Strings{"key-down H", "key-down A"}));
    EXPECT_EQ(desktop.inbox("Safari"), (Strings{"key-down H", "key-down A"}));
}

TEST_F(SimEventServicesTest, DisabledTapsGetTheirNoticeAndStayOffUntilEnabled) {
    TapProbe tap(desktop);
    tap.handler = [](EventTapProxy, const TapEvent&) -> TapAnswer {
        return {TapAction::Swallow, 0};
    };
    desktop.disableTaps(EventType::TapDisabledByUserInput);
    ASSERT_EQ(tap.seen.size(), 1u);
    EXPECT_EQ(tap.seen[0].event.type, EventType::TapDisabledByUserInput);
    desktop.tapKey("A");
    EXPECT_EQ(tap.seen.size(), 1u);
    EXPECT_EQ(desktop.inbox("Safari"), (Strings{"key-down A", "key-up A"}));

    events.tapEnable(tap.tap, true);
    desktop.tapKey("A");
    EXPECT_EQ(tap.seen.size(), 3u);
    EXPECT_TRUE(desktop.inbox("Safari").empty());

    // A slow callback is cut off: its event passes as it was and the timeout notice follows.
    desktop.setTapsSlow(true);
    desktop.keyDown("B");
    ASSERT_EQ(tap.seen.size(), 5u);
    EXPECT_EQ(tap.seen[4].event.type, EventType::TapDisabledByTimeout);
    EXPECT_EQ(desktop.inbox("Safari"), Strings{"key-down B"});
    EXPECT_FALSE(desktop.events().tapEnabled(tap.tap));
}

TEST_F(SimEventServicesTest, TheLastKeyHeldRepeatsAndModifiersNeitherRepeatNorStopIt) {
    desktop.keyDown("A");
    desktop.runUntil(0.374999999);
    EXPECT_EQ(desktop.inbox("Safari"), Strings{"key-down A"});
    desktop.runUntil(0.375);
    EXPECT_EQ(desktop.inbox("Safari"), Strings{"key-down A"});
    desktop.runUntil(0.465);
    EXPECT_EQ(desktop.inbox("Safari"), Strings{"key-down A"});

    desktop.runUntil(0.5);
    desktop.keyDown("LeftShift");
    desktop.runUntil(0.555);
    EXPECT_EQ(desktop.inbox("Safari"), (Strings{"flags LeftShift shift", "key-down A shift"}));
    desktop.runUntil(0.6);
    desktop.keyDown("B");  // now B repeats, not A
    desktop.keyUp("LeftShift");
    desktop.runUntil(0.974999);
    EXPECT_EQ(desktop.inbox("Safari"), (Strings{"key-down B shift", "flags LeftShift"}));
    desktop.runUntil(0.975);
    EXPECT_EQ(desktop.inbox("Safari"), Strings{"key-down B"});
    desktop.keyUp("B");
    desktop.runFor(1.0);
    EXPECT_EQ(desktop.inbox("Safari"), Strings{"key-up B"});
    EXPECT_TRUE(desktop.runUntilIdle());
}

TEST_F(SimEventServicesTest, RoutingSendsCommandTabToTheDockKeysToTheActiveAppMouseToTheFront) {
    desktop.hideApplication("Safari");
    EXPECT_EQ(desktop.front(), "Mail");
    desktop.tapKey("Space");
    desktop.keyDown("LeftControl");
    desktop.tapKey("Tab");  // no Command: an ordinary key
    desktop.keyUp("LeftControl");
    desktop.mouseMove({100, 200});
    desktop.mouseDown(platform::MouseButton::Center, {100, 200});
    desktop.mouseDrag(platform::MouseButton::Center, {110.4, 219.6});
    desktop.mouseUp(platform::MouseButton::Right, {300, 5});
    EXPECT_EQ(desktop.inbox("Mail"),
              (Strings{"key-down Space", "key-up Space", "flags LeftControl ctrl",
                       "key-down Tab ctrl", "key-up Tab ctrl", "flags LeftControl",
                       "middle-down 100 200", "middle-drag 110 220", "right-up 300 5"}));
    EXPECT_TRUE(desktop.received("Safari").empty());
    EXPECT_EQ(events.pointerLocation(), (platform::Point{300, 5}));
    EXPECT_EQ(events.mouseLocation(), (platform::Point{300, 1075}));

    // A posted pointer move moves the pointer.
    events.post(platform::EventTapLocation::HID,
                events.createMouseEvent(marker, EventType::MouseMoved, {640, 480},
                                        platform::MouseButton::Left));
    EXPECT_EQ(events.pointerLocation(), (platform::Point{640, 480}));
}

TEST_F(SimEventServicesTest, PostedKeyPressesWorkTheSwitcherAsTheAgentPostsThem) {
    // Command-Tab as key-down and key-up with flags exactly Command, no Command key held.
    events.post(platform::EventTapLocation::HID, keyEvent(keycode::Tab, 0x100000));
    platform::Event up = events.createKeyboardEvent(marker, keycode::Tab, false);
    events.setFlags(up, 0x100000);
    events.post(platform::EventTapLocation::HID, up);
    desktop.runFor(0.05);
    ASSERT_TRUE(desktop.switcherShowing());
    EXPECT_EQ(desktop.highlighted(), "Mail");

    // A pointer move onto an icon, then Command-Q (a key-down only) quits that application.
    const platform::Rect safari = *desktop.iconFrame("Safari");
    events.post(platform::EventTapLocation::HID,
                events.createMouseEvent(marker, EventType::MouseMoved,
                                        {safari.origin.x + 64, safari.origin.y + 64},
                                        platform::MouseButton::Left));
    EXPECT_EQ(desktop.highlighted(), "Safari");
    events.post(platform::EventTapLocation::HID, keyEvent(keycode::Q, 0x100000));
    EXPECT_FALSE(desktop.running("Safari"));
    EXPECT_TRUE(desktop.switcherShowing()) << "it stays until Command is released";
    EXPECT_TRUE(desktop.received("Safari").empty());
}

TEST_F(SimEventServicesTest, ModifierFlagsFollowBothSidesOfAKey) {
    desktop.keyDown("LeftCommand");
    desktop.keyDown("RightCommand");
    desktop.keyUp("LeftCommand");
    EXPECT_EQ(events.sourceFlagsState(platform::EventSourceStateID::HIDSystem),
              platform::kEventFlagMaskCommand);
    desktop.keyUp("RightCommand");
    EXPECT_EQ(events.sourceFlagsState(platform::EventSourceStateID::CombinedSession), 0u);
    EXPECT_EQ(desktop.inbox("Safari"), (Strings{"flags LeftCommand cmd", "flags RightCommand cmd",
                                                "flags LeftCommand cmd", "flags RightCommand"}));
}

}  // namespace
}  // namespace vantor::sim
