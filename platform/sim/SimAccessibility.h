// The simulated Accessibility service: element references that point to nodes of the
// simulated tree, attribute reads, actions, observers whose callbacks come through a run-loop
// source 1 ms after each change, failure injection and a count of round trips.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Accessibility.h"
#include "platform/sim/AXNode.h"
#include "platform/sim/RefLedger.h"
#include "platform/sim/SimRunLoop.h"
#include "platform/sim/SimTrace.h"

namespace vantor::sim {

// An observer's callback, registrations and source (defined with the service).
struct AXObserverState;

class SimAccessibility final : public platform::Accessibility {
public:
    // Performs an action on an element of the application that registered it.
    using ActionHandler = std::function<platform::AXError(AXNode& node, std::string_view action)>;
    // A count for failAx: every call fails from now on.
    static constexpr int kAlways = -1;
    static constexpr Nanos kNotificationDelay = kMillisecond;

    SimAccessibility(RefLedger& ledger, SimRunLoop& runLoop, SimTrace& trace);
    ~SimAccessibility() override;

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

    // The world side. An application whose elements can be read and acted on.
    void registerApplication(std::int32_t pid, std::shared_ptr<AXNode> node, ActionHandler handler);
    // The application has gone: its element no longer answers.
    void unregisterApplication(std::int32_t pid);
    // Announces a change of `node`: every observer registered for the notification on that
    // node or one above it is called back through its source 1 ms later.
    void postNotification(const std::shared_ptr<AXNode>& node, std::string_view notification);
    // A new reference to a node (for tests), and the node a reference points to.
    platform::AXElement elementFor(const std::shared_ptr<AXNode>& node);
    std::shared_ptr<AXNode> nodeOf(const platform::AXElement& element) const;

    // Test controls.
    void setTrusted(bool trusted) { trusted_ = trusted; }
    // The permission arrives right after the next `checks` isProcessTrusted calls have been
    // answered (0: at once).
    void grantAfterChecks(int checks);
    // Prompting permission requests made so far.
    int permissionRequests() const { return permissionRequests_; }
    // The next `count` calls of kind `what` fail with `error` (kAlways: every one). `what` is
    // an attribute name (for single and batched reads alike), "observer" (observer creation),
    // a notification name (its registration) or an action name.
    void failAx(std::string what, platform::AXError error, int count = 1);
    void clearFailures() { failures_.clear(); }
    // Calls served by the application's side: attribute reads (a batched read is one),
    // actions and notification registrations.
    std::int64_t roundTrips() const { return roundTrips_; }
    void resetRoundTrips() { roundTrips_ = 0; }
    // The application answers every call slowly: each takes `delay` of virtual time, during
    // which the caller's thread is blocked, or the caller's messaging timeout (6 s when none
    // was set) if that is shorter, and then fails with kAXErrorCannotComplete. 0 ends it.
    void hang(std::int32_t pid, Nanos delay);
    static constexpr Nanos kDefaultMessagingTimeout = 6 * kNanosPerSecond;
    // Virtual time that callers have spent waiting for hung applications, in all.
    Nanos waited() const { return waited_; }

private:
    struct Failure {
        platform::AXError error = platform::kAXErrorFailure;
        int remaining = 0;
    };
    struct Application {
        std::shared_ptr<AXNode> node;
        ActionHandler handler;
    };

    std::optional<platform::AXError> injected(std::string_view what);
    // The wait of a call to a hung application; kAXErrorCannotComplete when it runs out.
    std::optional<platform::AXError> answerDelay(std::int32_t pid);
    platform::AXAttributeResult read(const AXNode& node, std::string_view attribute);
    std::shared_ptr<AXObserverState> observerOf(const platform::AXObserver& observer) const;
    void deliver(const std::weak_ptr<AXObserverState>& observer,
                 const std::shared_ptr<AXNode>& node, const std::string& notification,
                 void* refcon);

    RefLedger& ledger_;
    SimRunLoop& runLoop_;
    SimTrace& trace_;
    std::unordered_map<std::int32_t, Application> applications_;
    std::vector<std::shared_ptr<AXObserverState>> observers_;
    std::map<std::string, Failure, std::less<>> failures_;
    bool trusted_ = true;
    int checksUntilGranted_ = -1;  // -1: no grant pending
    int permissionRequests_ = 0;
    std::int64_t roundTrips_ = 0;
    std::unordered_map<std::int32_t, Nanos> messagingTimeouts_;  // by pid; absent: the default
    std::unordered_map<std::int32_t, Nanos> hangs_;              // by pid; absent: answers at once
    Nanos waited_ = 0;
};

}  // namespace vantor::sim
