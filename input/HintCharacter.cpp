#include "input/HintCharacter.h"

#include "input/KeyCodeTable.h"

namespace vantor {

namespace {

constexpr bool isDigit(std::int32_t c) {
    return c >= '0' && c <= '9';
}

constexpr bool isLetterOrDigit(std::int32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c);
}

constexpr std::int32_t upperCase(std::int32_t c) {
    return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

}  // namespace

std::int32_t hintCharForKeyCode(platform::KeyboardLayout& layout, std::uint16_t keyCode) {
    const std::int32_t plain = layout.keyTranslate(keyCode, false);
    if (plain == platform::kNoKeyLayout) return getCharForKeyCode(keyCode);
    if (isLetterOrDigit(plain)) return upperCase(plain);
    const std::int32_t shifted = layout.keyTranslate(keyCode, true);
    if (isDigit(shifted)) return shifted;
    return plain >= 0 && plain <= 0x7F ? plain : kNoCharForKeyCode;
}

}  // namespace vantor
