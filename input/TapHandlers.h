// The callback's handlers for each kind of event, entered once the disabled notices and the
// agent's own events have been let through. Each answers as the callback does.
#pragma once

#include <cstdint>

#include "input/TriggerController.h"
#include "platform/EventServices.h"

namespace vantor {

inline constexpr platform::TapAnswer kPass{platform::TapAction::Pass, 0};
inline constexpr platform::TapAnswer kSwallow{platform::TapAction::Swallow, 0};

// Key-ups and flag changes look at whether the trigger modifier is held by itself in the event's
// flags; key-downs, the most frequent events, go through with the least work.
platform::TapAnswer handleKeyDown(TriggerController& controller, const platform::TapEvent& event);
platform::TapAnswer handleKeyUp(TriggerController& controller, const platform::TapEvent& event);
platform::TapAnswer handleFlagsChanged(TriggerController& controller,
                                       const platform::TapEvent& event);

// The seven mouse types: clicks on the switcher while it shows, and the middle-button hold.
platform::TapAnswer handleMouseEvent(TriggerController& controller, platform::EventTapProxy proxy,
                                     const platform::TapEvent& event);

}  // namespace vantor
