#include "platform/Settings.h"

#include <fmt/format.h>

#include <cmath>
#include <limits>

namespace vantor::platform {

namespace {

using Json = nlohmann::json;

constexpr std::int64_t kIntegerMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kIntegerMin = std::numeric_limits<std::int64_t>::min();

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view withoutLeadingBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

// NSString integerValue: blanks, an optional sign, then as many decimal digits as follow;
// saturates instead of wrapping.
std::int64_t leadingInteger(std::string_view text) {
    text = withoutLeadingBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Accumulated as a negative number, whose range reaches kIntegerMin.
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') break;
        const int digit = c - '0';
        if (value < (kIntegerMin + digit) / 10) return negative ? kIntegerMin : kIntegerMax;
        value = value * 10 - digit;
    }
    if (negative) return value;
    return value == kIntegerMin ? kIntegerMax : -value;
}

std::int64_t truncated(double number) {
    if (std::isnan(number)) return 0;
    // 2^63 is exact as a double; every double below it truncates into range.
    if (number >= 9223372036854775808.0) return kIntegerMax;
    if (number < -9223372036854775808.0) return kIntegerMin;
    return static_cast<std::int64_t>(number);
}

// The shortest text that reads back as the same double: "1" for 1.0, "0.1", "1e+20".
std::string shortestText(double number) {
    return fmt::format("{}", number);
}

}  // namespace

bool boolValue(const Json& value) {
    switch (value.type()) {
        case Json::value_t::boolean:
            return value.get<bool>();
        case Json::value_t::number_integer:
            return value.get<std::int64_t>() != 0;
        case Json::value_t::number_unsigned:
            return value.get<std::uint64_t>() != 0;
        case Json::value_t::number_float:
            return value.get<double>() != 0.0;
        case Json::value_t::string: {
            const std::string_view text = withoutLeadingBlanks(value.get_ref<const std::string&>());
            if (text.empty()) return false;
            const char first = text.front();
            return first == 'Y' || first == 'y' || first == 'T' || first == 't' ||
                   (first >= '1' && first <= '9');
        }
        default:
            return false;
    }
}

std::int64_t integerValue(const Json& value) {
    switch (value.type()) {
        case Json::value_t::boolean:
            return value.get<bool>() ? 1 : 0;
        case Json::value_t::number_integer:
            return value.get<std::int64_t>();
        case Json::value_t::number_unsigned: {
            const std::uint64_t number = value.get<std::uint64_t>();
            return number > static_cast<std::uint64_t>(kIntegerMax)
                       ? kIntegerMax
                       : static_cast<std::int64_t>(number);
        }
        case Json::value_t::number_float:
            return truncated(value.get<double>());
        case Json::value_t::string:
            return leadingInteger(value.get_ref<const std::string&>());
        default:
            return 0;
    }
}

std::optional<std::string> stringValue(const Json& value) {
    switch (value.type()) {
        case Json::value_t::string:
            return value.get<std::string>();
        case Json::value_t::number_integer:
            return std::to_string(value.get<std::int64_t>());
        case Json::value_t::number_unsigned:
            return std::to_string(value.get<std::uint64_t>());
        case Json::value_t::number_float:
            return shortestText(value.get<double>());
        default:
            return std::nullopt;
    }
}

std::string describeValue(const Json& value) {
    if (value.is_string()) return value.get<std::string>();
    // nlohmann prints a floating-point number with a decimal ("2.0") and an integer without.
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

bool Settings::boolForKey(std::string_view key) const {
    const auto value = objectForKey(key);
    return value && boolValue(*value);
}

std::int64_t Settings::integerForKey(std::string_view key) const {
    const auto value = objectForKey(key);
    return value ? integerValue(*value) : 0;
}

std::optional<std::string> Settings::stringForKey(std::string_view key) const {
    const auto value = objectForKey(key);
    if (!value) return std::nullopt;
    return stringValue(*value);
}

std::optional<std::string> Settings::describeValue(std::string_view key) const {
    const auto value = objectForKey(key);
    if (!value) return std::nullopt;
    return platform::describeValue(*value);
}

}  // namespace vantor::platform
