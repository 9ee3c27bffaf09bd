#include "platform/sim/KeyNames.h"

#include <fmt/format.h>

#include <array>
#include <cmath>
#include <utility>

namespace vantor::sim {

namespace {

using platform::EventType;

struct NamedKey {
    std::string_view name;
    std::uint16_t code;
};

// clang-format off
constexpr std::array<NamedKey, 55> kNamedKeys{{
    {"A", 0}, {"S", 1}, {"D", 2}, {"F", 3}, {"H", 4}, {"G", 5}, {"Z", 6}, {"X", 7}, {"C", 8},
    {"V", 9}, {"B", 11}, {"Q", 12}, {"W", 13}, {"E", 14}, {"R", 15}, {"Y", 16}, {"T", 17},
    {"1", 18}, {"2", 19}, {"3", 20}, {"4", 21}, {"6", 22}, {"5", 23}, {"Equal", 24}, {"9", 25},
    {"7", 26}, {"Minus", 27}, {"8", 28}, {"0", 29}, {"O", 31}, {"U", 32}, {"I", 34}, {"P", 35},
    {"Return", 36}, {"L", 37}, {"J", 38}, {"K", 40}, {"N", 45}, {"M", 46}, {"Tab", 48},
    {"Space", 49}, {"Delete", 51}, {"Escape", 53}, {"RightCommand", 54}, {"LeftCommand", 55},
    {"LeftShift", 56}, {"LeftOption", 58}, {"LeftControl", 59}, {"RightShift", 60},
    {"RightOption", 61}, {"RightControl", 62}, {"Left", 123}, {"Right", 124}, {"Down", 125},
    {"Up", 126},
}};
// clang-format on

std::string_view mouseButtonWord(EventType type) {
    switch (type) {
        case EventType::LeftMouseDown:
        case EventType::LeftMouseUp:
        case EventType::LeftMouseDragged:
            return "left";
        case EventType::RightMouseDown:
        case EventType::RightMouseUp:
        case EventType::RightMouseDragged:
            return "right";
        default:
            return "middle";
    }
}

std::string_view mouseActionWord(EventType type) {
    switch (type) {
        case EventType::LeftMouseDown:
        case EventType::RightMouseDown:
        case EventType::OtherMouseDown:
            return "down";
        case EventType::LeftMouseUp:
        case EventType::RightMouseUp:
        case EventType::OtherMouseUp:
            return "up";
        default:
            return "drag";
    }
}

std::string withModifiers(std::string text, platform::EventFlags flags) {
    const std::string words = modifierWords(flags);
    if (!words.empty()) text += ' ' + words;
    return text;
}

}  // namespace

std::optional<std::uint16_t> keyCodeForName(std::string_view name) {
    std::string upper(name);
    if (upper.size() == 1 && upper[0] >= 'a' && upper[0] <= 'z') upper[0] -= 'a' - 'A';
    for (const NamedKey& key : kNamedKeys) {
        if (key.name == upper) return key.code;
    }
    return std::nullopt;
}

std::string keyNameForCode(std::int64_t code) {
    for (const NamedKey& key : kNamedKeys) {
        if (key.code == code) return std::string(key.name);
    }
    return std::to_string(code);
}

platform::EventFlags modifierFlagForKey(std::int64_t code) {
    switch (code) {
        case keycode::LeftCommand:
        case keycode::RightCommand:
            return platform::kEventFlagMaskCommand;
        case keycode::LeftShift:
        case keycode::RightShift:
            return platform::kEventFlagMaskShift;
        case keycode::LeftOption:
        case keycode::RightOption:
            return platform::kEventFlagMaskAlternate;
        case keycode::LeftControl:
        case keycode::RightControl:
            return platform::kEventFlagMaskControl;
        default:
            return 0;
    }
}

std::string modifierWords(platform::EventFlags flags) {
    constexpr std::array<std::pair<platform::EventFlags, std::string_view>, 5> kWords{{
        {platform::kEventFlagMaskCommand, "cmd"},
        {platform::kEventFlagMaskShift, "shift"},
        {platform::kEventFlagMaskAlternate, "opt"},
        {platform::kEventFlagMaskControl, "ctrl"},
        {platform::kEventFlagMaskSecondaryFn, "fn"},
    }};
    std::string text;
    for (const auto& [flag, word] : kWords) {
        if ((flags & flag) == 0) continue;
        if (!text.empty()) text += ' ';
        text += word;
    }
    return text;
}

bool isKeyEvent(EventType type) {
    return type == EventType::KeyDown || type == EventType::KeyUp ||
           type == EventType::FlagsChanged;
}

bool isMouseEvent(EventType type) {
    switch (type) {
        case EventType::LeftMouseDown:
        case EventType::LeftMouseUp:
        case EventType::RightMouseDown:
        case EventType::RightMouseUp:
        case EventType::MouseMoved:
        case EventType::LeftMouseDragged:
        case EventType::RightMouseDragged:
        case EventType::OtherMouseDown:
        case EventType::OtherMouseUp:
        case EventType::OtherMouseDragged:
            return true;
        default:
            return false;
    }
}

std::string printEvent(const platform::TapEvent& event) {
    const std::string key = keyNameForCode(event.keyCode);
    const long long x = std::llround(event.location.x);
    const long long y = std::llround(event.location.y);
    switch (event.type) {
        case EventType::KeyDown:
            return withModifiers("key-down " + key, event.flags);
        case EventType::KeyUp:
            return withModifiers("key-up " + key, event.flags);
        case EventType::FlagsChanged:
            return withModifiers("flags " + key, event.flags);
        case EventType::MouseMoved:
            return fmt::format("move {} {}", x, y);
        case EventType::TapDisabledByTimeout:
            return "tap-disabled timeout";
        case EventType::TapDisabledByUserInput:
            return "tap-disabled user";
        case EventType::Null:
            return "null";
        default:
            if (isMouseEvent(event.type)) {
                return fmt::format("{}-{} {} {}", mouseButtonWord(event.type),
                                   mouseActionWord(event.type), x, y);
            }
            return fmt::format("event {}", static_cast<std::uint32_t>(event.type));
    }
}

}  // namespace vantor::sim
