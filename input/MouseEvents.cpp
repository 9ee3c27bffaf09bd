// The mouse while the switcher shows (left and right clicks activate, a middle click quits,
// the overlay's preferences button), and the middle-button hold that opens it: the middle
// press is held back until it is known to be a hold, and replayed to the applications when it
// turns out to be a click or a drag.
#include <string_view>

#include "input/DeferredActions.h"
#include "input/TapHandlers.h"
#include "input/TriggerRules.h"

namespace vantor {

using platform::EventType;
using platform::TapAnswer;
using platform::TapEvent;

namespace {

inline constexpr std::string_view kPrefButtonIdentifier = "prefBtn";

void clearPendingMiddlePress(TriggerState& state) {
    state._middleButtonDownTime = kNoMiddleButtonDownTime;
    state._middleButtonDownPos = kNoMiddleButtonDownPos;
}

// The held-back press reaches the applications after all, as an event of the agent's own
// that enters the stream right after this tap.
void replayMiddlePress(TriggerController& controller, platform::EventTapProxy proxy,
                       platform::Point at) {
    platform::EventServices& events = controller.platform().events;
    const platform::Event press =
        events.createMouseEvent(controller.passThruEventSource(), EventType::OtherMouseDown, at,
                                platform::MouseButton::Center);
    events.tapPostEvent(proxy, press);
}

// A left click on the overlay presses its preferences button, or, anywhere else on it,
// activates the selected item. The click goes on to the switcher in every case.
TapAnswer leftMouseUp(TriggerController& controller) {
    if (!controller.showing()) return kPass;
    platform::Window* window = controller.overlayWindow();
    if (!window) return kPass;
    const platform::Point mouse = controller.platform().events.mouseLocation();
    const platform::Point origin = window->frame().origin;
    platform::View& content = window->contentView();
    platform::View* hit = content.hitTest({mouse.x - origin.x, mouse.y - origin.y});
    if (hit && hit->identifier() == kPrefButtonIdentifier) {
        hit->sendAction();
    } else if (hit == &content) {
        controller.activateSelectedItem();
    }
    return kPass;
}

TapAnswer middleMouseDown(TriggerController& controller, const TapEvent& event) {
    if (event.buttonNumber != kMiddleButtonNumber) return kPass;
    if (!controller.rightClickToTrigger()) return kPass;
    if (controller.showing()) return kSwallow;

    TriggerState& state = controller.triggerState();
    state._middleButtonDownTime = controller.platform().runLoop.absoluteTime();
    state._middleButtonDownPos = event.location;
    controller.platform().runLoop.dispatchAfter(kMiddleButtonHoldTime, [] {
        if (gAppDelegate) middleButtonHold(*gAppDelegate);
    });
    return kSwallow;
}

TapAnswer middleMouseDragged(TriggerController& controller, platform::EventTapProxy proxy,
                             const TapEvent& event) {
    if (event.buttonNumber != kMiddleButtonNumber) return kPass;
    if (!controller.rightClickToTrigger()) return kPass;
    TriggerState& state = controller.triggerState();
    if (state._middleButtonDownTime == kNoMiddleButtonDownTime) return kPass;
    if (state._isTriggeredByMouse) return kSwallow;
    if (controller.showing()) return kSwallow;
    if (distanceBetween(state._middleButtonDownPos, event.location) < kMiddleButtonDragDistance)
        return kPass;
    // A drag: the press goes out where it was made, just ahead of this drag.
    replayMiddlePress(controller, proxy, state._middleButtonDownPos);
    clearPendingMiddlePress(state);
    return kPass;
}

TapAnswer middleMouseUp(TriggerController& controller, platform::EventTapProxy proxy,
                        const TapEvent& event) {
    if (event.buttonNumber != kMiddleButtonNumber) return kPass;
    TriggerState& state = controller.triggerState();
    if (!controller.showing()) {
        const bool pending = state._middleButtonDownTime != kNoMiddleButtonDownTime;
        clearPendingMiddlePress(state);
        if (state._isTriggeredByMouse) {
            // The release that ends the hold which opened the switcher.
            state._isTriggeredByMouse = false;
            return kSwallow;
        }
        // A click: the press goes out at the release's place, just ahead of the release.
        if (pending) replayMiddlePress(controller, proxy, event.location);
        return kPass;
    }
    if (state._isTriggeredByMouse) {
        state._isTriggeredByMouse = false;
        return kSwallow;
    }
    controller.quitSelectedItem();
    return kSwallow;
}

}  // namespace

TapAnswer handleMouseEvent(TriggerController& controller, platform::EventTapProxy proxy,
                           const TapEvent& event) {
    switch (event.type) {
        case EventType::LeftMouseUp:
            return leftMouseUp(controller);
        case EventType::RightMouseDown:
            return controller.showing() ? kSwallow : kPass;
        case EventType::RightMouseUp:
            if (!controller.showing()) return kPass;
            controller.activateSelectedItem();
            return kSwallow;
        case EventType::OtherMouseDown:
            return middleMouseDown(controller, event);
        case EventType::OtherMouseDragged:
            return middleMouseDragged(controller, proxy, event);
        case EventType::OtherMouseUp:
            return middleMouseUp(controller, proxy, event);
        default:  // the left button's press
            return kPass;
    }
}

}  // namespace vantor
