// The routines the event tap leaves for later, run on the main queue after a pause. Each
// checks that the situation it was scheduled for still holds and does nothing otherwise, so
// that runs made stale by later events are harmless and nothing scheduled is ever cancelled.
#pragma once

#include <cstdint>

#include "input/TriggerController.h"

namespace vantor {

// The pause after a hint key's release is over: when the run of presses has not moved on
// (`n` is still the count), no hint key is down and the switcher still shows, activates the
// key the run reached, dismissing unless the trigger modifier was held alone at the release
// (`heldAlone`), and ends the run.
void delayedActivation(TriggerController& controller, std::int32_t n, bool heldAlone);

// A held-back middle press may be a hold: when it is still pending, was made at least the
// hold time ago and the pointer stays near it, opens the switcher as the mouse's doing.
void middleButtonHold(TriggerController& controller);

// Some time after the system switched the tap off: resets the controller, which switches the
// tap back on and clears the key state.
void tapReenable(TriggerController& controller);

}  // namespace vantor
