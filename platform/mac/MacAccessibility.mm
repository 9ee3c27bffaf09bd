#include "platform/mac/MacAccessibility.h"

#include <ApplicationServices/ApplicationServices.h>

#include <algorithm>

#include "platform/mac/MacCFHandle.h"
#include "platform/mac/MacConversions.h"

namespace vantor::mac {

using platform::AXAttributeValue;
using platform::AXElement;
using platform::AXObserver;

namespace {

AXUIElementRef elementRef(const AXElement& element) {
    return cfRef<AXUIElementRef>(element);
}

AXObserverRef observerRef(const AXObserver& observer) {
    return cfRef<AXObserverRef>(observer);
}

// An attribute's value as the agent uses it: a string, a point or size, an element, or the
// elements of an array. The caller keeps its reference to `value`.
AXAttributeValue toAttributeValue(CFTypeRef value) {
    const CFTypeID type = CFGetTypeID(value);
    if (type == CFStringGetTypeID()) return stdString((__bridge NSString*)value);
    if (type == AXUIElementGetTypeID()) return retainCF<AXElement>(value);
    if (type == AXValueGetTypeID()) {
        const auto axValue = static_cast<AXValueRef>(value);
        switch (AXValueGetType(axValue)) {
            case kAXValueTypeCGPoint: {
                CGPoint point;
                if (AXValueGetValue(axValue, kAXValueTypeCGPoint, &point))
                    return platform::Point{point.x, point.y};
                break;
            }
            case kAXValueTypeCGSize: {
                CGSize size;
                if (AXValueGetValue(axValue, kAXValueTypeCGSize, &size))
                    return platform::Size{size.width, size.height};
                break;
            }
            default:
                break;
        }
        return {};
    }
    if (type == CFArrayGetTypeID()) {
        const auto array = static_cast<CFArrayRef>(value);
        std::vector<AXElement> elements;
        const CFIndex count = CFArrayGetCount(array);
        for (CFIndex i = 0; i < count; ++i) {
            const void* item = CFArrayGetValueAtIndex(array, i);
            if (CFGetTypeID(item) == AXUIElementGetTypeID())
                elements.push_back(retainCF<AXElement>(item));
        }
        return elements;
    }
    return {};
}

// AXObserverCallbackWithInfo: hands the notification to the agent's callback with its refcon.
void observerCallback(AXObserverRef observer, AXUIElementRef element, CFStringRef notification,
                      CFDictionaryRef /*info*/, void* refcon) {
    const auto& registration = *static_cast<const MacAccessibility::Registration*>(refcon);
    const AXObserver observerHandle = retainCF<AXObserver>(observer);
    const AXElement elementHandle = retainCF<AXElement>(element);
    const std::string name = stdString((__bridge NSString*)notification);
    registration.callback(observerHandle, elementHandle, name, registration.refcon);
}

}  // namespace

std::vector<platform::AXAttributeResult> attributeResults(CFArrayRef values, std::size_t count) {
    std::vector<platform::AXAttributeResult> results(count);
    const auto available =
        std::min(static_cast<std::size_t>(CFArrayGetCount(values)), results.size());
    for (std::size_t i = 0; i < available; ++i) {
        const void* item = CFArrayGetValueAtIndex(values, static_cast<CFIndex>(i));
        platform::AXAttributeResult& result = results[i];
        if (!item || CFGetTypeID(item) == CFNullGetTypeID()) {
            result.error = platform::kAXErrorNoValue;
            continue;
        }
        const auto axValue = static_cast<AXValueRef>(item);
        ::AXError itemError = kAXErrorSuccess;
        if (CFGetTypeID(item) == AXValueGetTypeID() &&
            AXValueGetType(axValue) == kAXValueTypeAXError &&
            AXValueGetValue(axValue, kAXValueTypeAXError, &itemError)) {
            result.error = static_cast<platform::AXError>(itemError);
        } else {
            result.error = platform::kAXErrorSuccess;
            result.value = toAttributeValue(item);
        }
    }
    return results;
}

bool MacAccessibility::isProcessTrusted() {
    return AXIsProcessTrusted();
}

bool MacAccessibility::isProcessTrustedWithOptions(bool prompt) {
    NSDictionary* options = @{(__bridge NSString*)kAXTrustedCheckOptionPrompt : @(prompt)};
    return AXIsProcessTrustedWithOptions((__bridge CFDictionaryRef)options);
}

AXElement MacAccessibility::createApplication(std::int32_t pid) {
    return adoptCF<AXElement>(AXUIElementCreateApplication(pid));
}

platform::AXError MacAccessibility::observerCreate(std::int32_t pid,
                                                   platform::AXObserverCallback callback,
                                                   AXObserver& observer) {
    AXObserverRef created = nullptr;
    const ::AXError error = AXObserverCreateWithInfoCallback(pid, &observerCallback, &created);
    if (error == kAXErrorSuccess && created) {
        callbacks_[created] = callback;
        observer = adoptCF<AXObserver>(created);
    }
    return static_cast<platform::AXError>(error);
}

platform::AXError MacAccessibility::observerAddNotification(const AXObserver& observer,
                                                            const AXElement& element,
                                                            std::string_view notification,
                                                            void* refcon) {
    const auto callback = callbacks_.find(observer.get());
    if (callback == callbacks_.end()) return platform::kAXErrorInvalidUIElementObserver;
    Registration& registration =
        registrations_.emplace_back(Registration{callback->second, refcon});
    const ::AXError error =
        AXObserverAddNotification(observerRef(observer), elementRef(element),
                                  (__bridge CFStringRef)nsString(notification), &registration);
    if (error != kAXErrorSuccess) registrations_.pop_back();
    return static_cast<platform::AXError>(error);
}

platform::RunLoopSource MacAccessibility::observerGetRunLoopSource(const AXObserver& observer) {
    return retainCF<platform::RunLoopSource>(AXObserverGetRunLoopSource(observerRef(observer)));
}

platform::AXError MacAccessibility::copyAttributeValue(const AXElement& element,
                                                       std::string_view attribute,
                                                       AXAttributeValue& value) {
    CFTypeRef copied = nullptr;
    const ::AXError error = AXUIElementCopyAttributeValue(
        elementRef(element), (__bridge CFStringRef)nsString(attribute), &copied);
    if (copied) {
        if (error == kAXErrorSuccess) value = toAttributeValue(copied);
        CFRelease(copied);
    }
    return static_cast<platform::AXError>(error);
}

platform::AXError MacAccessibility::copyMultipleAttributeValues(
    const AXElement& element, std::span<const std::string_view> attributes,
    std::vector<platform::AXAttributeResult>& results) {
    NSMutableArray* names = [NSMutableArray arrayWithCapacity:attributes.size()];
    for (const std::string_view attribute : attributes)
        [names addObject:nsString(attribute)];
    CFArrayRef values = nullptr;
    const ::AXError error = AXUIElementCopyMultipleAttributeValues(
        elementRef(element), (__bridge CFArrayRef)names, 0, &values);
    if (error == kAXErrorSuccess && values)
        results = attributeResults(values, attributes.size());
    else
        results.assign(attributes.size(), {});
    if (values) CFRelease(values);
    return static_cast<platform::AXError>(error);
}

platform::AXError MacAccessibility::setMessagingTimeout(const AXElement& element,
                                                        float timeoutInSeconds) {
    return static_cast<platform::AXError>(
        AXUIElementSetMessagingTimeout(elementRef(element), timeoutInSeconds));
}

platform::AXError MacAccessibility::performAction(const AXElement& element,
                                                  std::string_view action) {
    return static_cast<platform::AXError>(
        AXUIElementPerformAction(elementRef(element), (__bridge CFStringRef)nsString(action)));
}

}  // namespace vantor::mac
