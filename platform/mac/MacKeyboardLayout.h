// The user's current ASCII-capable keyboard layout on macOS, translated with UCKeyTranslate and
// kept until the system announces that the selected input source changed.
#pragma once

#include "platform/KeyboardLayout.h"

namespace vantor::mac {

class MacKeyboardLayout final : public platform::KeyboardLayout {
public:
    // Loads the current layout and listens for the change notice on the distributed
    // notification center.
    MacKeyboardLayout();
    ~MacKeyboardLayout() override;
    MacKeyboardLayout(const MacKeyboardLayout&) = delete;
    MacKeyboardLayout& operator=(const MacKeyboardLayout&) = delete;

    std::int32_t keyTranslate(std::uint16_t keyCode, bool shift) override;

    // Drops the layout held and takes the one now current.
    void reload();

private:
    // The input source (TISInputSourceRef, owned), which keeps the layout data alive, and its
    // key layout (a UCKeyboardLayout); null when there is none.
    const void* source_ = nullptr;
    const void* keyLayout_ = nullptr;
};

}  // namespace vantor::mac
