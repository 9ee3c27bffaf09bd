// The hint character a key stands for: what the user's current keyboard layout types on it.
#pragma once

#include <cstdint>

#include "platform/KeyboardLayout.h"

namespace vantor {

// The hint character (an upper-case ASCII letter or a digit) that the key with `keyCode` types
// on the current layout; kNoCharForKeyCode for a key that types neither. A letter or digit the
// key types without Shift wins; otherwise a digit it types with Shift (the top row of AZERTY)
// counts. Without a layout at hand, the US layout's table answers. Asked only for keys that
// reach the switcher; allocates nothing.
std::int32_t hintCharForKeyCode(platform::KeyboardLayout& layout, std::uint16_t keyCode);

}  // namespace vantor
