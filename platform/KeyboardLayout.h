// The user's current keyboard layout: what character a key types, so that hint keys are
// matched by the character on the key rather than by its position.
#pragma once

#include <cstdint>

namespace vantor::platform {

// The key types no single character (a dead key, a key without character, a code the layout
// does not have).
inline constexpr std::int32_t kNoKeyCharacter = -1;
// No layout is at hand to translate with; the caller falls back to the US layout.
inline constexpr std::int32_t kNoKeyLayout = -2;

class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;

    // UCKeyTranslate(kUCKeyActionDisplay, Shift or no modifier, LMGetKbdType(),
    // kUCKeyTranslateNoDeadKeysMask) on the key layout data (kTISPropertyUnicodeKeyLayoutData)
    // of TISCopyCurrentASCIICapableKeyboardLayoutInputSource, the layout kept until the
    // system's kTISNotifySelectedKeyboardInputSourceChanged notice: the Unicode character the
    // key types, with or without Shift, as the layout has it (letters in their own case);
    // kNoKeyCharacter or kNoKeyLayout. Called from the event tap: never allocates.
    virtual std::int32_t keyTranslate(std::uint16_t keyCode, bool shift) = 0;
};

}  // namespace vantor::platform
