// The simulated Accessibility with failures that depend only on the element and the attribute
// read, never on the order of reads, so two ways of reading one tree meet the same failures.
#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/sim/SimAccessibility.h"

namespace vantor::testing {

class FaultyAccessibility final : public platform::Accessibility {
public:
    // What one attribute of one element answers instead of its value.
    struct Fault {
        platform::AXError error = platform::kAXErrorSuccess;  // a failure, when not success
        bool wrongType = false;  // on success: a value of a type the attribute never has
    };

    explicit FaultyAccessibility(sim::SimAccessibility& inner) : inner_(inner) {}

    void failAttribute(const sim::AXNode* node, std::string attribute, Fault fault) {
        attributeFaults_[{node, std::move(attribute)}] = fault;
    }
    // The element does not answer: every single read fails with `error`, and so does a batched
    // read as a whole.
    void failElement(const sim::AXNode* node, platform::AXError error) {
        elementFaults_[node] = error;
    }
    void clear() {
        attributeFaults_.clear();
        elementFaults_.clear();
    }

    bool isProcessTrusted() override { return inner_.isProcessTrusted(); }
    bool isProcessTrustedWithOptions(bool prompt) override {
        return inner_.isProcessTrustedWithOptions(prompt);
    }
    platform::AXElement createApplication(std::int32_t pid) override {
        return inner_.createApplication(pid);
    }
    platform::AXError observerCreate(std::int32_t pid, platform::AXObserverCallback callback,
                                     platform::AXObserver& observer) override {
        return inner_.observerCreate(pid, callback, observer);
    }
    platform::AXError observerAddNotification(const platform::AXObserver& observer,
                                              const platform::AXElement& element,
                                              std::string_view notification,
                                              void* refcon) override {
        return inner_.observerAddNotification(observer, element, notification, refcon);
    }
    platform::RunLoopSource observerGetRunLoopSource(const platform::AXObserver& observer) override {
        return inner_.observerGetRunLoopSource(observer);
    }
    platform::AXError setMessagingTimeout(const platform::AXElement& element,
                                          float timeoutInSeconds) override {
        return inner_.setMessagingTimeout(element, timeoutInSeconds);
    }
    platform::AXError performAction(const platform::AXElement& element,
                                    std::string_view action) override {
        return inner_.performAction(element, action);
    }

    platform::AXError copyAttributeValue(const platform::AXElement& element,
                                         std::string_view attribute,
                                         platform::AXAttributeValue& value) override {
        platform::AXAttributeResult result;
        // Every read reaches the application, failed or not: it costs its round trip.
        result.error = inner_.copyAttributeValue(element, attribute, result.value);
        const sim::AXNode* node = inner_.nodeOf(element).get();
        if (const auto it = elementFaults_.find(node); it != elementFaults_.end())
            return it->second;
        apply(node, attribute, result);
        if (result.error == platform::kAXErrorSuccess) value = std::move(result.value);
        return result.error;
    }

    platform::AXError copyMultipleAttributeValues(
        const platform::AXElement& element, std::span<const std::string_view> attributes,
        std::vector<platform::AXAttributeResult>& results) override {
        const platform::AXError error =
            inner_.copyMultipleAttributeValues(element, attributes, results);
        if (error != platform::kAXErrorSuccess) return error;
        const sim::AXNode* node = inner_.nodeOf(element).get();
        if (const auto it = elementFaults_.find(node); it != elementFaults_.end()) {
            results.clear();
            return it->second;
        }
        for (std::size_t i = 0; i < attributes.size() && i < results.size(); ++i)
            apply(node, attributes[i], results[i]);
        return platform::kAXErrorSuccess;
    }

private:
    void apply(const sim::AXNode* node, std::string_view attribute,
               platform::AXAttributeResult& result) const {
        const auto it = attributeFaults_.find({node, std::string(attribute)});
        if (it == attributeFaults_.end()) return;
        const Fault& fault = it->second;
        if (fault.error != platform::kAXErrorSuccess) {
            result = {fault.error, {}};
        } else if (fault.wrongType && result.error == platform::kAXErrorSuccess) {
            // A title that is a point, a position that is a size, and so on.
            if (attribute == "AXTitle") {
                result.value = platform::Point{3, 4};
            } else if (attribute == "AXPosition") {
                result.value = platform::Size{5, 6};
            } else {
                result.value = std::string("unexpected");
            }
        }
    }

    sim::SimAccessibility& inner_;
    std::map<std::pair<const sim::AXNode*, std::string>, Fault> attributeFaults_;
    std::map<const sim::AXNode*, platform::AXError> elementFaults_;
};

}  // namespace vantor::testing
