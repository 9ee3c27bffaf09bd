// The simulated desktop's keyboard layouts (us, the default; azerty; qwertz; dvorak), each a
// table from key code to what the key types without and with Shift, and the one selected.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/KeyboardLayout.h"

namespace vantor::sim {

class SimKeyboardLayout final : public platform::KeyboardLayout {
public:
    // What a key types without and with Shift; 0 for nothing.
    struct KeyChars {
        char32_t plain = 0;
        char32_t shifted = 0;
    };
    // The key, and whether Shift is held, that types a character.
    struct KeyStroke {
        std::uint16_t keyCode = 0;
        bool shift = false;
    };

    static bool known(std::string_view name);
    // Selects a layout by name; false (and no change) for an unknown name. The agent sees it at
    // its next question.
    bool select(std::string_view name);
    std::string_view name() const;

    std::int32_t keyTranslate(std::uint16_t keyCode, bool shift) override;

    // The key that types `c` on the selected layout: the lowest key code that types it without
    // Shift, else the lowest that types it with Shift; nothing when no key does.
    std::optional<KeyStroke> strokeFor(char32_t c) const;

private:
    std::size_t selected_ = 0;
};

}  // namespace vantor::sim
