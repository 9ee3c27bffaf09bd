// The Accessibility API on macOS (AXUIElement, AXObserver, AXValue): each operation of the
// interface is the ApplicationServices call it names, with CF objects held as handles.
#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include <cstddef>
#include <deque>
#include <map>
#include <vector>

#include "platform/Accessibility.h"

namespace vantor::mac {

// The results for `count` attributes from the array AXUIElementCopyMultipleAttributeValues
// returned (not consumed): an AXValue holding an AXError is that attribute's error, kCFNull
// (the attribute has no value) is kAXErrorNoValue, as a read of that attribute alone reports,
// and anything else is the attribute's value. Attributes the array does not reach have no value.
std::vector<platform::AXAttributeResult> attributeResults(CFArrayRef values, std::size_t count);

class MacAccessibility final : public platform::Accessibility {
public:
    bool isProcessTrusted() override;
    bool isProcessTrustedWithOptions(bool prompt) override;

    platform::AXElement createApplication(std::int32_t pid) override;

    platform::AXError observerCreate(std::int32_t pid, platform::AXObserverCallback callback,
                                     platform::AXObserver& observer) override;
    platform::AXError observerAddNotification(const platform::AXObserver& observer,
                                              const platform::AXElement& element,
                                              std::string_view notification, void* refcon) override;
    platform::RunLoopSource observerGetRunLoopSource(const platform::AXObserver& observer) override;

    platform::AXError copyAttributeValue(const platform::AXElement& element,
                                         std::string_view attribute,
                                         platform::AXAttributeValue& value) override;
    platform::AXError copyMultipleAttributeValues(
        const platform::AXElement& element, std::span<const std::string_view> attributes,
        std::vector<platform::AXAttributeResult>& results) override;

    platform::AXError setMessagingTimeout(const platform::AXElement& element,
                                          float timeoutInSeconds) override;
    platform::AXError performAction(const platform::AXElement& element,
                                    std::string_view action) override;

    // The agent's callback and refcon for one registration: the refcon that
    // AXObserverAddNotification is given, so the system's callback can reach both.
    struct Registration {
        platform::AXObserverCallback callback;
        void* refcon;
    };

private:
    // The callback each observer was created with, by its AXObserverRef.
    std::map<const void*, platform::AXObserverCallback> callbacks_;
    // Kept as long as this object lives; observers are few and long-lived.
    std::deque<Registration> registrations_;
};

}  // namespace vantor::mac
