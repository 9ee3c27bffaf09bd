// The hint character a key stands for: what the user's current keyboard layout types on it.
#pragma once

#include <cstdint>

#include "platform/KeyboardLayout.h"

namespace vantor {

// The character the key with `keyCode` stands for among hint keys, by what the current layout
// types on it: a letter (upper case) or digit it types without Shift; else a digit it types
// with Shift (the top row of AZERTY); else the other ASCII character it types, which matches no
// hint; else kNoCharForKeyCode. Without a layout at hand, the US layout's table answers. Asked
// only for keys that reach the switcher; allocates nothing.
std::int32_t hintCharForKeyCode(platform::KeyboardLayout& layout, std::uint16_t keyCode);

}  // namespace vantor
