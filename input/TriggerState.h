// The state the trigger state machine of the event tap works on: how the switcher was opened,
// the trigger modifier's last press, the hint key being pressed and released, the pending
// middle-button press. The application controller owns one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Geometry.h"

namespace vantor {

inline constexpr std::int32_t kNoKey = -1;            // no key code
inline constexpr std::int32_t kLongPressUsedUp = -2;  // the held key's long press was used up
inline constexpr double kNoMiddleButtonDownTime = -1;
inline constexpr platform::Point kNoMiddleButtonDownPos{-99999, -99999};

struct TriggerState {
    bool _isTriggeredByMouse = false;
    bool _isTriggeredByCmdTab = false;
    bool _isTriggeredByModifierKey = false;
    double _lastTriggerKeyDownTime = 0;
    std::int32_t _longPressingKey = kNoKey;
    std::int32_t _lastKey = kNoKey;
    std::int32_t _lastModifierKey = 0;
    std::int32_t _keyupCount = 0;
    std::optional<std::string> _delayedActivateKey;
    double _middleButtonDownTime = kNoMiddleButtonDownTime;
    platform::Point _middleButtonDownPos = kNoMiddleButtonDownPos;

    // The key state that dismissing, resetting and the switcher's disappearance clear.
    void clearKeyState() {
        _longPressingKey = kNoKey;
        _lastKey = kNoKey;
        _keyupCount = 0;
        _delayedActivateKey.reset();
    }
};

}  // namespace vantor
