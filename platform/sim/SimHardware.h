// The keyboard and mouse of the simulated desktop: hardware events with the live modifier
// flags, flags-changed events for modifier keys, key repeat of the last key held, and the
// pointer.
#pragma once

#include <cstdint>
#include <optional>
#include <set>

#include "platform/sim/SimEventServices.h"
#include "platform/sim/SimRunLoop.h"

namespace vantor::sim {

class SimHardware {
public:
    // A held key repeats its key-down 0.375 s after it went down, then every 0.09 s.
    static constexpr Nanos kRepeatDelay = 375 * kMillisecond;
    static constexpr Nanos kRepeatInterval = 90 * kMillisecond;

    SimHardware(SimEventServices& events, SimRunLoop& runLoop)
        : events_(events), runLoop_(runLoop) {}

    void keyDown(std::uint16_t code);
    void keyUp(std::uint16_t code);
    // The pointer moves to `to` (Accessibility coordinates).
    void mouseMove(platform::Point to);
    // A button goes down or up at `at`; the pointer first moves there when it is elsewhere.
    void mouseButton(platform::MouseButton button, bool down, platform::Point at);
    // The pointer moves to `to` with the button held.
    void mouseDrag(platform::MouseButton button, platform::Point to);

    bool keyHeld(std::uint16_t code) const { return held_.contains(code); }
    std::optional<std::uint16_t> repeatingKey() const { return repeating_; }

private:
    void scheduleRepeat(Nanos delay);
    platform::TapEvent event(platform::EventType type) const;

    SimEventServices& events_;
    SimRunLoop& runLoop_;
    std::set<std::uint16_t> held_;
    std::optional<std::uint16_t> repeating_;
    std::uint64_t repeatGeneration_ = 0;
};

}  // namespace vantor::sim
