// Dotted version comparison for the update check: is the server's version newer than ours?
#pragma once

#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <stdexcept>
#include <string_view>

namespace vantor {

// Raised when a version handed to semVerCompare is not a string (for example a number in the
// server's answer). The update check catches it.
class VersionTypeError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// 1 when `first` is the greater version, -1 when it is the smaller, 0 otherwise.
// Both are split at every "." (empty components kept) and only the components both have are
// compared, numerically, in order: "1.2" equals "1.2.1". A component's value is its leading
// decimal integer after white space and an optional sign, 0 when it has none, clamped to the
// signed 32-bit range: "2-beta" is 2, "beta" is 0.
std::int32_t semVerCompare(std::string_view first, std::string_view with);

// The same on JSON values as the update check holds them. Throws VersionTypeError when either
// value is not a string.
std::int32_t semVerCompare(const nlohmann::json& first, const nlohmann::json& with);

}  // namespace vantor
