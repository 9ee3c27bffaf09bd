#include "update/VersionCompare.h"

#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>

namespace vantor {
namespace {

// White space as C's isspace sees it in the "C" locale; fixed here so that the user's locale
// never changes how a version reads.
constexpr bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The leading integer of one component, strtol-like, clamped to the signed 32-bit range.
std::int32_t componentValue(std::string_view component) {
    std::size_t i = 0;
    while (i < component.size() && isSpace(component[i]))
        ++i;

    bool negative = false;
    if (i < component.size() && (component[i] == '+' || component[i] == '-')) {
        negative = component[i] == '-';
        ++i;
    }

    // Saturate the magnitude just past the 32-bit range so any number of digits is safe.
    constexpr std::int64_t kCap = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; i < component.size() && isDigit(component[i]); ++i) {
        if (magnitude < kCap) magnitude = magnitude * 10 + (component[i] - '0');
    }

    if (negative) {
        return magnitude >= kCap ? std::numeric_limits<std::int32_t>::min()
                                 : static_cast<std::int32_t>(-magnitude);
    }
    return magnitude >= kCap ? std::numeric_limits<std::int32_t>::max()
                             : static_cast<std::int32_t>(magnitude);
}

// Walks a version one "." separated component at a time, without copying.
class Components {
public:
    explicit Components(std::string_view version) : rest_(version) {}

    // The next component; `rest_` keeps what follows its dot. Only valid while hasNext().
    std::string_view next() {
        const std::size_t dot = rest_.find('.');
        const std::string_view component = rest_.substr(0, dot);
        if (dot == std::string_view::npos) {
            done_ = true;
        } else {
            rest_.remove_prefix(dot + 1);
        }
        return component;
    }

    // A version always has at least one component; a trailing "." adds an empty one.
    bool hasNext() const { return !done_; }

private:
    std::string_view rest_;
    bool done_ = false;
};

[[noreturn]] void throwNotAString(const char* which, const nlohmann::json& value) {
    // Replace invalid UTF-8 inside strings of an object or array so that describing the value
    // cannot itself fail.
    const std::string text = value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    throw VersionTypeError(std::string("semVerCompare: ") + which + " version is not a string (" +
                           value.type_name() + "): " + text);
}

}  // namespace

std::int32_t semVerCompare(std::string_view first, std::string_view with) {
    Components a(first);
    Components b(with);
    while (a.hasNext() && b.hasNext()) {
        const std::int32_t x = componentValue(a.next());
        const std::int32_t y = componentValue(b.next());
        if (x > y) return 1;
        if (x < y) return -1;
    }
    return 0;
}

std::int32_t semVerCompare(const nlohmann::json& first, const nlohmann::json& with) {
    if (!first.is_string()) throwNotAString("first", first);
    if (!with.is_string()) throwNotAString("second", with);
    return semVerCompare(std::string_view(first.get_ref<const std::string&>()),
                         std::string_view(with.get_ref<const std::string&>()));
}

}  // namespace vantor
