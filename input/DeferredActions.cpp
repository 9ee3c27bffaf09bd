#include "input/DeferredActions.h"

#include <string>
#include <utility>

#include "input/TriggerRules.h"

namespace vantor {

void delayedActivation(TriggerController& controller, std::int32_t n, bool heldAlone) {
    TriggerState& state = controller.triggerState();
    if (n != state._keyupCount) return;       // a later release, or the run ended meanwhile
    if (state._longPressingKey >= 0) return;  // a hint key is down: the run goes on
    if (!controller.showing()) return;
    if (state._delayedActivateKey) {
        const std::string key = std::move(*state._delayedActivateKey);
        state._delayedActivateKey.reset();
        controller.activateItemByKey(key, !heldAlone);
    }
    state._lastKey = kNoKey;
    state._keyupCount = 0;
}

void middleButtonHold(TriggerController& controller) {
    if (controller.showing()) return;
    TriggerState& state = controller.triggerState();
    if (!(state._middleButtonDownTime > 0)) return;
    // A newer press restarted the wait; its own run decides.
    const double now = controller.platform().runLoop.absoluteTime();
    if (!middleButtonHeldLongEnough(now, state._middleButtonDownTime)) return;
    const platform::Point pointer = controller.platform().events.pointerLocation();
    if (distanceBetween(pointer, state._middleButtonDownPos) >= kMiddleButtonHoldSlop) return;
    state._isTriggeredByMouse = true;
    controller.show();
}

void tapReenable(TriggerController& controller) {
    controller.reset();
}

}  // namespace vantor
