#include "platform/sim/SimKeyboardLayout.h"

#include <array>

namespace vantor::sim {

namespace {

using KeyChars = SimKeyboardLayout::KeyChars;
// Key codes 0 to 50: the letter, digit and punctuation keys, Return, Tab and Space. Return
// types nothing here, as in the US table of the agent.
using KeyTable = std::array<KeyChars, 51>;

// clang-format off
constexpr KeyTable kUs{{
    {U'a', U'A'}, {U's', U'S'}, {U'd', U'D'}, {U'f', U'F'}, {U'h', U'H'},     //  0-4
    {U'g', U'G'}, {U'z', U'Z'}, {U'x', U'X'}, {U'c', U'C'}, {U'v', U'V'},     //  5-9
    {0, 0},       {U'b', U'B'}, {U'q', U'Q'}, {U'w', U'W'}, {U'e', U'E'},     // 10-14
    {U'r', U'R'}, {U'y', U'Y'}, {U't', U'T'}, {U'1', U'!'}, {U'2', U'@'},     // 15-19
    {U'3', U'#'}, {U'4', U'$'}, {U'6', U'^'}, {U'5', U'%'}, {U'=', U'+'},     // 20-24
    {U'9', U'('}, {U'7', U'&'}, {U'-', U'_'}, {U'8', U'*'}, {U'0', U')'},     // 25-29
    {U']', U'}'}, {U'o', U'O'}, {U'u', U'U'}, {U'[', U'{'}, {U'i', U'I'},     // 30-34
    {U'p', U'P'}, {0, 0},       {U'l', U'L'}, {U'j', U'J'}, {U'\'', U'"'},    // 35-39
    {U'k', U'K'}, {U';', U':'}, {U'\\', U'|'}, {U',', U'<'}, {U'/', U'?'},    // 40-44
    {U'n', U'N'}, {U'm', U'M'}, {U'.', U'>'}, {U'\t', U'\t'}, {U' ', U' '},   // 45-49
    {U'`', U'~'},                                                             // 50
}};

// The Mac's French layout: A and Q, Z and W swapped, M beside L, digits with Shift.
constexpr KeyTable kAzerty{{
    {U'q', U'Q'}, {U's', U'S'}, {U'd', U'D'}, {U'f', U'F'}, {U'h', U'H'},     //  0-4
    {U'g', U'G'}, {U'w', U'W'}, {U'x', U'X'}, {U'c', U'C'}, {U'v', U'V'},     //  5-9
    {U'@', U'#'}, {U'b', U'B'}, {U'a', U'A'}, {U'z', U'Z'}, {U'e', U'E'},     // 10-14
    {U'r', U'R'}, {U'y', U'Y'}, {U't', U'T'}, {U'&', U'1'}, {U'é', U'2'},     // 15-19
    {U'"', U'3'}, {U'\'', U'4'}, {U'§', U'6'}, {U'(', U'5'}, {U'-', U'_'},    // 20-24
    {U'ç', U'9'}, {U'è', U'7'}, {U')', U'°'}, {U'!', U'8'}, {U'à', U'0'},     // 25-29
    {U'$', U'*'}, {U'o', U'O'}, {U'u', U'U'}, {U'^', U'¨'}, {U'i', U'I'},     // 30-34
    {U'p', U'P'}, {0, 0},       {U'l', U'L'}, {U'j', U'J'}, {U'ù', U'%'},     // 35-39
    {U'k', U'K'}, {U'm', U'M'}, {U'`', U'£'}, {U';', U'.'}, {U'=', U'+'},     // 40-44
    {U'n', U'N'}, {U',', U'?'}, {U':', U'/'}, {U'\t', U'\t'}, {U' ', U' '},   // 45-49
    {U'<', U'>'},                                                             // 50
}};

// The Mac's German layout: Y and Z swapped, umlauts on the right.
constexpr KeyTable kQwertz{{
    {U'a', U'A'}, {U's', U'S'}, {U'd', U'D'}, {U'f', U'F'}, {U'h', U'H'},     //  0-4
    {U'g', U'G'}, {U'y', U'Y'}, {U'x', U'X'}, {U'c', U'C'}, {U'v', U'V'},     //  5-9
    {U'^', U'°'}, {U'b', U'B'}, {U'q', U'Q'}, {U'w', U'W'}, {U'e', U'E'},     // 10-14
    {U'r', U'R'}, {U'z', U'Z'}, {U't', U'T'}, {U'1', U'!'}, {U'2', U'"'},     // 15-19
    {U'3', U'§'}, {U'4', U'$'}, {U'6', U'&'}, {U'5', U'%'}, {U'´', U'`'},     // 20-24
    {U'9', U')'}, {U'7', U'/'}, {U'ß', U'?'}, {U'8', U'('}, {U'0', U'='},     // 25-29
    {U'+', U'*'}, {U'o', U'O'}, {U'u', U'U'}, {U'ü', U'Ü'}, {U'i', U'I'},     // 30-34
    {U'p', U'P'}, {0, 0},       {U'l', U'L'}, {U'j', U'J'}, {U'ä', U'Ä'},     // 35-39
    {U'k', U'K'}, {U'ö', U'Ö'}, {U'#', U'\''}, {U',', U';'}, {U'-', U'_'},    // 40-44
    {U'n', U'N'}, {U'm', U'M'}, {U'.', U':'}, {U'\t', U'\t'}, {U' ', U' '},   // 45-49
    {U'<', U'>'},                                                             // 50
}};

// The Mac's Dvorak layout.
constexpr KeyTable kDvorak{{
    {U'a', U'A'}, {U'o', U'O'}, {U'e', U'E'}, {U'u', U'U'}, {U'd', U'D'},     //  0-4
    {U'i', U'I'}, {U';', U':'}, {U'q', U'Q'}, {U'j', U'J'}, {U'k', U'K'},     //  5-9
    {0, 0},       {U'x', U'X'}, {U'\'', U'"'}, {U',', U'<'}, {U'.', U'>'},    // 10-14
    {U'p', U'P'}, {U'f', U'F'}, {U'y', U'Y'}, {U'1', U'!'}, {U'2', U'@'},     // 15-19
    {U'3', U'#'}, {U'4', U'$'}, {U'6', U'^'}, {U'5', U'%'}, {U']', U'}'},     // 20-24
    {U'9', U'('}, {U'7', U'&'}, {U'[', U'{'}, {U'8', U'*'}, {U'0', U')'},     // 25-29
    {U'=', U'+'}, {U'r', U'R'}, {U'g', U'G'}, {U'/', U'?'}, {U'c', U'C'},     // 30-34
    {U'l', U'L'}, {0, 0},       {U'n', U'N'}, {U'h', U'H'}, {U'-', U'_'},     // 35-39
    {U't', U'T'}, {U's', U'S'}, {U'\\', U'|'}, {U'w', U'W'}, {U'z', U'Z'},    // 40-44
    {U'b', U'B'}, {U'm', U'M'}, {U'v', U'V'}, {U'\t', U'\t'}, {U' ', U' '},   // 45-49
    {U'`', U'~'},                                                             // 50
}};
// clang-format on

struct NamedLayout {
    std::string_view name;
    const KeyTable* table;
};

constexpr std::array<NamedLayout, 4> kLayouts{{
    {"us", &kUs},
    {"azerty", &kAzerty},
    {"qwertz", &kQwertz},
    {"dvorak", &kDvorak},
}};

}  // namespace

bool SimKeyboardLayout::known(std::string_view name) {
    for (const NamedLayout& layout : kLayouts) {
        if (layout.name == name) return true;
    }
    return false;
}

bool SimKeyboardLayout::select(std::string_view name) {
    for (std::size_t i = 0; i < kLayouts.size(); ++i) {
        if (kLayouts[i].name != name) continue;
        selected_ = i;
        return true;
    }
    return false;
}

std::string_view SimKeyboardLayout::name() const {
    return kLayouts[selected_].name;
}

std::int32_t SimKeyboardLayout::keyTranslate(std::uint16_t keyCode, bool shift) {
    const KeyTable& table = *kLayouts[selected_].table;
    if (keyCode >= table.size()) return platform::kNoKeyCharacter;
    const char32_t c = shift ? table[keyCode].shifted : table[keyCode].plain;
    return c == 0 ? platform::kNoKeyCharacter : static_cast<std::int32_t>(c);
}

std::optional<SimKeyboardLayout::KeyStroke> SimKeyboardLayout::strokeFor(char32_t c) const {
    if (c == 0) return std::nullopt;
    const KeyTable& table = *kLayouts[selected_].table;
    for (const bool shift : {false, true}) {
        for (std::size_t code = 0; code < table.size(); ++code) {
            if ((shift ? table[code].shifted : table[code].plain) == c) {
                return KeyStroke{static_cast<std::uint16_t>(code), shift};
            }
        }
    }
    return std::nullopt;
}

}  // namespace vantor::sim
