#include <gtest/gtest.h>

#include <cstdint>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <string_view>

#include "update/VersionCompare.h"

namespace vantor {
namespace {

struct CompareCase {
    std::string_view first;
    std::string_view with;
    std::int32_t expected;
};

void PrintTo(const CompareCase& c, std::ostream* os) {
    *os << '"' << c.first << "\" vs \"" << c.with << "\" -> " << c.expected;
}

class SemVerCompare : public testing::TestWithParam<CompareCase> {};

TEST_P(SemVerCompare, ComparesCommonComponentsNumerically) {
    const CompareCase& c = GetParam();
    EXPECT_EQ(semVerCompare(c.first, c.with), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, SemVerCompare,
    testing::Values(CompareCase{"1.10", "1.9", 1},  // numeric, not text order
                    CompareCase{"2", "1.9.9", 1}, CompareCase{"1.9.9", "2", -1},
                    CompareCase{"1.2.3", "1.2.3", 0}, CompareCase{"1.2.3", "1.3.0", -1},
                    // Only the components both versions have are compared.
                    CompareCase{"1.2", "1.2.1", 0}, CompareCase{"1.2.1", "1.2", 0},
                    CompareCase{"1.", "1.5", -1},  // trailing empty is 0
                    CompareCase{"1..2", "1.0.3", -1}, CompareCase{"", "0", 0},
                    CompareCase{"", "5", -1}, CompareCase{".", "0.0", 0},
                    // A component's value: its leading decimal number, as strtol reads it.
                    CompareCase{"1.2-beta", "1.2", 0}, CompareCase{"beta.9", "1", -1},
                    CompareCase{" 3.1", "3.1", 0}, CompareCase{"3.\t\n\v\f\r4", "3.4", 0},
                    CompareCase{"1.-1", "1.0", -1}, CompareCase{"+2", "1", 1},
                    CompareCase{"+-2", "0", 0},    // one sign only
                    CompareCase{"- 2", "0", 0},    // no space after the sign
                    CompareCase{"0x10", "1", -1},  // decimal only: "0x10" is 0
                    CompareCase{"007", "7", 0},
                    // Clamped to 32 bits.
                    CompareCase{"99999999999", "2147483647", 0},
                    CompareCase{"99999999999", "2147483646", 1},
                    CompareCase{"2147483648", "2147483647", 0},
                    CompareCase{"999999999999999999999999999999", "2147483647", 0},  // > 64 bits
                    CompareCase{"-99999999999", "-2147483648", 0},
                    CompareCase{"-99999999999", "-2147483647", -1},
                    CompareCase{"-2147483648", "-2147483647", -1},
                    CompareCase{"-999999999999999999999999999999", "-2147483648", 0},
                    CompareCase{"1.99999999999", "1.-99999999999", 1}));

TEST(SemVerCompareJson, NonStringInEitherPositionThrows) {
    const nlohmann::json nonStrings[] = {
        nlohmann::json(2), nlohmann::json(2.5), nlohmann::json(nullptr), nlohmann::json(true),
        nlohmann::json::object({{"v", "1.0"}}), nlohmann::json::array({1, 0}),
        // Invalid UTF-8 inside a container must still be described, not fail differently.
        nlohmann::json::array({std::string("\xff")})};
    const nlohmann::json version("1.0");
    for (const nlohmann::json& value : nonStrings) {
        EXPECT_THROW(semVerCompare(value, version), VersionTypeError) << value.type_name();
        EXPECT_THROW(semVerCompare(version, value), VersionTypeError) << value.type_name();
    }
}

}  // namespace
}  // namespace vantor
