#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "input/HintCharacter.h"
#include "input/KeyCodeTable.h"
#include "platform/sim/SimKeyboardLayout.h"
#include "switcher/HintKeys.h"

namespace vantor {
namespace {

// A typed hint is never ambiguous and never out of reach: on every layout each hint character
// comes from exactly one key (AZERTY's digits from the top row with Shift).
TEST(HintCharacter, EveryHintCharacterHasExactlyOneKeyOnEveryLayout) {
    sim::SimKeyboardLayout layout;
    for (const std::string_view name : {"us", "azerty", "qwertz", "dvorak"}) {
        ASSERT_TRUE(layout.select(name));
        for (const char c : kHintAlphabet) {
            int keys = 0;
            for (std::uint16_t code = 0; code < 128; ++code) {
                if (hintCharForKeyCode(layout, code) == c) ++keys;
            }
            EXPECT_EQ(keys, 1) << name << ": hint character " << c;
        }
    }
}

class NoLayout final : public platform::KeyboardLayout {
public:
    std::int32_t keyTranslate(std::uint16_t, bool) override { return platform::kNoKeyLayout; }
};

TEST(HintCharacter, WithoutALayoutTheUsTableAnswers) {
    NoLayout none;
    EXPECT_EQ(hintCharForKeyCode(none, 0), 'A');
    EXPECT_EQ(hintCharForKeyCode(none, 29), '0');
    EXPECT_EQ(hintCharForKeyCode(none, 36), kNoCharForKeyCode);  // Return
}

}  // namespace
}  // namespace vantor
