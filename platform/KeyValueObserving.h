// Key-value observation (Foundation's NSKeyValueObserving): an observer registers for a key
// path with a context token and is told of every change announced for that key path.
#pragma once

#include <optional>
#include <string_view>

namespace vantor::platform {

inline constexpr unsigned kKeyValueObservingOptionNew = 0x01;  // NSKeyValueObservingOptionNew

// The change dictionary, as far as the agent reads it: the new value of a boolean key path.
struct KeyValueChange {
    std::optional<bool> newBool;
};

class KeyValueObserver {
public:
    virtual ~KeyValueObserver() = default;
    // observeValueForKeyPath:ofObject:change:context:
    virtual void observeValueForKeyPath(std::string_view keyPath, const void* object,
                                        const KeyValueChange& change, const void* context) = 0;
};

}  // namespace vantor::platform
