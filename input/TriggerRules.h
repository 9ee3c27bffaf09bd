// The constants and the small decisions of the trigger state machine, written against plain
// values (flags, key codes, times passed in) so that they can be checked on their own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/EventServices.h"
#include "platform/Geometry.h"
#include "platform/VirtualKeyCodes.h"

namespace vantor {

// Virtual key codes the state machine tells apart.
namespace vk = platform::vk;

// The ten event types the tap listens to: the left, right and other mouse buttons' presses
// and releases, the other button's drags, key down, key up and flags changed.
inline constexpr platform::EventMask kEventTapMask = 0x0E001C1E;

// Shift, Control, Option, Command and Fn; Caps Lock and the device bits are left out.
inline constexpr platform::EventFlags kModifierMask = 0x9E0000;
// The trigger modifier setting that means "no trigger modifier".
inline constexpr std::uint64_t kNoTriggerModifier = ~std::uint64_t{0};

inline constexpr double kPressTwiceWindow = 0.3;        // seconds, inclusive
inline constexpr double kMultiPressWait = 0.25;         // seconds after a release
inline constexpr double kTapReenableDelay = 3.0;        // seconds after a disabled notice
inline constexpr double kTapCreateRetryInterval = 1.0;  // seconds between creation attempts

inline constexpr std::int64_t kMiddleButtonNumber = 2;
inline constexpr double kMiddleButtonHoldTime = 0.25;     // seconds
inline constexpr double kMiddleButtonHoldSlop = 4.0;      // points the pointer may wander
inline constexpr double kMiddleButtonDragDistance = 2.0;  // points that make a press a drag

// A run of presses of one hint letter counts no further than the longest hint key.
inline constexpr std::int32_t kMaxKeyupCount = 32;

// Space opens Launchpad, found by its bundle identifier wherever the system installed it.
inline constexpr std::string_view kLaunchpadBundleIdentifier = "com.apple.launchpad.launcher";

// The key code of an event: its low 16 bits.
constexpr std::int32_t keyCodeOf(const platform::TapEvent& event) {
    return static_cast<std::int32_t>(static_cast<std::uint16_t>(event.keyCode));
}

// The trigger modifier is held and none of the other modifiers is.
constexpr bool isAlone(std::uint64_t triggerModifierKey, platform::EventFlags flags) {
    return triggerModifierKey == (flags & kModifierMask);
}

// Whether a flags-changed event of key `keyCode` is the left or right key of the trigger
// modifier; never for "no trigger modifier".
constexpr bool isTriggerModifierKey(std::uint64_t triggerModifierKey, std::int32_t keyCode) {
    switch (triggerModifierKey) {
        case platform::kEventFlagMaskShift:
            return keyCode == vk::LeftShift || keyCode == vk::RightShift;
        case platform::kEventFlagMaskControl:
            return keyCode == vk::LeftControl || keyCode == vk::RightControl;
        case platform::kEventFlagMaskAlternate:
            return keyCode == vk::LeftOption || keyCode == vk::RightOption;
        case platform::kEventFlagMaskCommand:
            return keyCode == vk::LeftCommand || keyCode == vk::RightCommand;
        default:
            return false;
    }
}

constexpr bool isArrowKey(std::int32_t keyCode) {
    return keyCode >= vk::LeftArrow && keyCode <= vk::UpArrow;
}

// Keys whose key-down goes to the switcher as if Command were held: Tab, Escape, the arrows.
constexpr bool isNavigationKeyDown(std::int32_t keyCode) {
    return keyCode == vk::Tab || keyCode == vk::Escape || isArrowKey(keyCode);
}

// Keys whose key-up goes to the switcher as if Command were held: those, and Return.
constexpr bool isNavigationKeyUp(std::int32_t keyCode) {
    return isNavigationKeyDown(keyCode) || keyCode == vk::Return;
}

// The flags a navigation key is given, from the live modifier state: Command, with Shift when
// Shift is physically down; every other flag is dropped.
constexpr platform::EventFlags navigationFlags(platform::EventFlags liveFlags) {
    return (liveFlags & platform::kEventFlagMaskShift) != 0
               ? platform::kEventFlagMaskCommand | platform::kEventFlagMaskShift
               : platform::kEventFlagMaskCommand;
}

// The second press of the trigger modifier at `now` follows the first at `last` closely
// enough. Absolute times are large numbers whose difference carries rounding of a few units
// in the last place, so the inclusive bound allows one nanosecond.
constexpr bool withinPressTwiceWindow(double now, double last) {
    return now - last <= kPressTwiceWindow + 1e-9;
}

// A middle press made at `downTime` has been held for the hold time at `now` (the same
// allowance as above: a check that runs on the deadline counts as late enough).
constexpr bool middleButtonHeldLongEnough(double now, double downTime) {
    return now - downTime + 1e-9 >= kMiddleButtonHoldTime;
}

// How many times in a row the key will have been released once this press of `keyCode` ends:
// one more than before when it is the last released key, else the first; never past
// kMaxKeyupCount.
constexpr std::int32_t nextPressCount(std::int32_t lastKey, std::int32_t keyupCount,
                                      std::int32_t keyCode) {
    if (keyCode != lastKey) return 1;
    return keyupCount < kMaxKeyupCount ? keyupCount + 1 : kMaxKeyupCount;
}

// The hint key `count` presses of a key with character `keyChar` (from hintCharForKeyCode)
// select; empty, which no hint key is, for a key without character.
std::string hintKeyString(std::int32_t keyChar, std::int32_t count);

// The hint alphabet letter a released key stands for, upper case; none for a key without
// character or one outside the alphabet.
std::optional<char> hintLetterForKeyChar(std::int32_t keyChar);

double distanceBetween(platform::Point a, platform::Point b);

}  // namespace vantor
