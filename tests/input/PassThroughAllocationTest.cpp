// The tap sits in the path of every key and button event; while the switcher is closed an
// ordinary event must pass without touching the heap. This file replaces the global
// allocation functions with counting ones for the whole test program; they count only while a
// test has switched counting on. (Over-aligned allocations keep the library's own pair.)
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>

#include "app/Agent.h"
#include "input/EventTapCallback.h"
#include "platform/sim/SimDesktop.h"

namespace {

bool gCounting = false;
std::size_t gAllocations = 0;

void* allocate(std::size_t size) {
    if (gCounting) ++gAllocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

}  // namespace

// The library's array, nothrow and sized forms come down to these two.
void* operator new(std::size_t size) {
    return allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace vantor {
namespace {

using platform::EventType;
using platform::TapAction;
using platform::TapEvent;

TEST(PassThroughAllocationTest, OrdinaryEventsPassWithoutAllocatingWhileTheSwitcherIsClosed) {
    sim::SimDesktop desktop;
    desktop.addApplication("Safari");
    Agent agent(desktop.platform());
    agent.applicationDidFinishLaunching();
    agent.appDelegate().setRightClickToTrigger(true);
    ASSERT_FALSE(agent.appDelegate().showing());

    auto event = [](EventType type, std::int64_t keyCode, platform::EventFlags flags) {
        TapEvent e;
        e.type = type;
        e.keyCode = keyCode;
        e.flags = flags;
        e.location = {300, 300};
        e.buttonNumber = type >= EventType::OtherMouseDown ? 3 : 0;
        return e;
    };
    // A typed letter with Shift (key, flags), an arrow and Return, a plain click, a right
    // click, a press of a mouse button other than the middle one, and a modifier that is not
    // the trigger.
    const TapEvent events[] = {
        event(EventType::FlagsChanged, 56, platform::kEventFlagMaskShift),
        event(EventType::KeyDown, 0, platform::kEventFlagMaskShift),
        event(EventType::KeyUp, 0, platform::kEventFlagMaskShift),
        event(EventType::FlagsChanged, 56, 0),
        event(EventType::KeyDown, 124, 0),
        event(EventType::KeyUp, 124, 0),
        event(EventType::KeyDown, 36, 0),
        event(EventType::KeyUp, 36, 0),
        event(EventType::LeftMouseDown, 0, 0),
        event(EventType::LeftMouseUp, 0, 0),
        event(EventType::RightMouseDown, 0, 0),
        event(EventType::RightMouseUp, 0, 0),
        event(EventType::OtherMouseDown, 0, 0),
        event(EventType::OtherMouseDragged, 0, 0),
        event(EventType::OtherMouseUp, 0, 0),
    };

    // The counting itself works: this allocation is seen.
    gCounting = true;
    auto seen = std::make_unique<int>(1);
    const std::size_t counted = gAllocations;
    gAllocations = 0;
    int passed = 0;
    for (const TapEvent& e : events)
        passed += eventTapCallback(nullptr, e, nullptr).action == TapAction::Pass;
    gCounting = false;
    const std::size_t allocations = gAllocations;
    EXPECT_EQ(counted, 1u);
    EXPECT_EQ(allocations, 0u);
    EXPECT_EQ(passed, static_cast<int>(std::size(events)));
}

}  // namespace
}  // namespace vantor
