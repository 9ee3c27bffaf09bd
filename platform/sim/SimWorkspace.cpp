#include "platform/sim/SimWorkspace.h"

#include <fmt/format.h>

#include <algorithm>

namespace vantor::sim {

namespace {

constexpr std::string_view kTerminatedKeyPath = "terminated";

std::string defaultBundleIdentifier(std::string_view name) {
    std::string id = "com.example.";
    for (char c : name) {
        if (c != ' ') id += c;
    }
    return id;
}

}  // namespace

SimWorkspace::SimWorkspace(SimRunLoop& runLoop, SimTrace& trace)
    : runLoop_(runLoop), trace_(trace) {
    SimApplication agent;
    agent.kind = SimApplication::Kind::Agent;
    agent.pid = kAgentPid;
    agent.name = agent.ref = std::string(kAgentName);
    agent.bundlePath = "/Applications/Vantor.app";
    agent.bundleIdentifier = "com.vantor.Vantor";
    processes_.emplace(agent.pid, std::move(agent));
}

std::vector<platform::RunningApplication> SimWorkspace::runningApplications() {
    std::vector<platform::RunningApplication> running;
    for (std::int32_t pid : order_)
        running.push_back(processes_.at(pid).info());
    for (const auto& [pid, app] : processes_) {
        if (app.running && app.kind != SimApplication::Kind::Regular) {
            running.push_back(app.info());
        }
    }
    return running;
}

std::vector<platform::RunningApplication> SimWorkspace::runningApplicationsWithBundleIdentifier(
    std::string_view bundleIdentifier) {
    std::vector<platform::RunningApplication> matching;
    for (const platform::RunningApplication& app : runningApplications()) {
        if (app.bundleIdentifier == bundleIdentifier) matching.push_back(app);
    }
    return matching;
}

void SimWorkspace::addTerminatedObserver(std::int32_t pid, platform::KeyValueObserver& observer,
                                         const void* context) {
    terminatedObservations_.push_back({nextObservationId_++, pid, &observer, context});
}

void SimWorkspace::removeTerminatedObserver(std::int32_t pid,
                                            platform::KeyValueObserver& observer) {
    std::erase_if(terminatedObservations_, [&](const TerminatedObservation& observation) {
        return observation.pid == pid && observation.observer == &observer;
    });
}

void SimWorkspace::addNotificationObserver(std::string_view name,
                                           platform::WorkspaceNotificationHandler handler) {
    notificationObservations_.push_back({std::string(name), std::move(handler)});
}

std::int32_t SimWorkspace::addApplication(std::string name, std::string bundlePath,
                                          std::string bundleIdentifier, bool inFront) {
    SimApplication app;
    app.pid = nextPid_++;
    const int occurrence = ++nameCounts_[name];
    app.ref = occurrence == 1 ? name : fmt::format("{}#{}", name, occurrence);
    app.bundlePath =
        bundlePath.empty() ? fmt::format("/Applications/{}.app", name) : std::move(bundlePath);
    app.bundleIdentifier =
        bundleIdentifier.empty() ? defaultBundleIdentifier(name) : std::move(bundleIdentifier);
    app.name = std::move(name);
    const std::int32_t pid = app.pid;
    order_.push_back(pid);
    if (inFront) {
        moveToFront(pid);
        agentActive_ = false;
    }
    processes_.emplace(pid, std::move(app));
    if (inFront) traceAction("start", processes_.at(pid));
    return pid;
}

std::int32_t SimWorkspace::startDockProcess() {
    SimApplication dock;
    dock.kind = SimApplication::Kind::Dock;
    dock.pid = nextDockPid_++;
    dock.name = dock.ref = "Dock";
    dock.bundlePath = "/System/Library/CoreServices/Dock.app";
    dock.bundleIdentifier = std::string(kDockBundleIdentifier);
    const std::int32_t pid = dock.pid;
    processes_.emplace(pid, std::move(dock));
    return pid;
}

void SimWorkspace::terminate(std::int32_t pid) {
    SimApplication* app = findMutable(pid);
    if (!app || !app->running || app->kind == SimApplication::Kind::Agent) return;
    const SimApplication* frontBefore = front();
    app->running = false;
    std::erase(order_, pid);
    traceAction("quit", *app);
    // The application in front went: the next one not hidden becomes the active one.
    if (frontBefore == app) {
        if (const SimApplication* next = front()) moveToFront(next->pid);
    }
    for (const auto& listener : terminationListeners_)
        listener(*app);

    for (const TerminatedObservation& observation : terminatedObservations_) {
        if (observation.pid != pid) continue;
        runLoop_.scheduleForAgent(
            kNotificationDelay,
            [this, id = observation.id, pid] {
                const auto it =
                    std::find_if(terminatedObservations_.begin(), terminatedObservations_.end(),
                                 [id](const TerminatedObservation& o) { return o.id == id; });
                if (it == terminatedObservations_.end()) return;  // removed meanwhile
                const TerminatedObservation told = *it;
                terminatedObservations_.erase(it);
                platform::KeyValueChange change;
                change.newBool = true;
                told.observer->observeValueForKeyPath(kTerminatedKeyPath, &processes_.at(pid),
                                                      change, told.context);
            },
            kModeCommon);
    }
    runLoop_.scheduleForAgent(
        kNotificationDelay,
        [this, pid] {
            const platform::WorkspaceNotification notification{
                platform::kWorkspaceDidTerminateApplicationNotification, processes_.at(pid).info()};
            // Handlers added while delivering hear the next notification, not this one.
            const std::size_t count = notificationObservations_.size();
            for (std::size_t i = 0; i < count; ++i) {
                if (notificationObservations_[i].name == notification.name) {
                    const auto handler = notificationObservations_[i].handler;
                    handler(notification);
                }
            }
        },
        kModeCommon);
}

bool SimWorkspace::launchApplication(std::string_view bundlePath) {
    const bool fails = std::find(failingPaths_.begin(), failingPaths_.end(), bundlePath) !=
                       failingPaths_.end();
    trace_.add(fmt::format("launch {}{}", bundlePath, fails ? " fails" : ""));
    if (fails || bundlePath.empty()) return false;
    for (std::int32_t pid : order_) {
        if (processes_.at(pid).bundlePath == bundlePath) {
            activate(pid);
            return true;
        }
    }
    // A bundle no running application has: it starts, named after its file name.
    std::string_view name = bundlePath.substr(bundlePath.find_last_of('/') + 1);
    if (const auto dot = name.find_last_of('.'); dot != std::string_view::npos && dot > 0)
        name = name.substr(0, dot);
    addApplication(std::string(name), std::string(bundlePath), {}, true);
    return true;
}

std::optional<std::string> SimWorkspace::urlForApplicationWithBundleIdentifier(
    std::string_view bundleIdentifier) {
    // The system's own applications that the agent opens, where a Mac installs them.
    if (bundleIdentifier == kLaunchpadBundleIdentifier) return std::string(kLaunchpadPath);
    for (std::int32_t pid : order_) {
        const SimApplication& app = processes_.at(pid);
        if (app.bundleIdentifier == bundleIdentifier && !app.bundlePath.empty())
            return app.bundlePath;
    }
    return std::nullopt;
}

std::optional<platform::RunningApplication> SimWorkspace::menuBarOwningApplication() {
    const SimApplication* app = front();
    if (!app) return std::nullopt;
    return app->info();
}

bool SimWorkspace::activateWithOptions(std::int32_t pid, unsigned options) {
    const SimApplication* app = find(pid);
    if (!app || !app->running) return false;
    trace_.add(fmt::format("activateWithOptions {} {}", app->ref, options));
    if (app->kind == SimApplication::Kind::Agent) {
        agentActive_ = true;
        return true;
    }
    activate(pid);
    return true;
}

bool SimWorkspace::openURL(std::string_view url) {
    openedURLs_.emplace_back(url);
    trace_.add(fmt::format("open {}", url));
    return true;
}

void SimWorkspace::failLaunch(std::int32_t pid) {
    if (const SimApplication* app = find(pid)) failingPaths_.push_back(app->bundlePath);
}

void SimWorkspace::moveBundle(std::int32_t pid, std::string newPath) {
    SimApplication* app = findMutable(pid);
    if (!app) return;
    failingPaths_.push_back(app->bundlePath);
    std::erase(failingPaths_, newPath);
    app->bundlePath = std::move(newPath);
}

void SimWorkspace::activate(std::int32_t pid) {
    SimApplication* app = findMutable(pid);
    if (!app || !app->running || app->kind != SimApplication::Kind::Regular) return;
    app->hidden = false;
    moveToFront(pid);
    agentActive_ = false;
    traceAction("activate", *app);
}

void SimWorkspace::hide(std::int32_t pid) {
    SimApplication* app = findMutable(pid);
    if (!app || !app->running || app->kind != SimApplication::Kind::Regular || app->hidden) {
        return;
    }
    const bool wasFront = front() == app;
    app->hidden = true;
    traceAction("hide", *app);
    if (!wasFront) return;
    if (const SimApplication* next = front()) moveToFront(next->pid);
}

void SimWorkspace::unhide(std::int32_t pid) {
    SimApplication* app = findMutable(pid);
    if (!app || !app->running || !app->hidden) return;
    app->hidden = false;
    traceAction("unhide", *app);
}

void SimWorkspace::moveToFront(std::int32_t pid) {
    const auto it = std::find(order_.begin(), order_.end(), pid);
    if (it != order_.end()) std::rotate(order_.begin(), it, it + 1);
}

void SimWorkspace::addTerminationListener(std::function<void(const SimApplication&)> listener) {
    terminationListeners_.push_back(std::move(listener));
}

const SimApplication* SimWorkspace::find(std::int32_t pid) const {
    const auto it = processes_.find(pid);
    return it == processes_.end() ? nullptr : &it->second;
}

SimApplication* SimWorkspace::findMutable(std::int32_t pid) {
    const auto it = processes_.find(pid);
    return it == processes_.end() ? nullptr : &it->second;
}

const SimApplication* SimWorkspace::findByRef(std::string_view ref) const {
    // The Dock's ref names the Dock that runs, else the last one.
    const SimApplication* found = nullptr;
    for (const auto& [pid, app] : processes_) {
        if (app.ref != ref) continue;
        if (!found || app.running || !found->running) found = &app;
    }
    return found;
}

std::vector<const SimApplication*> SimWorkspace::applications() const {
    std::vector<const SimApplication*> apps;
    apps.reserve(order_.size());
    for (std::int32_t pid : order_)
        apps.push_back(&processes_.at(pid));
    return apps;
}

const SimApplication* SimWorkspace::front() const {
    for (std::int32_t pid : order_) {
        const SimApplication& app = processes_.at(pid);
        if (!app.hidden) return &app;
    }
    return nullptr;
}

std::string SimWorkspace::activeRef() const {
    if (agentActive_) return std::string(kAgentName);
    const SimApplication* app = front();
    return app ? app->ref : std::string();
}

void SimWorkspace::traceAction(std::string_view action, const SimApplication& app) {
    trace_.add(fmt::format("{} {}", action, app.ref));
}

}  // namespace vantor::sim
