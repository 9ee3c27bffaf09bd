#include "platform/sim/SimAccessibility.h"

#include <fmt/format.h>

#include <algorithm>

namespace vantor::sim {

using platform::AXAttributeResult;
using platform::AXElement;
using platform::AXError;
using platform::AXObserver;

namespace {

constexpr AXError kAXErrorActionUnsupported = -25206;
constexpr AXError kAXErrorNotificationAlreadyRegistered = -25209;

// A reference to a node. Two references to one node are distinct objects that compare equal.
class ElementRef final : public RefObject {
public:
    explicit ElementRef(std::shared_ptr<AXNode> pointee)
        : RefObject(RefKind::Element), node(std::move(pointee)) {}
    bool equals(const RefObject& other) const override {
        return node == static_cast<const ElementRef&>(other).node;
    }
    std::shared_ptr<AXNode> node;
};

}  // namespace

// An observer: its callback, its registrations and its source. It stops delivering when the
// last reference to it goes.
struct AXObserverState {
    struct Registration {
        std::weak_ptr<AXNode> node;
        std::string notification;
        void* refcon = nullptr;
    };
    std::int32_t pid = 0;
    platform::AXObserverCallback callback = nullptr;
    std::vector<Registration> registrations;
    std::shared_ptr<RunLoopSourceState> source;
    const void* self = nullptr;       // the observer's reference number while alive
    const void* sourceRef = nullptr;  // the source's reference number handed out last
    bool alive = true;
};

namespace {

class ObserverRef final : public RefObject {
public:
    explicit ObserverRef(std::shared_ptr<AXObserverState> observer)
        : RefObject(RefKind::Observer), state(std::move(observer)) {}
    void lastReleased() override {
        state->alive = false;
        state->registrations.clear();
    }
    std::shared_ptr<AXObserverState> state;
};

}  // namespace

SimAccessibility::SimAccessibility(RefLedger& ledger, SimRunLoop& runLoop, SimTrace& trace)
    : ledger_(ledger), runLoop_(runLoop), trace_(trace) {}

SimAccessibility::~SimAccessibility() = default;

bool SimAccessibility::isProcessTrusted() {
    const bool trusted = trusted_;
    if (checksUntilGranted_ > 0 && --checksUntilGranted_ == 0) grantAfterChecks(0);
    return trusted;
}

void SimAccessibility::grantAfterChecks(int checks) {
    checksUntilGranted_ = checks;
    if (checks > 0) return;
    checksUntilGranted_ = -1;
    trusted_ = true;
}

bool SimAccessibility::isProcessTrustedWithOptions(bool prompt) {
    if (prompt) {
        ++permissionRequests_;
        trace_.add("Accessibility permission requested");
    }
    return trusted_;
}

AXElement SimAccessibility::createApplication(std::int32_t pid) {
    auto it = applications_.find(pid);
    if (it == applications_.end()) {
        // No such process: an element that never answers, equal to every other one for
        // that pid.
        auto node = std::make_shared<AXNode>();
        node->pid = pid;
        node->role = "AXApplication";
        node->alive = false;
        it = applications_.emplace(pid, Application{std::move(node), {}}).first;
    }
    return elementFor(it->second.node);
}

AXError SimAccessibility::observerCreate(std::int32_t pid, platform::AXObserverCallback callback,
                                         AXObserver& observer) {
    if (auto error = injected("observer")) return *error;
    if (pid <= 0 || !callback) return platform::kAXErrorIllegalArgument;

    auto state = std::make_shared<AXObserverState>();
    state->pid = pid;
    state->callback = callback;
    state->source = std::make_shared<RunLoopSourceState>(fmt::format("AX observer {}", pid));
    observer = ledger_.adopt<platform::AXObserverTag>(std::make_unique<ObserverRef>(state));
    state->self = observer.get();

    std::erase_if(observers_, [](const auto& existing) { return !existing->alive; });
    observers_.push_back(std::move(state));
    return platform::kAXErrorSuccess;
}

AXError SimAccessibility::observerAddNotification(const AXObserver& observer,
                                                  const AXElement& element,
                                                  std::string_view notification, void* refcon) {
    ++roundTrips_;
    if (auto error = injected(notification)) return *error;
    const std::shared_ptr<AXObserverState> state = observerOf(observer);
    if (!state) return platform::kAXErrorInvalidUIElementObserver;
    const std::shared_ptr<AXNode> node = nodeOf(element);
    if (!node || !node->alive) return platform::kAXErrorInvalidUIElement;
    if (auto error = answerDelay(node->pid)) return *error;
    if (node->pid != state->pid) return platform::kAXErrorIllegalArgument;
    for (const auto& registration : state->registrations) {
        if (registration.node.lock() == node && registration.notification == notification) {
            return kAXErrorNotificationAlreadyRegistered;
        }
    }
    state->registrations.push_back({node, std::string(notification), refcon});
    return platform::kAXErrorSuccess;
}

platform::RunLoopSource SimAccessibility::observerGetRunLoopSource(const AXObserver& observer) {
    const std::shared_ptr<AXObserverState> state = observerOf(observer);
    if (!state) return {};
    // The observer's one source: a further reference while one is out, else a new one.
    if (auto again = ledger_.retain<platform::RunLoopSourceTag>(state->sourceRef)) return again;
    platform::RunLoopSource source = runLoop_.createSource(state->source);
    state->sourceRef = source.get();
    return source;
}

AXError SimAccessibility::copyAttributeValue(const AXElement& element, std::string_view attribute,
                                             platform::AXAttributeValue& value) {
    ++roundTrips_;
    if (auto error = injected(attribute)) return *error;
    const std::shared_ptr<AXNode> node = nodeOf(element);
    if (!node || !node->alive) return platform::kAXErrorInvalidUIElement;
    if (auto error = answerDelay(node->pid)) return *error;
    AXAttributeResult result = read(*node, attribute);
    if (result.error == platform::kAXErrorSuccess) value = std::move(result.value);
    return result.error;
}

AXError SimAccessibility::copyMultipleAttributeValues(const AXElement& element,
                                                      std::span<const std::string_view> attributes,
                                                      std::vector<AXAttributeResult>& results) {
    ++roundTrips_;
    results.clear();
    const std::shared_ptr<AXNode> node = nodeOf(element);
    if (!node || !node->alive) return platform::kAXErrorInvalidUIElement;
    if (auto error = answerDelay(node->pid)) return *error;
    results.reserve(attributes.size());
    for (std::string_view attribute : attributes) {
        if (auto error = injected(attribute)) {
            results.push_back({*error, {}});
        } else {
            results.push_back(read(*node, attribute));
        }
    }
    return platform::kAXErrorSuccess;
}

AXError SimAccessibility::setMessagingTimeout(const AXElement& element, float timeoutInSeconds) {
    const std::shared_ptr<AXNode> node = nodeOf(element);
    if (!node || !node->alive) return platform::kAXErrorInvalidUIElement;
    if (timeoutInSeconds < 0) return platform::kAXErrorIllegalArgument;
    if (timeoutInSeconds == 0) {
        messagingTimeouts_.erase(node->pid);
    } else {
        messagingTimeouts_[node->pid] = static_cast<Nanos>(double{timeoutInSeconds} * 1e9);
    }
    return platform::kAXErrorSuccess;
}

AXError SimAccessibility::performAction(const AXElement& element, std::string_view action) {
    ++roundTrips_;
    if (auto error = injected(action)) return *error;
    const std::shared_ptr<AXNode> node = nodeOf(element);
    if (!node || !node->alive) return platform::kAXErrorInvalidUIElement;
    if (auto error = answerDelay(node->pid)) return *error;
    const auto it = applications_.find(node->pid);
    if (it == applications_.end() || !it->second.handler) return kAXErrorActionUnsupported;
    // The handler may change the tree and the registry; keep it while it runs.
    const ActionHandler handler = it->second.handler;
    return handler(*node, action);
}

void SimAccessibility::registerApplication(std::int32_t pid, std::shared_ptr<AXNode> node,
                                           ActionHandler handler) {
    applications_[pid] = Application{std::move(node), std::move(handler)};
}

void SimAccessibility::unregisterApplication(std::int32_t pid) {
    const auto it = applications_.find(pid);
    if (it == applications_.end()) return;
    it->second.node->alive = false;
    it->second.handler = nullptr;
}

void SimAccessibility::postNotification(const std::shared_ptr<AXNode>& node,
                                        std::string_view notification) {
    const std::string name(notification);
    for (const auto& observer : observers_) {
        if (!observer->alive || observer->pid != node->pid) continue;
        for (const auto& registration : observer->registrations) {
            if (registration.notification != name) continue;
            const std::shared_ptr<AXNode> registered = registration.node.lock();
            if (!registered || !node->isWithin(*registered)) continue;
            std::weak_ptr<AXObserverState> weak = observer;
            runLoop_.scheduleOnSource(observer->source, kNotificationDelay,
                                      [this, weak, node, name, refcon = registration.refcon] {
                                          deliver(weak, node, name, refcon);
                                      });
        }
    }
}

void SimAccessibility::deliver(const std::weak_ptr<AXObserverState>& weak,
                               const std::shared_ptr<AXNode>& node, const std::string& notification,
                               void* refcon) {
    const std::shared_ptr<AXObserverState> state = weak.lock();
    if (!state || !state->alive) return;
    const AXObserver observer = ledger_.retain<platform::AXObserverTag>(state->self);
    if (!observer) return;
    const AXElement element = elementFor(node);
    state->callback(observer, element, notification, refcon);
}

AXElement SimAccessibility::elementFor(const std::shared_ptr<AXNode>& node) {
    if (!node) return {};
    return ledger_.adopt<platform::AXElementTag>(std::make_unique<ElementRef>(node));
}

std::shared_ptr<AXNode> SimAccessibility::nodeOf(const AXElement& element) const {
    const auto* ref = ledger_.find<ElementRef>(element.get(), RefKind::Element);
    return ref ? ref->node : nullptr;
}

std::shared_ptr<AXObserverState> SimAccessibility::observerOf(const AXObserver& observer) const {
    const auto* ref = ledger_.find<ObserverRef>(observer.get(), RefKind::Observer);
    if (!ref) return nullptr;
    return ref->state->alive ? ref->state : nullptr;
}

void SimAccessibility::failAx(std::string what, AXError error, int count) {
    if (count == 0) {
        failures_.erase(what);
        return;
    }
    failures_[std::move(what)] = Failure{error, count < 0 ? kAlways : count};
}

void SimAccessibility::hang(std::int32_t pid, Nanos delay) {
    if (delay <= 0) {
        hangs_.erase(pid);
    } else {
        hangs_[pid] = delay;
    }
}

std::optional<AXError> SimAccessibility::answerDelay(std::int32_t pid) {
    const auto hung = hangs_.find(pid);
    if (hung == hangs_.end()) return std::nullopt;
    const auto set = messagingTimeouts_.find(pid);
    const Nanos timeout = set == messagingTimeouts_.end() ? kDefaultMessagingTimeout : set->second;
    const Nanos wait = std::min(hung->second, timeout);
    runLoop_.sleepForTimeInterval(toSeconds(wait));
    waited_ += wait;
    if (hung->second <= timeout) return std::nullopt;
    trace_.add(fmt::format("Accessibility call to pid {} ran out after {} s", pid, toSeconds(wait)));
    return platform::kAXErrorCannotComplete;
}

std::optional<AXError> SimAccessibility::injected(std::string_view what) {
    const auto it = failures_.find(what);
    if (it == failures_.end()) return std::nullopt;
    const AXError error = it->second.error;
    if (it->second.remaining != kAlways && --it->second.remaining == 0) failures_.erase(it);
    return error;
}

AXAttributeResult SimAccessibility::read(const AXNode& node, std::string_view attribute) {
    const auto ok = [](platform::AXAttributeValue value) {
        return AXAttributeResult{platform::kAXErrorSuccess, std::move(value)};
    };
    const auto missing = [](AXError error) { return AXAttributeResult{error, {}}; };

    if (attribute == "AXRole") return ok(node.role);
    if (attribute == "AXSubrole") {
        return node.subrole ? ok(*node.subrole) : missing(platform::kAXErrorNoValue);
    }
    if (attribute == "AXTitle") {
        return node.title ? ok(*node.title) : missing(platform::kAXErrorNoValue);
    }
    if (attribute == "AXPosition") {
        if (!node.frame) return missing(platform::kAXErrorAttributeUnsupported);
        return ok(node.frame->origin);
    }
    if (attribute == "AXSize") {
        if (!node.frame) return missing(platform::kAXErrorAttributeUnsupported);
        return ok(node.frame->size);
    }
    if (attribute == "AXChildren") {
        std::vector<AXElement> children;
        children.reserve(node.children.size());
        for (const auto& child : node.children)
            children.push_back(elementFor(child));
        return ok(std::move(children));
    }
    if (attribute == "AXSelectedChildren") {
        if (node.kind != AXNode::Kind::List) {
            return missing(platform::kAXErrorAttributeUnsupported);
        }
        std::vector<AXElement> selected;
        if (const auto child = node.selected.lock(); child && child->alive) {
            selected.push_back(elementFor(child));
        }
        return ok(std::move(selected));
    }
    return missing(platform::kAXErrorAttributeUnsupported);
}

}  // namespace vantor::sim
