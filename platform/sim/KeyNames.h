// Virtual key codes of the US ANSI keyboard by name, the modifier keys and their flags, and
// the printed form of an event ("key-down Tab cmd shift", "left-up 700 520").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/EventServices.h"
#include "platform/VirtualKeyCodes.h"

namespace vantor::sim {

namespace keycode = platform::vk;

// A KEY name (letters and digits as themselves, in either case; Tab, Return, LeftCommand, ...)
// to its virtual key code; nothing for an unknown name.
std::optional<std::uint16_t> keyCodeForName(std::string_view name);
// The KEY name of a code (letters upper case); the decimal code when it has no name.
std::string keyNameForCode(std::int64_t code);

// The flag a modifier key holds down; 0 for a key that is not a modifier.
platform::EventFlags modifierFlagForKey(std::int64_t code);
inline bool isModifierKey(std::int64_t code) {
    return modifierFlagForKey(code) != 0;
}

// The modifiers among "cmd shift opt ctrl fn", in that order, separated by spaces.
std::string modifierWords(platform::EventFlags flags);

// The printed form of an event: `key-down KEY`, `key-up KEY`, `flags KEY`, then its
// modifiers; `left-down X Y`, `middle-drag X Y`, ... in whole points; `move X Y` for a
// pointer move.
std::string printEvent(const platform::TapEvent& event);

bool isKeyEvent(platform::EventType type);
bool isMouseEvent(platform::EventType type);

}  // namespace vantor::sim
