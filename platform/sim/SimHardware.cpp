#include "platform/sim/SimHardware.h"

#include "platform/sim/KeyNames.h"

namespace vantor::sim {

using platform::EventType;
using platform::MouseButton;
using platform::TapEvent;

TapEvent SimHardware::event(EventType type) const {
    TapEvent event;
    event.type = type;
    event.flags = events_.liveFlags();
    event.location = events_.pointer();
    return event;
}

void SimHardware::keyDown(std::uint16_t code) {
    held_.insert(code);
    if (const platform::EventFlags flag = modifierFlagForKey(code)) {
        // Modifiers never repeat, and do not stop the key that does.
        events_.setLiveFlags(events_.liveFlags() | flag);
        TapEvent changed = event(EventType::FlagsChanged);
        changed.keyCode = code;
        events_.injectHardware(changed, false);
        return;
    }
    repeating_ = code;
    scheduleRepeat(kRepeatDelay);
    TapEvent down = event(EventType::KeyDown);
    down.keyCode = code;
    events_.injectHardware(down, false);
}

void SimHardware::keyUp(std::uint16_t code) {
    held_.erase(code);
    if (const platform::EventFlags flag = modifierFlagForKey(code)) {
        // The flag stays while the key of the other side holds it.
        platform::EventFlags flags = events_.liveFlags() & ~flag;
        for (std::uint16_t other : held_)
            flags |= modifierFlagForKey(other);
        events_.setLiveFlags(flags);
        TapEvent changed = event(EventType::FlagsChanged);
        changed.keyCode = code;
        events_.injectHardware(changed, false);
        return;
    }
    if (repeating_ == code) {
        repeating_.reset();
        ++repeatGeneration_;
    }
    TapEvent up = event(EventType::KeyUp);
    up.keyCode = code;
    events_.injectHardware(up, false);
}

void SimHardware::scheduleRepeat(Nanos delay) {
    const std::uint64_t generation = ++repeatGeneration_;
    runLoop_.schedule(delay, [this, generation] {
        if (generation != repeatGeneration_ || !repeating_) return;
        const std::uint16_t code = *repeating_;
        scheduleRepeat(kRepeatInterval);
        TapEvent down = event(EventType::KeyDown);
        down.keyCode = code;
        events_.injectHardware(down, true);
    });
}

void SimHardware::mouseMove(platform::Point to) {
    events_.setPointer(to);
    events_.injectHardware(event(EventType::MouseMoved), false);
}

void SimHardware::mouseButton(MouseButton button, bool down, platform::Point at) {
    if (!(events_.pointer() == at)) mouseMove(at);
    EventType type = EventType::Null;
    switch (button) {
        case MouseButton::Left:
            type = down ? EventType::LeftMouseDown : EventType::LeftMouseUp;
            break;
        case MouseButton::Right:
            type = down ? EventType::RightMouseDown : EventType::RightMouseUp;
            break;
        case MouseButton::Center:
            type = down ? EventType::OtherMouseDown : EventType::OtherMouseUp;
            break;
    }
    TapEvent press = event(type);
    press.buttonNumber = static_cast<std::int64_t>(button);
    events_.injectHardware(press, false);
}

void SimHardware::mouseDrag(MouseButton button, platform::Point to) {
    events_.setPointer(to);
    EventType type = EventType::OtherMouseDragged;
    if (button == MouseButton::Left) type = EventType::LeftMouseDragged;
    if (button == MouseButton::Right) type = EventType::RightMouseDragged;
    TapEvent drag = event(type);
    drag.buttonNumber = static_cast<std::int64_t>(button);
    events_.injectHardware(drag, false);
}

}  // namespace vantor::sim
