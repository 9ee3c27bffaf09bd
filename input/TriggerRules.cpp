#include "input/TriggerRules.h"

#include <cmath>

#include "input/KeyCodeTable.h"
#include "switcher/HintKeys.h"

namespace vantor {

std::string hintKeyString(std::int32_t keyChar, std::int32_t count) {
    if (keyChar == kNoCharForKeyCode) return {};
    return repeatedCharString(static_cast<char>(keyChar), count);
}

std::optional<char> hintLetterForKeyChar(std::int32_t keyChar) {
    if (keyChar < 0 || keyChar > 0x7F) return std::nullopt;
    char letter = static_cast<char>(keyChar);
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (kHintAlphabet.find(letter) == std::string_view::npos) return std::nullopt;
    return letter;
}

double distanceBetween(platform::Point a, platform::Point b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

}  // namespace vantor
