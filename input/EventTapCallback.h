// The keyboard and mouse event tap: its installation and its callback, the trigger state
// machine that opens the switcher, turns hint keys into switcher commands while it shows, and
// passes everything else on.
#pragma once

#include "input/TriggerController.h"
#include "platform/EventServices.h"

namespace vantor {

// Creates the tap at the HID level, ahead of the other taps there, for the ten event types of
// kEventTapMask, and adds its run-loop source to the main run loop in the common modes; the
// controller keeps the tap, and enables it on its next reset. When the tap cannot be created
// this logs "Fail CGEventTapCreate" and tries again every second until it can; a tap made by
// a later attempt is enabled at once.
void installEventTap(TriggerController& controller);

// The tap's callback. Reaches the controller through gAppDelegate (passes everything while
// there is none); `userInfo` is unused. Answers synchronously: pass, pass with the flags
// replaced, or swallow; what has to wait is scheduled on the main queue.
platform::TapAnswer eventTapCallback(platform::EventTapProxy proxy, const platform::TapEvent& event,
                                     void* userInfo);

}  // namespace vantor
