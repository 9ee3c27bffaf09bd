// The workspace and its running applications (NSWorkspace, NSRunningApplication): which
// applications run, their termination, and the workspace's notification centre.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/KeyValueObserving.h"

namespace vantor::platform {

// What the agent reads of an NSRunningApplication.
struct RunningApplication {
    std::int32_t processIdentifier = 0;
    std::string bundleIdentifier;
    std::string localizedName;
    std::string bundlePath;  // bundleURL.path
};

inline constexpr std::string_view kWorkspaceDidTerminateApplicationNotification =
    "NSWorkspaceDidTerminateApplicationNotification";

struct WorkspaceNotification {
    std::string_view name;
    RunningApplication application;
};

using WorkspaceNotificationHandler = std::function<void(const WorkspaceNotification&)>;

// NSApplicationActivationOptions
inline constexpr unsigned kApplicationActivateAllWindows = 1;
inline constexpr unsigned kApplicationActivateIgnoringOtherApps = 2;

class Workspace {
public:
    virtual ~Workspace() = default;

    // [NSWorkspace sharedWorkspace].runningApplications
    virtual std::vector<RunningApplication> runningApplications() = 0;
    // [NSRunningApplication runningApplicationsWithBundleIdentifier:]
    virtual std::vector<RunningApplication> runningApplicationsWithBundleIdentifier(
        std::string_view bundleIdentifier) = 0;

    // [NSWorkspace launchApplication:] (openApplicationAtURL:configuration: where that is gone):
    // starts the application at this bundle path, or makes it active when it already runs.
    // True on success.
    virtual bool launchApplication(std::string_view bundlePath) = 0;
    // [NSWorkspace URLForApplicationWithBundleIdentifier:].path: where the application with this
    // bundle identifier is installed; none when the system knows no such application.
    virtual std::optional<std::string> urlForApplicationWithBundleIdentifier(
        std::string_view bundleIdentifier) = 0;
    // [NSWorkspace menuBarOwningApplication]; none when no application owns the menu bar.
    virtual std::optional<RunningApplication> menuBarOwningApplication() = 0;
    // [NSRunningApplication activateWithOptions:] on the application with this pid.
    virtual bool activateWithOptions(std::int32_t pid, unsigned options) = 0;
    // [NSWorkspace openURL:]: the address opens in the user's browser. True on success.
    virtual bool openURL(std::string_view url) = 0;

    // addObserver:forKeyPath:@"terminated" options:NSKeyValueObservingOptionNew context: on the
    // running application with this process identifier. The observer is told once, with the new
    // value YES, when that application terminates.
    virtual void addTerminatedObserver(std::int32_t pid, KeyValueObserver& observer,
                                       const void* context) = 0;
    // removeObserver:forKeyPath:@"terminated"
    virtual void removeTerminatedObserver(std::int32_t pid, KeyValueObserver& observer) = 0;

    // addObserver:selector:name:object:nil on the shared workspace's notificationCenter.
    // The handler runs on the main thread for every notification of that name.
    virtual void addNotificationObserver(std::string_view name,
                                         WorkspaceNotificationHandler handler) = 0;
};

}  // namespace vantor::platform
