// semVerCompare on two arbitrary strings (the input split at its first NUL byte), against a
// reference that reads each component with the C library's strtol, and on JSON values.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "update/VersionCompare.h"

namespace {

using vantor::fuzz::check;

std::vector<std::string> components(std::string_view version) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = version.find('.', start);
        parts.emplace_back(version.substr(start, dot - start));
        if (dot == std::string_view::npos) return parts;
        start = dot + 1;
    }
}

std::int32_t referenceValue(const std::string& component) {
    // strtol stops at the first NUL as the comparison stops at the first non-digit.
    const long value = std::strtol(component.c_str(), nullptr, 10);
    return static_cast<std::int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX));
}

std::int32_t referenceCompare(std::string_view first, std::string_view with) {
    const std::vector<std::string> a = components(first);
    const std::vector<std::string> b = components(with);
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        const std::int32_t x = referenceValue(a[i]);
        const std::int32_t y = referenceValue(b[i]);
        if (x != y) return x > y ? 1 : -1;
    }
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string_view first = input.substr(0, split);
    const std::string_view with =
        split == std::string_view::npos ? std::string_view() : input.substr(split + 1);

    const std::int32_t order = vantor::semVerCompare(first, with);
    check(order >= -1 && order <= 1, "the order is -1, 0 or 1");
    check(order == referenceCompare(first, with), "the order agrees with strtol's reading");
    check(vantor::semVerCompare(with, first) == -order, "swapping the versions negates");
    check(vantor::semVerCompare(first, first) == 0, "a version equals itself");
    // Only the components both have count.
    check(vantor::semVerCompare(first, std::string(first) + "." + std::string(with)) == 0,
          "more components after equal ones compare equal");

    // The JSON form agrees on strings (the parser only ever hands it valid UTF-8, but any
    // bytes must do) and refuses everything else.
    const nlohmann::json a = std::string(first);
    const nlohmann::json b = std::string(with);
    check(vantor::semVerCompare(a, b) == order, "the JSON form agrees on strings");
    const nlohmann::json notText[] = {nullptr, nlohmann::json(static_cast<std::int64_t>(size)),
                                      nlohmann::json::array({a}), nlohmann::json{{"v", b}}};
    for (const nlohmann::json& value : notText) {
        bool raised = false;
        try {
            vantor::semVerCompare(value, b);
        } catch (const vantor::VersionTypeError&) {
            raised = true;
        }
        check(raised, "a value that is not a string raises");
    }
    return 0;
}
