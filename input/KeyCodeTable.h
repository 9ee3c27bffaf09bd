// Virtual key code -> the character the key bears on the US ANSI layout.
//
// Hint keys are matched by what the user's current layout types (see HintCharacter.h); this
// table is the US layout, the default when the system has no layout to translate with.
// Letters are upper case; every value fits in 8 bits except kNoCharForKeyCode.
#pragma once

#include <array>
#include <cstdint>

namespace vantor {

// Stands for a key with no character (ISO section key, Return, any code past the table).
// It matches no hint key.
inline constexpr std::int32_t kNoCharForKeyCode = -9999;

// Indexed by virtual key code 0 to 49.
// clang-format off
inline constexpr std::array<std::int32_t, 50> keyCodeCharTable = {
    'A', 'S', 'D', 'F', 'H', 'G', 'Z', 'X', 'C', 'V',                 //  0-9
    kNoCharForKeyCode, 'B', 'Q', 'W', 'E', 'R', 'Y', 'T', '1', '2',   // 10-19
    '3', '4', '6', '5', '=', '9', '7', '-', '8', '0',                 // 20-29
    ']', 'O', 'U', '[', 'I', 'P', kNoCharForKeyCode, 'L', 'J', '\'',  // 30-39
    'K', ';', '\\', ',', '/', 'N', 'M', '.', '\t', ' ',               // 40-49
};
// clang-format on

// Looked up on the tap's path, so it is inline and allocation-free.
constexpr std::int32_t getCharForKeyCode(std::uint32_t keyCode) {
    return keyCode < keyCodeCharTable.size() ? keyCodeCharTable[keyCode] : kNoCharForKeyCode;
}

}  // namespace vantor
