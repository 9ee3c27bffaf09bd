// Virtual key codes of the US ANSI keyboard by name, the modifier keys and their flags, and
// the printed form of an event ("key-down Tab cmd shift", "left-up 700 520").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/EventServices.h"

namespace vantor::sim {

namespace keycode {
inline constexpr std::uint16_t A = 0;
inline constexpr std::uint16_t H = 4;
inline constexpr std::uint16_t Q = 12;
inline constexpr std::uint16_t Equal = 24;
inline constexpr std::uint16_t Minus = 27;
inline constexpr std::uint16_t Return = 36;
inline constexpr std::uint16_t Tab = 48;
inline constexpr std::uint16_t Space = 49;
inline constexpr std::uint16_t Delete = 51;
inline constexpr std::uint16_t Escape = 53;
inline constexpr std::uint16_t RightCommand = 54;
inline constexpr std::uint16_t LeftCommand = 55;
inline constexpr std::uint16_t LeftShift = 56;
inline constexpr std::uint16_t LeftOption = 58;
inline constexpr std::uint16_t LeftControl = 59;
inline constexpr std::uint16_t RightShift = 60;
inline constexpr std::uint16_t RightOption = 61;
inline constexpr std::uint16_t RightControl = 62;
inline constexpr std::uint16_t Left = 123;
inline constexpr std::uint16_t Right = 124;
inline constexpr std::uint16_t Down = 125;
inline constexpr std::uint16_t Up = 126;
}  // namespace keycode

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
