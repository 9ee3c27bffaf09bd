#include "platform/mac/MacSettings.h"

#include "platform/mac/MacConversions.h"

namespace vantor::mac {

using Json = nlohmann::json;

namespace {

// A stored value as JSON; any other kind than a boolean, number or string reads as null,
// present but of no use to the agent.
Json toJson(id value) {
    if (value == (__bridge id)kCFBooleanTrue) return true;
    if (value == (__bridge id)kCFBooleanFalse) return false;
    if ([value isKindOfClass:[NSNumber class]]) {
        NSNumber* number = value;
        const char type = number.objCType[0];
        if (type == 'f' || type == 'd') return number.doubleValue;
        if (type == 'Q') return number.unsignedLongLongValue;
        return number.longLongValue;
    }
    if ([value isKindOfClass:[NSString class]]) return stdString(value);
    return nullptr;
}

// A JSON value as the property-list value that stores it; nil for null, and for arrays and
// objects, which the agent never stores.
id toObject(const Json& value) {
    switch (value.type()) {
        case Json::value_t::boolean:
            return @(value.get<bool>());
        case Json::value_t::number_integer:
            return @(value.get<std::int64_t>());
        case Json::value_t::number_unsigned:
            return @(value.get<std::uint64_t>());
        case Json::value_t::number_float:
            return @(value.get<double>());
        case Json::value_t::string:
            return nsString(value.get_ref<const std::string&>());
        default:
            return nil;
    }
}

}  // namespace

std::optional<Json> MacSettings::objectForKey(std::string_view key) const {
    id value = [[NSUserDefaults standardUserDefaults] objectForKey:nsString(key)];
    if (!value) return std::nullopt;
    return toJson(value);
}

void MacSettings::setObject(std::string_view key, Json value) {
    // setObject:nil removes the key, as a JSON null does.
    id object = toObject(value);
    if (object)
        [[NSUserDefaults standardUserDefaults] setObject:object forKey:nsString(key)];
    else
        [[NSUserDefaults standardUserDefaults] removeObjectForKey:nsString(key)];
}

void MacSettings::removeObjectForKey(std::string_view key) {
    [[NSUserDefaults standardUserDefaults] removeObjectForKey:nsString(key)];
}

bool MacSettings::synchronize() {
    return [[NSUserDefaults standardUserDefaults] synchronize];
}

}  // namespace vantor::mac
