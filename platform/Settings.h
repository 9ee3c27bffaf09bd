// The application's defaults store ([NSUserDefaults standardUserDefaults]) as far as the agent
// uses it: per-user values under string keys that outlive the process. Values are held as they
// were stored (JSON values: true/false, integers, floating-point numbers, strings) and read
// through the conversions Foundation applies to a value of another type than the one asked for,
// so a hand-edited or wrong-typed value reads as it would on macOS:
//
//   bool key     true for JSON true, a non-zero number, or a string that starts (after blanks)
//                with Y, y, T, t or a digit 1 to 9; false for anything else or an absent key
//   integer key  a number truncated toward zero, a bool as 1 or 0, a string's leading decimal
//                integer (after blanks, with an optional sign), else 0; values beyond the
//                64-bit range saturate
//   string key   a string as it is, a number as its decimal text (integral values without
//                ".0", as NSNumber's stringValue), anything else absent
//
// Nothing here throws; everything runs on the main thread.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace vantor::platform {

// The conversions above on one stored value, for callers that read objectForKey and then ask
// for the value in a type (`[[defaults objectForKey:key] boolValue]`).
bool boolValue(const nlohmann::json& value);
std::int64_t integerValue(const nlohmann::json& value);
std::optional<std::string> stringValue(const nlohmann::json& value);

// A stored value as text, the way a test or a scenario names it: a string as it is (`1.0`),
// true or false as `true`/`false`, an integer in decimal (`524288`), a floating-point number
// with at least one decimal (`2.0`), anything else as its compact JSON text.
std::string describeValue(const nlohmann::json& value);

class Settings {
public:
    virtual ~Settings() = default;

    // [defaults objectForKey:]: the value as it was stored; none when the key is absent.
    virtual std::optional<nlohmann::json> objectForKey(std::string_view key) const = 0;
    // [defaults setObject:forKey:]: stores the value as it is; a JSON null removes the key
    // (setObject:nil).
    virtual void setObject(std::string_view key, nlohmann::json value) = 0;
    // [defaults removeObjectForKey:]
    virtual void removeObjectForKey(std::string_view key) = 0;
    // [defaults synchronize]: saves whatever is not saved yet; true when every value is saved.
    virtual bool synchronize() = 0;

    // [defaults objectForKey:] != nil
    bool hasKey(std::string_view key) const { return objectForKey(key).has_value(); }
    // [defaults boolForKey:]: false when absent.
    bool boolForKey(std::string_view key) const;
    // [defaults integerForKey:]: 0 when absent.
    std::int64_t integerForKey(std::string_view key) const;
    // [defaults stringForKey:]: none when absent or not convertible.
    std::optional<std::string> stringForKey(std::string_view key) const;
    // The stored value as describeValue prints it; none when absent.
    std::optional<std::string> describeValue(std::string_view key) const;

    // [defaults setBool:forKey:]
    void setBool(std::string_view key, bool value) { setObject(key, nlohmann::json(value)); }
    // [defaults setInteger:forKey:]
    void setInteger(std::string_view key, std::int64_t value) {
        setObject(key, nlohmann::json(value));
    }
    // [defaults setObject:forKey:] with a string.
    void setString(std::string_view key, std::string_view value) {
        setObject(key, nlohmann::json(std::string(value)));
    }
};

}  // namespace vantor::platform
