// The simulated workspace: the running applications in order of recent activity, the Dock's
// process, the agent itself, activation, hiding and termination, and the notifications the
// agent observes (the "terminated" key-value observation, the did-terminate notification).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Workspace.h"
#include "platform/sim/SimRunLoop.h"
#include "platform/sim/SimTrace.h"

namespace vantor::sim {

// One process of the simulated desktop.
struct SimApplication {
    enum class Kind { Regular, Dock, Agent };
    Kind kind = Kind::Regular;
    std::int32_t pid = 0;
    std::string name;  // the localized name
    std::string ref;   // how tests address it: NAME, or NAME#2 for the second of a name
    std::string bundlePath;
    std::string bundleIdentifier;
    bool hidden = false;
    bool running = true;

    platform::RunningApplication info() const { return {pid, bundleIdentifier, name, bundlePath}; }
};

class SimWorkspace final : public platform::Workspace {
public:
    static constexpr std::string_view kDockBundleIdentifier = "com.apple.dock";
    // Launchpad, where macOS installs it: known to the workspace though it is not running.
    static constexpr std::string_view kLaunchpadBundleIdentifier = "com.apple.launchpad.launcher";
    static constexpr std::string_view kLaunchpadPath = "/System/Applications/Launchpad.app";
    static constexpr std::string_view kAgentName = "Vantor";
    static constexpr std::int32_t kAgentPid = 500;
    static constexpr Nanos kNotificationDelay = kMillisecond;

    SimWorkspace(SimRunLoop& runLoop, SimTrace& trace);

    std::vector<platform::RunningApplication> runningApplications() override;
    std::vector<platform::RunningApplication> runningApplicationsWithBundleIdentifier(
        std::string_view bundleIdentifier) override;
    void addTerminatedObserver(std::int32_t pid, platform::KeyValueObserver& observer,
                               const void* context) override;
    void removeTerminatedObserver(std::int32_t pid, platform::KeyValueObserver& observer) override;
    void addNotificationObserver(std::string_view name,
                                 platform::WorkspaceNotificationHandler handler) override;
    // A bundle path that a running application has activates the first such application in
    // the order (and unhides it); any other path starts a new application named after the
    // bundle's file name, in front. Paths that were made to fail, and the old path of a moved
    // bundle, do not open.
    bool launchApplication(std::string_view bundlePath) override;
    std::optional<std::string> urlForApplicationWithBundleIdentifier(
        std::string_view bundleIdentifier) override;
    std::optional<platform::RunningApplication> menuBarOwningApplication() override;
    bool activateWithOptions(std::int32_t pid, unsigned options) override;
    // Records the address; nothing is opened.
    bool openURL(std::string_view url) override;

    // Opening this application's bundle path fails from now on.
    void failLaunch(std::int32_t pid);
    // The application's bundle moves: its old path no longer opens.
    void moveBundle(std::int32_t pid, std::string newPath);
    // Every address opened so far, in order.
    const std::vector<std::string>& openedURLs() const { return openedURLs_; }

    // A regular application starts: at the end of the order (a desktop being set up) or in
    // front (launched). An empty path means "/Applications/NAME.app", an empty bundle
    // identifier "com.example.NAME". Returns its pid.
    std::int32_t addApplication(std::string name, std::string bundlePath,
                                std::string bundleIdentifier, bool inFront);
    // A new Dock process; returns its pid.
    std::int32_t startDockProcess();
    // The process ends: it leaves the order at once, the termination listeners hear of it
    // at once, and the "terminated" observers and the did-terminate notification 1 ms later.
    void terminate(std::int32_t pid);
    // Brings a regular application to the front and unhides it.
    void activate(std::int32_t pid);
    // Hides an application; when it was in front, the next one not hidden comes to the front.
    void hide(std::int32_t pid);
    void unhide(std::int32_t pid);
    // While the agent is active it is the active application (a later window issue sets it).
    void setAgentActive(bool active) { agentActive_ = active; }

    // Called at once when a process ends (the Dock uses it to drop the entry).
    void addTerminationListener(std::function<void(const SimApplication&)> listener);

    // Queries. Every process ever started, by pid or by ref; running or not.
    const SimApplication* find(std::int32_t pid) const;
    const SimApplication* findByRef(std::string_view ref) const;
    // The running regular applications, most recently active first (the switcher's order).
    std::vector<const SimApplication*> applications() const;
    // The frontmost regular application (the first not hidden), the menu-bar owner.
    const SimApplication* front() const;
    // The ref of the active application: "Vantor" while the agent is active, else the front
    // application's; empty when there is none.
    std::string activeRef() const;

private:
    SimApplication* findMutable(std::int32_t pid);
    void moveToFront(std::int32_t pid);
    void traceAction(std::string_view action, const SimApplication& app);
    struct TerminatedObservation {
        std::uint64_t id;
        std::int32_t pid;
        platform::KeyValueObserver* observer;
        const void* context;
    };
    struct NotificationObservation {
        std::string name;
        platform::WorkspaceNotificationHandler handler;
    };

    SimRunLoop& runLoop_;
    SimTrace& trace_;
    std::map<std::int32_t, SimApplication> processes_;  // every process ever started
    std::vector<std::int32_t> order_;                   // running regular applications
    std::map<std::string, int, std::less<>> nameCounts_;
    std::int32_t nextPid_ = 1000;
    std::int32_t nextDockPid_ = 300;
    bool agentActive_ = false;
    std::uint64_t nextObservationId_ = 1;
    std::vector<TerminatedObservation> terminatedObservations_;
    std::vector<NotificationObservation> notificationObservations_;
    std::vector<std::function<void(const SimApplication&)>> terminationListeners_;
    std::vector<std::string> failingPaths_;
    std::vector<std::string> openedURLs_;
};

}  // namespace vantor::sim
