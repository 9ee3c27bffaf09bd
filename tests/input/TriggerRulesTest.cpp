#include <gtest/gtest.h>

#include <initializer_list>

#include "input/KeyCodeTable.h"
#include "input/TriggerRules.h"
#include "input/TriggerState.h"

namespace vantor {
namespace {

using platform::kEventFlagMaskAlternate;
using platform::kEventFlagMaskCommand;
using platform::kEventFlagMaskShift;

TEST(TriggerRulesTest, AloneMeansTheTriggerModifierWithoutTheOtherFour) {
    EXPECT_TRUE(isAlone(kEventFlagMaskAlternate, kEventFlagMaskAlternate));
    // Caps Lock, the device bits and the numeric pad bit do not count as modifiers.
    EXPECT_TRUE(
        isAlone(kEventFlagMaskAlternate, kEventFlagMaskAlternate | 0x10000 | 0x20 | 0x200000));
    EXPECT_FALSE(isAlone(kEventFlagMaskAlternate, kEventFlagMaskAlternate | kEventFlagMaskShift));
    EXPECT_FALSE(isAlone(kEventFlagMaskAlternate, kEventFlagMaskAlternate | 0x800000));  // Fn
    EXPECT_FALSE(isAlone(kEventFlagMaskAlternate, 0));  // the modifier went up
    // "No trigger modifier" is never matched, whatever is held.
    EXPECT_FALSE(isAlone(kNoTriggerModifier, ~platform::EventFlags{0}));
    EXPECT_FALSE(isAlone(kNoTriggerModifier, 0));
}

TEST(TriggerRulesTest, EachTriggerModifierAcceptsItsLeftAndRightKeysOnly) {
    EXPECT_TRUE(isTriggerModifierKey(kEventFlagMaskShift, vk::LeftShift));
    EXPECT_TRUE(isTriggerModifierKey(kEventFlagMaskShift, vk::RightShift));
    EXPECT_TRUE(isTriggerModifierKey(0x40000, vk::LeftControl));
    EXPECT_TRUE(isTriggerModifierKey(0x40000, vk::RightControl));
    EXPECT_TRUE(isTriggerModifierKey(kEventFlagMaskAlternate, vk::LeftOption));
    EXPECT_TRUE(isTriggerModifierKey(kEventFlagMaskAlternate, vk::RightOption));
    EXPECT_TRUE(isTriggerModifierKey(kEventFlagMaskCommand, vk::LeftCommand));
    EXPECT_TRUE(isTriggerModifierKey(kEventFlagMaskCommand, vk::RightCommand));

    EXPECT_FALSE(isTriggerModifierKey(kEventFlagMaskAlternate, vk::LeftShift));
    EXPECT_FALSE(isTriggerModifierKey(kEventFlagMaskCommand, vk::LeftOption));
    EXPECT_FALSE(isTriggerModifierKey(kNoTriggerModifier, vk::LeftOption));
    EXPECT_FALSE(isTriggerModifierKey(0x800000, 63));  // Fn is no trigger
}

TEST(TriggerRulesTest, NavigationKeysBecomeCommandKeysWithShiftOnlyWhenHeld) {
    for (std::int32_t key :
         std::initializer_list<std::int32_t>{vk::Tab, vk::Escape, 123, 124, 125, 126}) {
        EXPECT_TRUE(isNavigationKeyDown(key)) << key;
        EXPECT_TRUE(isNavigationKeyUp(key)) << key;
    }
    EXPECT_FALSE(isNavigationKeyDown(122));
    EXPECT_FALSE(isNavigationKeyUp(127));
    EXPECT_FALSE(isNavigationKeyUp(vk::Space));

    EXPECT_EQ(navigationFlags(0), 0x100000u);
    EXPECT_EQ(navigationFlags(kEventFlagMaskShift), 0x120000u);
    // Everything else the user holds is dropped.
    EXPECT_EQ(navigationFlags(kEventFlagMaskAlternate | 0x40000 | 0x10000), 0x100000u);
    EXPECT_EQ(navigationFlags(kEventFlagMaskShift | kEventFlagMaskAlternate | 0x800000), 0x120000u);
}

TEST(TriggerRulesTest, ThePressTwiceWindowIncludesItsEnd) {
    EXPECT_TRUE(withinPressTwiceWindow(1000.0, 1000.0));
    EXPECT_TRUE(withinPressTwiceWindow(1000.3, 1000.0));
    // 1001.1 - 1000.8 comes out a little above 0.3 in doubles; it is still the same 0.3 s.
    EXPECT_TRUE(withinPressTwiceWindow(1001.1, 1000.8));
    EXPECT_FALSE(withinPressTwiceWindow(1000.300001, 1000.0));
    EXPECT_FALSE(withinPressTwiceWindow(1001.1, 1000.7));
    // The start value 0 is never within reach of a real time.
    EXPECT_FALSE(withinPressTwiceWindow(1000.0, 0));
}

TEST(TriggerRulesTest, AHoldNeedsTheFullHoldTime) {
    EXPECT_TRUE(middleButtonHeldLongEnough(1000.25, 1000.0));
    EXPECT_FALSE(middleButtonHeldLongEnough(1000.2499, 1000.0));
    EXPECT_FALSE(middleButtonHeldLongEnough(1000.1, 1000.0));
}

TEST(TriggerRulesTest, ThePressCountRestartsOnAnotherKeyAndStopsAtThirtyTwo) {
    // A run cleared by a completed activation (no last key) starts again at one.
    EXPECT_EQ(nextPressCount(kNoKey, 0, 0), 1);
    EXPECT_EQ(nextPressCount(0, 1, 0), 2);
    EXPECT_EQ(nextPressCount(0, 2, 11), 1);  // B after A: B's first press
    EXPECT_EQ(nextPressCount(0, 31, 0), 32);
    EXPECT_EQ(nextPressCount(0, 32, 0), 32);
}

TEST(TriggerRulesTest, HintKeyStringsRepeatTheKeysCharacter) {
    EXPECT_EQ(hintKeyString('A', 1), "A");
    EXPECT_EQ(hintKeyString('M', 3), "MMM");
    EXPECT_EQ(hintKeyString('7', 2), "77");
    EXPECT_EQ(hintKeyString('=', 1), "=");  // no item ever has it
    EXPECT_EQ(hintKeyString('A', 40), std::string(32, 'A'));
    EXPECT_EQ(hintKeyString(kNoCharForKeyCode, 2), "");
    EXPECT_EQ(hintKeyString(getCharForKeyCode(vk::Delete), 1), "");
}

TEST(TriggerRulesTest, OnlyHintAlphabetKeysReleaseIntoARun) {
    EXPECT_EQ(hintLetterForKeyChar('A'), 'A');
    EXPECT_EQ(hintLetterForKeyChar('a'), 'A');
    EXPECT_EQ(hintLetterForKeyChar('0'), '0');
    EXPECT_EQ(hintLetterForKeyChar('9'), '9');
    for (std::int32_t c : {'=', '-', '[', ';', '\'', ',', '.', '/', '\\', '?', ' ', '\t'})
        EXPECT_FALSE(hintLetterForKeyChar(c)) << c;
    EXPECT_FALSE(hintLetterForKeyChar(kNoCharForKeyCode));
    EXPECT_FALSE(hintLetterForKeyChar(0xC1));  // an accented capital, outside ASCII
}

TEST(TriggerRulesTest, KeyCodesUseTheirLowSixteenBits) {
    platform::TapEvent event;
    event.keyCode = 0x10000 + vk::Tab;
    EXPECT_EQ(keyCodeOf(event), vk::Tab);
    event.keyCode = -1;
    EXPECT_EQ(keyCodeOf(event), 0xFFFF);
}

}  // namespace
}  // namespace vantor
