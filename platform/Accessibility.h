// The Accessibility operations the agent calls (ApplicationServices' AXUIElement and
// AXObserver API), plus a batched attribute read that a backend may serve in one round trip.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Handle.h"

namespace vantor::platform {

using AXError = std::int32_t;  // AXError; 0 is success
inline constexpr AXError kAXErrorSuccess = 0;
inline constexpr AXError kAXErrorFailure = -25200;
inline constexpr AXError kAXErrorIllegalArgument = -25201;
inline constexpr AXError kAXErrorInvalidUIElement = -25202;
inline constexpr AXError kAXErrorInvalidUIElementObserver = -25203;
inline constexpr AXError kAXErrorCannotComplete = -25204;
inline constexpr AXError kAXErrorAttributeUnsupported = -25205;
inline constexpr AXError kAXErrorNotificationUnsupported = -25207;
inline constexpr AXError kAXErrorNoValue = -25212;
inline constexpr AXError kAXErrorAPIDisabled = -25211;

struct RunLoopSourceTag;
using RunLoopSource = Handle<RunLoopSourceTag>;  // CFRunLoopSourceRef

// The value of an attribute as the agent uses it (the CFTypeRef that
// AXUIElementCopyAttributeValue hands over): a string, a point or size AXValue, an element,
// or an array of elements. Destroying it gives up the value.
using AXAttributeValue =
    std::variant<std::monostate, std::string, Point, Size, AXElement, std::vector<AXElement>>;

// One attribute of a batched read: its error code and, on success, its value.
struct AXAttributeResult {
    AXError error = kAXErrorNoValue;
    AXAttributeValue value;
};

// AXObserverCallbackWithInfo, without the information dictionary the agent never reads.
using AXObserverCallback = void (*)(const AXObserver& observer, const AXElement& element,
                                    std::string_view notification, void* refcon);

class Accessibility {
public:
    virtual ~Accessibility() = default;

    // AXIsProcessTrusted
    virtual bool isProcessTrusted() = 0;
    // AXIsProcessTrustedWithOptions with kAXTrustedCheckOptionPrompt = prompt
    virtual bool isProcessTrustedWithOptions(bool prompt) = 0;

    // AXUIElementCreateApplication
    virtual AXElement createApplication(std::int32_t pid) = 0;

    // AXObserverCreateWithInfoCallback; on success `observer` holds the new observer.
    virtual AXError observerCreate(std::int32_t pid, AXObserverCallback callback,
                                   AXObserver& observer) = 0;
    // AXObserverAddNotification
    virtual AXError observerAddNotification(const AXObserver& observer, const AXElement& element,
                                            std::string_view notification, void* refcon) = 0;
    // AXObserverGetRunLoopSource: the source that delivers the observer's callbacks.
    virtual RunLoopSource observerGetRunLoopSource(const AXObserver& observer) = 0;

    // AXUIElementCopyAttributeValue; on success `value` holds the attribute's value.
    virtual AXError copyAttributeValue(const AXElement& element, std::string_view attribute,
                                       AXAttributeValue& value) = 0;
    // AXUIElementCopyMultipleAttributeValues (no stop-on-error option): one result per
    // attribute, in order. The returned code is that of the call as a whole.
    virtual AXError copyMultipleAttributeValues(const AXElement& element,
                                                std::span<const std::string_view> attributes,
                                                std::vector<AXAttributeResult>& results) = 0;

    // AXUIElementSetMessagingTimeout: on an application element, every later call to that
    // application waits at most this long and then fails with kAXErrorCannotComplete; 0
    // restores the system's default.
    virtual AXError setMessagingTimeout(const AXElement& element, float timeoutInSeconds) = 0;

    // AXUIElementPerformAction
    virtual AXError performAction(const AXElement& element, std::string_view action) = 0;
};

// AXValueGetValue with kAXValueCGPointType / kAXValueCGSizeType: true when the value held one.
inline bool axValueGetValue(const AXAttributeValue& value, Point& point) {
    if (const auto* p = std::get_if<Point>(&value)) {
        point = *p;
        return true;
    }
    return false;
}
inline bool axValueGetValue(const AXAttributeValue& value, Size& size) {
    if (const auto* s = std::get_if<Size>(&value)) {
        size = *s;
        return true;
    }
    return false;
}

}  // namespace vantor::platform
