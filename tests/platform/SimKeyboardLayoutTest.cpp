#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "platform/sim/SimKeyboardLayout.h"

namespace vantor::sim {
namespace {

struct KnownKey {
    std::string_view layout;
    std::uint16_t keyCode;
    std::int32_t plain;
    std::int32_t shifted;
};

// What the Mac's own layouts type on keys that tell them apart.
TEST(SimKeyboardLayout, TypesWhatTheRealLayoutsType) {
    constexpr std::int32_t kNone = platform::kNoKeyCharacter;
    const KnownKey kKeys[] = {
        {"us", 0, 'a', 'A'},           {"us", 18, '1', '!'},     {"us", 36, kNone, kNone},
        {"azerty", 0, 'q', 'Q'},       {"azerty", 12, 'a', 'A'}, {"azerty", 13, 'z', 'Z'},
        {"azerty", 41, 'm', 'M'},      {"azerty", 46, ',', '?'}, {"azerty", 18, '&', '1'},
        {"azerty", 29, U'à', '0'},     {"qwertz", 6, 'y', 'Y'},  {"qwertz", 16, 'z', 'Z'},
        {"qwertz", 27, U'ß', '?'},     {"qwertz", 19, '2', '"'}, {"dvorak", 40, 't', 'T'},
        {"dvorak", 12, '\'', '"'},     {"dvorak", 44, 'z', 'Z'}, {"dvorak", 27, '[', '{'},
        {"dvorak", 123, kNone, kNone},
    };
    SimKeyboardLayout layout;
    for (const KnownKey& key : kKeys) {
        ASSERT_TRUE(layout.select(key.layout));
        EXPECT_EQ(layout.keyTranslate(key.keyCode, false), key.plain)
            << key.layout << " key " << key.keyCode;
        EXPECT_EQ(layout.keyTranslate(key.keyCode, true), key.shifted)
            << key.layout << " key " << key.keyCode << " with Shift";
    }
}

}  // namespace
}  // namespace vantor::sim
