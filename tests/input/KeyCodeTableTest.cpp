#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

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

}  // namespace
}  // namespace vantor
