// Quartz event services on macOS: event sources, keyboard and mouse events, posting, the event
// tap, the live modifier and pointer state, and Secure Input, each the call its interface names.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>

#include "platform/EventServices.h"

namespace vantor::mac {

class MacEventServices final : public platform::EventServices {
public:
    platform::EventSource sourceCreate(platform::EventSourceStateID state) override;
    void sourceSetUserData(const platform::EventSource& source, std::int64_t userData) override;
    platform::EventFlags sourceFlagsState(platform::EventSourceStateID state) override;

    platform::Event createKeyboardEvent(const platform::EventSource& source,
                                        std::uint16_t virtualKey, bool keyDown) override;
    platform::Event createMouseEvent(const platform::EventSource& source, platform::EventType type,
                                     platform::Point position,
                                     platform::MouseButton button) override;
    void setFlags(const platform::Event& event, platform::EventFlags flags) override;

    void post(platform::EventTapLocation location, const platform::Event& event) override;
    void tapPostEvent(platform::EventTapProxy proxy, const platform::Event& event) override;

    platform::EventTap tapCreate(platform::EventTapLocation location, platform::EventMask mask,
                                 platform::EventTapCallback callback, void* userInfo) override;
    platform::RunLoopSource tapCreateRunLoopSource(const platform::EventTap& tap) override;
    void tapEnable(const platform::EventTap& tap, bool enable) override;

    platform::Point pointerLocation() override;
    platform::Point mouseLocation() override;
    bool isSecureEventInputEnabled() override;
    std::optional<std::int32_t> secureEventInputProcessIdentifier() override;

    // The agent's callback and its user data, handed to CGEventTapCreate as the tap's user
    // info; kept for the life of this object, which outlives every tap it creates.
    struct TapCallback {
        platform::EventTapCallback callback;
        void* userInfo;
    };

private:
    std::deque<TapCallback> tapCallbacks_;
};

}  // namespace vantor::mac
