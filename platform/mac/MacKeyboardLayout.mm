#include "platform/mac/MacKeyboardLayout.h"

#include <Carbon/Carbon.h>
#include <CoreFoundation/CoreFoundation.h>

namespace vantor::mac {

namespace {

// UCKeyTranslate's modifier state is the Carbon modifiers shifted right by 8: Shift is 0x02.
constexpr UInt32 kShiftKeyState = 0x02;

// The selected input source changed: the layout held is dropped before the next key.
void selectedInputSourceChanged(CFNotificationCenterRef /*center*/, void* observer,
                                CFNotificationName /*name*/, const void* /*object*/,
                                CFDictionaryRef /*userInfo*/) {
    if (observer) static_cast<MacKeyboardLayout*>(observer)->reload();
}

}  // namespace

MacKeyboardLayout::MacKeyboardLayout() {
    reload();
    // An agent is never the active application, so the notice must not wait for it to be.
    CFNotificationCenterAddObserver(CFNotificationCenterGetDistributedCenter(), this,
                                    &selectedInputSourceChanged,
                                    kTISNotifySelectedKeyboardInputSourceChanged, nullptr,
                                    CFNotificationSuspensionBehaviorDeliverImmediately);
}

MacKeyboardLayout::~MacKeyboardLayout() {
    CFNotificationCenterRemoveObserver(CFNotificationCenterGetDistributedCenter(), this,
                                       kTISNotifySelectedKeyboardInputSourceChanged, nullptr);
    if (source_) CFRelease(source_);
}

void MacKeyboardLayout::reload() {
    if (source_) CFRelease(source_);
    source_ = nullptr;
    keyLayout_ = nullptr;
    TISInputSourceRef source = TISCopyCurrentASCIICapableKeyboardLayoutInputSource();
    if (!source) return;
    source_ = source;
    const auto data =
        static_cast<CFDataRef>(TISGetInputSourceProperty(source, kTISPropertyUnicodeKeyLayoutData));
    if (data) keyLayout_ = CFDataGetBytePtr(data);
}

std::int32_t MacKeyboardLayout::keyTranslate(std::uint16_t keyCode, bool shift) {
    if (!keyLayout_) return platform::kNoKeyLayout;
    UInt32 deadKeyState = 0;
    UniChar characters[4] = {};
    UniCharCount length = 0;
    const OSStatus status = UCKeyTranslate(
        static_cast<const UCKeyboardLayout*>(keyLayout_), keyCode, kUCKeyActionDisplay,
        shift ? kShiftKeyState : 0, LMGetKbdType(), kUCKeyTranslateNoDeadKeysMask, &deadKeyState,
        sizeof characters / sizeof characters[0], &length, characters);
    // One UTF-16 unit that is a character of its own, or no character.
    if (status != noErr || length != 1) return platform::kNoKeyCharacter;
    if (characters[0] >= 0xD800 && characters[0] <= 0xDFFF) return platform::kNoKeyCharacter;
    return characters[0];
}

}  // namespace vantor::mac
