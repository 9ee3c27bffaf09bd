// The simulated Quartz event services and HID stream: event sources with user data, events,
// event taps in order, posting at the HID level or through a tap's proxy, the live modifier
// state and the pointer. What passes every tap goes downstream (to the routing).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/EventServices.h"
#include "platform/sim/RefLedger.h"
#include "platform/sim/SimRunLoop.h"
#include "platform/sim/SimScreens.h"
#include "platform/sim/SimTrace.h"

namespace vantor::sim {

// One event tap: what it wants, its callback, and whether it is on.
struct EventTapState {
    std::uint64_t number = 0;  // 1 for the first tap created, 2 for the next, ...
    platform::EventTapLocation location = platform::EventTapLocation::HID;
    platform::EventMask mask = 0;
    platform::EventTapCallback callback = nullptr;
    void* userInfo = nullptr;
    bool enabled = true;  // a new tap is enabled
    bool slow = false;    // its callback takes too long: the system disables it
    bool valid = true;    // false once the last reference to it has gone
    std::vector<std::weak_ptr<RunLoopSourceState>> sources;
};

class SimEventServices final : public platform::EventServices {
public:
    using Downstream = std::function<void(const platform::TapEvent&)>;

    SimEventServices(RefLedger& ledger, SimRunLoop& runLoop, SimTrace& trace, SimScreens& screens);

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
    platform::Point pointerLocation() override { return pointer_; }
    platform::Point mouseLocation() override;
    bool isSecureEventInputEnabled() override { return secureInput_; }
    std::optional<std::int32_t> secureEventInputProcessIdentifier() override {
        return secureInput_ ? secureInputHolder_ : std::nullopt;
    }

    // The HID system's side.
    void setDownstream(Downstream downstream) { downstream_ = std::move(downstream); }
    // A hardware event enters the stream before every tap.
    void injectHardware(const platform::TapEvent& event, bool repeat);
    platform::EventFlags liveFlags() const { return liveFlags_; }
    void setLiveFlags(platform::EventFlags flags) { liveFlags_ = flags; }
    platform::Point pointer() const { return pointer_; }
    void setPointer(platform::Point pointer) { pointer_ = pointer; }
    // The data of an event object (for tests); a Null event for an unknown handle.
    platform::TapEvent eventData(const platform::Event& event) const;

    // Test controls. The system disables a tap and tells its callback with `notice`
    // (TapDisabledByTimeout or TapDisabledByUserInput); it stays off until re-enabled.
    void disableTap(const platform::EventTap& tap, platform::EventType notice);
    void disableAllTaps(platform::EventType notice);
    // A slow tap is disabled by timeout the next time its callback runs; its answer is then
    // ignored and the event passes unchanged.
    void setTapSlow(const platform::EventTap& tap, bool slow);
    void setAllTapsSlow(bool slow);
    // Secure Input goes on, held by the process `holder` (none: a holder the registry does not
    // name), or off. While it is on, key-downs and key-ups pass no tap on their way downstream.
    void setSecureInput(bool on, std::optional<std::int32_t> holder = std::nullopt);
    // The next `count` tap creations fail (-1: every one).
    void failTapCreation(int count) { tapCreationFailures_ = count; }
    bool tapEnabled(const platform::EventTap& tap) const;
    // Taps that still exist, in the order events reach them.
    std::vector<std::shared_ptr<EventTapState>> taps() const;

private:
    struct StreamItem {
        platform::TapEvent event;
        platform::EventTapLocation from = platform::EventTapLocation::HID;
        std::shared_ptr<EventTapState> noticeFor;  // set for a disabled notice
    };
    struct ProxyContext {
        std::shared_ptr<EventTapState> tap;
        std::vector<platform::TapEvent> posted;
    };

    std::shared_ptr<EventTapState> tapOf(const platform::EventTap& tap) const;
    bool serviced(const EventTapState& tap) const;
    void enter(StreamItem item);
    // Runs an event through the taps from position `start`, then downstream.
    void flow(platform::TapEvent event, std::size_t start);
    void deliverNotice(const std::shared_ptr<EventTapState>& tap, platform::EventType notice);
    void flowPosted(const ProxyContext& context);
    std::size_t firstTapAt(platform::EventTapLocation location) const;
    std::size_t indexAfter(const EventTapState& tap) const;
    void traceTap(const EventTapState& tap, std::string_view what);
    void movePointerFor(const platform::TapEvent& event);

    RefLedger& ledger_;
    SimRunLoop& runLoop_;
    SimTrace& trace_;
    SimScreens& screens_;
    Downstream downstream_;
    std::vector<std::shared_ptr<EventTapState>> taps_;
    std::uint64_t nextTapNumber_ = 1;
    int tapCreationFailures_ = 0;
    std::deque<StreamItem> queue_;
    bool draining_ = false;
    std::vector<ProxyContext*> activeCallbacks_;
    platform::EventFlags liveFlags_ = 0;
    platform::Point pointer_{0, 0};
    bool secureInput_ = false;
    std::optional<std::int32_t> secureInputHolder_;
};

}  // namespace vantor::sim
