// Compile-time checks of what the event tap relies on in the key code table.
#include "input/KeyCodeTable.h"

#include <cstddef>
#include <string_view>

namespace vantor {
namespace {

constexpr std::size_t countInTable(std::int32_t value) {
    std::size_t count = 0;
    for (std::int32_t entry : keyCodeCharTable) {
        if (entry == value) ++count;
    }
    return count;
}

// Every hint character has exactly one key, so a typed hint is never ambiguous.
constexpr bool everyHintCharHasOneKey() {
    constexpr std::string_view kHintChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890";
    for (char c : kHintChars) {
        if (countInTable(static_cast<unsigned char>(c)) != 1) return false;
    }
    return true;
}

// Consumers narrow a character to 8 or 16 bits without checking.
constexpr bool everyCharFitsInEightBits() {
    for (std::int32_t entry : keyCodeCharTable) {
        if (entry != kNoCharForKeyCode && (entry < 0 || entry > 0xFF)) return false;
    }
    return true;
}

static_assert(everyHintCharHasOneKey());
static_assert(everyCharFitsInEightBits());
static_assert(countInTable(kNoCharForKeyCode) == 2);

}  // namespace
}  // namespace vantor
