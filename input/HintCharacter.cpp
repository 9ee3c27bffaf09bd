#include "input/HintCharacter.h"

#include "input/KeyCodeTable.h"

namespace vantor {

namespace {

constexpr bool isDigit(std::int32_t c) {
    return c >= '0' && c <= '9';
}

// An ASCII letter in upper case, a digit as it is; kNoCharForKeyCode for anything else.
constexpr std::int32_t hintCharOf(std::int32_t c) {
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    if ((c >= 'A' && c <= 'Z') || isDigit(c)) return c;
    return kNoCharForKeyCode;
}

}  // namespace

std::int32_t hintCharForKeyCode(platform::KeyboardLayout& layout, std::uint16_t keyCode) {
    const std::int32_t plain = layout.keyTranslate(keyCode, false);
    if (plain == platform::kNoKeyLayout) return hintCharOf(getCharForKeyCode(keyCode));
    if (const std::int32_t hint = hintCharOf(plain); hint != kNoCharForKeyCode) return hint;
    const std::int32_t shifted = layout.keyTranslate(keyCode, true);
    return isDigit(shifted) ? shifted : kNoCharForKeyCode;
}

}  // namespace vantor
