#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string_view>

#include "input/KeyCodeTable.h"

namespace vantor {
namespace {

struct KeyCase {
    std::uint32_t keyCode;
    std::int32_t expected;
};

class GetCharForKeyCode : public testing::TestWithParam<KeyCase> {};

TEST_P(GetCharForKeyCode, GivesUsAnsiCharOrNoChar) {
    EXPECT_EQ(getCharForKeyCode(GetParam().keyCode), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    KeyCodes, GetCharForKeyCode,
    testing::Values(KeyCase{0, 'A'}, KeyCase{11, 'B'}, KeyCase{45, 'N'}, KeyCase{29, '0'},
                    KeyCase{48, '\t'}, KeyCase{49, ' '},
                    // ISO section key and Return have no character.
                    KeyCase{10, kNoCharForKeyCode}, KeyCase{36, kNoCharForKeyCode},
                    // Past the table, including values that would wrap a signed index.
                    KeyCase{50, kNoCharForKeyCode}, KeyCase{53, kNoCharForKeyCode},
                    KeyCase{123, kNoCharForKeyCode}, KeyCase{65535, kNoCharForKeyCode},
                    KeyCase{0x80000000u, kNoCharForKeyCode},
                    KeyCase{std::numeric_limits<std::uint32_t>::max(), kNoCharForKeyCode}));

// Also checked at compile time, with the 8-bit range, in KeyCodeTable.cpp.
TEST(KeyCodeTable, EveryHintCharHasExactlyOneKey) {
    constexpr std::string_view kHintChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890";
    for (char c : kHintChars) {
        int keys = 0;
        for (std::uint32_t code = 0; code < 128; ++code) {
            if (getCharForKeyCode(code) == c) ++keys;
        }
        EXPECT_EQ(keys, 1) << "hint character " << c;
    }
}

}  // namespace
}  // namespace vantor
