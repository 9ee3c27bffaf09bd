#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimProbes.h"
#include "platform/sim/SimDesktop.h"

namespace vantor::sim {
namespace {

using platform::EventTapProxy;
using platform::EventType;
using platform::TapAnswer;
using platform::TapEvent;
using testing::TapProbe;
using Strings = std::vector<std::string>;

class SimEventServicesTest : public ::testing::Test {
protected:
    SimEventServicesTest() : events(desktop.platform().events) {
        desktop.addApplication("Safari");
        marker = events.sourceCreate(platform::EventSourceStateID::Private);
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
        return {platform::TapAction::Swallow, 0};
    };
    desktop.disableTaps(EventType::TapDisabledByUserInput);
    desktop.tapKey("A");
    ASSERT_EQ(tap.seen.size(), 1u);
    EXPECT_EQ(tap.seen[0].event.type, EventType::TapDisabledByUserInput);
    EXPECT_EQ(desktop.inbox("Safari"), (Strings{"key-down A", "key-up A"}));

    events.tapEnable(tap.tap, true);
    // A slow callback is cut off: its event passes as it was and the timeout notice follows.
    desktop.setTapsSlow(true);
    desktop.keyDown("B");
    ASSERT_EQ(tap.seen.size(), 3u);
    EXPECT_EQ(tap.seen[2].event.type, EventType::TapDisabledByTimeout);
    EXPECT_EQ(desktop.inbox("Safari"), Strings{"key-down B"});
    EXPECT_FALSE(desktop.events().tapEnabled(tap.tap));
}

TEST_F(SimEventServicesTest, TheLastKeyHeldRepeatsAndModifiersNeitherRepeatNorStopIt) {
    desktop.keyDown("A");
    desktop.runUntil(0.5);
    desktop.keyDown("LeftShift");
    desktop.runUntil(0.555);
    EXPECT_EQ(desktop.inbox("Safari"), (Strings{"key-down A", "key-down A", "key-down A",
                                                "flags LeftShift shift", "key-down A shift"}));
    desktop.keyDown("B");  // now B repeats, not A
    desktop.keyUp("LeftShift");
    desktop.runUntil(0.929999);
    EXPECT_EQ(desktop.inbox("Safari"), (Strings{"key-down B shift", "flags LeftShift"}));
    desktop.runUntil(0.93);
    EXPECT_EQ(desktop.inbox("Safari"), Strings{"key-down B"});
    desktop.keyUp("B");
    EXPECT_TRUE(desktop.runUntilIdle());
}

TEST_F(SimEventServicesTest, ModifierFlagsFollowBothSidesAndThePointerHasTwoOrigins) {
    desktop.keyDown("LeftCommand");
    desktop.keyDown("RightCommand");
    desktop.keyUp("LeftCommand");
    EXPECT_EQ(events.sourceFlagsState(platform::EventSourceStateID::HIDSystem),
              platform::kEventFlagMaskCommand);
    desktop.keyUp("RightCommand");
    EXPECT_EQ(events.sourceFlagsState(platform::EventSourceStateID::CombinedSession), 0u);

    // Events and Accessibility count y down from the top, the window server up from the bottom.
    desktop.mouseMove({300, 5});
    EXPECT_EQ(events.pointerLocation(), (platform::Point{300, 5}));
    EXPECT_EQ(events.mouseLocation(), (platform::Point{300, 1075}));
    events.post(platform::EventTapLocation::HID,
                events.createMouseEvent(marker, EventType::MouseMoved, {640, 480},
                                        platform::MouseButton::Left));
    EXPECT_EQ(events.pointerLocation(), (platform::Point{640, 480}));  // a posted move moves it
    desktop.mouseDrag(platform::MouseButton::Center, {110.4, 219.6});  // printed rounded
    EXPECT_EQ(desktop.inbox("Safari").back(), "middle-drag 110 220");
}

}  // namespace
}  // namespace vantor::sim
