#include "input/EventTapCallback.h"

#include <utility>

#include "input/DeferredActions.h"
#include "input/TapHandlers.h"
#include "input/TriggerRules.h"
#include "switcher/ProcList.h"

namespace vantor {

using platform::EventType;
using platform::TapAnswer;
using platform::TapEvent;

namespace {

// Creates the tap and hands it to the controller; on failure logs it and schedules the next
// attempt. True when the tap was created.
bool createEventTap(TriggerController& controller) {
    platform::Platform& platform = controller.platform();
    platform::EventTap tap = platform.events.tapCreate(platform::EventTapLocation::HID,
                                                       kEventTapMask, &eventTapCallback, nullptr);
    if (!tap) {
        platform.log.log("Fail CGEventTapCreate");
        platform.runLoop.performAfterDelay(kTapCreateRetryInterval,
                                           [] {
                                               TriggerController* current = gAppDelegate;
                                               if (!current || current->tap()) return;
                                               // The startup reset has run already, so the late tap
                                               // is switched on here.
                                               if (createEventTap(*current))
                                                   current->platform().events.tapEnable(
                                                       current->tap(), true);
                                           },
                                           {platform::RunLoopMode::Default});
        return false;
    }
    const platform::RunLoopSource source = platform.events.tapCreateRunLoopSource(tap);
    platform.runLoop.addSource(source, platform::RunLoopMode::Common);
    controller.setTap(std::move(tap));
    return true;
}

// Kept out of line, so that the callback's common paths need no room for the block.
[[gnu::noinline]] void scheduleTapReenable(TriggerController& controller) {
    controller.platform().runLoop.dispatchAfter(kTapReenableDelay, [] {
        if (gAppDelegate) tapReenable(*gAppDelegate);
    });
}

bool isMouseEvent(EventType type) {
    switch (type) {
        case EventType::LeftMouseDown:
        case EventType::LeftMouseUp:
        case EventType::RightMouseDown:
        case EventType::RightMouseUp:
        case EventType::OtherMouseDown:
        case EventType::OtherMouseUp:
        case EventType::OtherMouseDragged:
            return true;
        default:
            return false;
    }
}

}  // namespace

void installEventTap(TriggerController& controller) {
    createEventTap(controller);
}

TapAnswer eventTapCallback(platform::EventTapProxy proxy, const TapEvent& event,
                           void* /*userInfo*/) {
    TriggerController* controller = gAppDelegate;

    // The system switched the tap off (too slow, or at the user's request): it comes back on
    // with a reset a little later. Nothing else happens to the notice.
    if (event.type == EventType::TapDisabledByTimeout ||
        event.type == EventType::TapDisabledByUserInput) {
        if (controller) scheduleTapReenable(*controller);
        return kPass;
    }
    // The agent's own synthetic events go through untouched.
    if (event.sourceUserData == kEventMarkerUserData) return kPass;
    if (!controller) return kPass;

    // Key-downs first: they are the most frequent.
    if (event.type == EventType::KeyDown) return handleKeyDown(*controller, event);
    switch (event.type) {
        case EventType::KeyUp:
            return handleKeyUp(*controller, event);
        case EventType::FlagsChanged:
            return handleFlagsChanged(*controller, event);
        default:
            if (isMouseEvent(event.type)) return handleMouseEvent(*controller, proxy, event);
            return kPass;
    }
}

}  // namespace vantor
