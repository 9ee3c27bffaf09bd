// Quartz event services (CoreGraphics CGEvent API): event sources with user data, keyboard and
// mouse events, posting, the event tap, and the live modifier and pointer state.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/Accessibility.h"
#include "platform/Geometry.h"
#include "platform/Handle.h"

namespace vantor::platform {

// CGEventType
enum class EventType : std::uint32_t {
    Null = 0,
    LeftMouseDown = 1,
    LeftMouseUp = 2,
    RightMouseDown = 3,
    RightMouseUp = 4,
    MouseMoved = 5,
    LeftMouseDragged = 6,
    RightMouseDragged = 7,
    KeyDown = 10,
    KeyUp = 11,
    FlagsChanged = 12,
    OtherMouseDown = 25,
    OtherMouseUp = 26,
    OtherMouseDragged = 27,
    TapDisabledByTimeout = 0xFFFFFFFE,
    TapDisabledByUserInput = 0xFFFFFFFF,
};

// CGEventMask and CGEventMaskBit
using EventMask = std::uint64_t;
constexpr EventMask eventMaskBit(EventType type) {
    return EventMask{1} << static_cast<std::uint32_t>(type);
}

// CGEventFlags
using EventFlags = std::uint64_t;
inline constexpr EventFlags kEventFlagMaskAlphaShift = 0x10000;
inline constexpr EventFlags kEventFlagMaskShift = 0x20000;
inline constexpr EventFlags kEventFlagMaskControl = 0x40000;
inline constexpr EventFlags kEventFlagMaskAlternate = 0x80000;
inline constexpr EventFlags kEventFlagMaskCommand = 0x100000;
inline constexpr EventFlags kEventFlagMaskSecondaryFn = 0x800000;

// CGEventSourceStateID
enum class EventSourceStateID : std::int32_t { Private = -1, CombinedSession = 0, HIDSystem = 1 };

// CGMouseButton
enum class MouseButton : std::uint32_t { Left = 0, Right = 1, Center = 2 };

// CGEventTapLocation
enum class EventTapLocation : std::uint32_t { HID = 0, Session = 1, AnnotatedSession = 2 };

struct EventTapTag;
using EventTap = Handle<EventTapTag>;  // CFMachPortRef of an event tap
using EventTapProxy = void*;           // CGEventTapProxy

// The platform-free view of an event that reaches the tap: its type and the fields the agent
// reads (kCGEventSourceUserData, kCGKeyboardEventKeycode, the flags, the location in
// Accessibility coordinates, kCGMouseEventButtonNumber).
struct TapEvent {
    EventType type = EventType::Null;
    std::int64_t sourceUserData = 0;
    std::int64_t keyCode = 0;
    EventFlags flags = 0;
    Point location;
    std::int64_t buttonNumber = 0;
};

// What the tap callback answers: let the event pass, let it pass with its flags replaced, or
// swallow it (return NULL).
enum class TapAction : std::uint8_t { Pass, PassWithFlags, Swallow };
struct TapAnswer {
    TapAction action = TapAction::Pass;
    EventFlags flags = 0;
};

// CGEventTapCallBack, over the abstract event.
using EventTapCallback = TapAnswer (*)(EventTapProxy proxy, const TapEvent& event, void* userInfo);

class EventServices {
public:
    virtual ~EventServices() = default;

    // CGEventSourceCreate
    virtual EventSource sourceCreate(EventSourceStateID state) = 0;
    // CGEventSourceSetUserData
    virtual void sourceSetUserData(const EventSource& source, std::int64_t userData) = 0;
    // CGEventSourceFlagsState: the live modifier flags.
    virtual EventFlags sourceFlagsState(EventSourceStateID state) = 0;

    // CGEventCreateKeyboardEvent
    virtual Event createKeyboardEvent(const EventSource& source, std::uint16_t virtualKey,
                                      bool keyDown) = 0;
    // CGEventCreateMouseEvent; the position is in Accessibility coordinates.
    virtual Event createMouseEvent(const EventSource& source, EventType type, Point position,
                                   MouseButton button) = 0;
    // CGEventSetFlags
    virtual void setFlags(const Event& event, EventFlags flags) = 0;

    // CGEventPost
    virtual void post(EventTapLocation location, const Event& event) = 0;
    // CGEventTapPostEvent: the event enters the stream right after the tap behind the proxy.
    virtual void tapPostEvent(EventTapProxy proxy, const Event& event) = 0;

    // CGEventTapCreate(location, kCGHeadInsertEventTap, kCGEventTapOptionDefault, mask, ...);
    // an empty handle when the tap cannot be created.
    virtual EventTap tapCreate(EventTapLocation location, EventMask mask, EventTapCallback callback,
                               void* userInfo) = 0;
    // CFMachPortCreateRunLoopSource for the tap's port.
    virtual RunLoopSource tapCreateRunLoopSource(const EventTap& tap) = 0;
    // CGEventTapEnable
    virtual void tapEnable(const EventTap& tap, bool enable) = 0;

    // CGEventGetLocation(CGEventCreate(NULL)): the pointer in Accessibility coordinates.
    virtual Point pointerLocation() = 0;
    // [NSEvent mouseLocation]: the pointer in screen coordinates (origin bottom-left).
    virtual Point mouseLocation() = 0;

    // IsSecureEventInputEnabled: some process holds Secure Input, so that no key-down or key-up
    // reaches any tap (flags-changed and mouse events still do).
    virtual bool isSecureEventInputEnabled() = 0;
    // The process holding Secure Input: kCGSSessionSecureInputPID of the console users of the
    // I/O registry entry "IOService:/IOResources/IOConsoleUsers"; none when it cannot be found.
    virtual std::optional<std::int32_t> secureEventInputProcessIdentifier() = 0;
};

}  // namespace vantor::platform
