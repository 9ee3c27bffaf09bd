// The workspace on macOS (NSWorkspace, NSRunningApplication): running applications, launching,
// activation, addresses, the "terminated" observation and the workspace's notifications.
#pragma once

#import <Foundation/Foundation.h>

#include <vector>

#include "platform/Workspace.h"

@class VantorTerminatedObservation;

namespace vantor::mac {

class MacWorkspace final : public platform::Workspace {
public:
    MacWorkspace();
    ~MacWorkspace() override;
    MacWorkspace(const MacWorkspace&) = delete;
    MacWorkspace& operator=(const MacWorkspace&) = delete;

    std::vector<platform::RunningApplication> runningApplications() override;
    std::vector<platform::RunningApplication> runningApplicationsWithBundleIdentifier(
        std::string_view bundleIdentifier) override;

    bool launchApplication(std::string_view bundlePath) override;
    std::optional<platform::RunningApplication> menuBarOwningApplication() override;
    bool activateWithOptions(std::int32_t pid, unsigned options) override;
    bool openURL(std::string_view url) override;
    std::optional<std::string> urlForApplicationWithBundleIdentifier(
        std::string_view bundleIdentifier) override;

    void addTerminatedObserver(std::int32_t pid, platform::KeyValueObserver& observer,
                               const void* context) override;
    void removeTerminatedObserver(std::int32_t pid, platform::KeyValueObserver& observer) override;

    void addNotificationObserver(std::string_view name,
                                 platform::WorkspaceNotificationHandler handler) override;

private:
    struct TerminatedObservation {
        std::int32_t pid;
        platform::KeyValueObserver* observer;
        VantorTerminatedObservation* __strong bridge;
    };
    std::vector<TerminatedObservation> terminatedObservations_;
    // The tokens of addObserverForName:object:queue:usingBlock:, removed at destruction.
    NSMutableArray* notificationTokens_;
};

}  // namespace vantor::mac
