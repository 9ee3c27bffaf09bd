// The agent's own process on the simulated desktop: its activities, the login item, the tasks
// it launches, its termination and its bundle's information. Nothing is started for real:
// every request is recorded for the tests.
//
// terminate records the termination, tells the desktop (which stops everything of the agent),
// then throws SimTermination so that no code of the agent runs after it (see SimMainThread).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Process.h"
#include "platform/sim/SimTrace.h"

namespace vantor::sim {

class SimProcess final : public platform::Process {
public:
    explicit SimProcess(SimTrace& trace) : trace_(trace) {}

    platform::ActivityToken beginActivity(std::uint64_t options, std::string_view reason) override;
    bool loginItemSetEnabled(std::string_view bundleIdentifier, bool enabled) override;
    void launchTask(std::string_view path, const std::vector<std::string>& arguments) override;
    void terminate() override;
    std::string infoValue(std::string_view key) override;
    std::string bundlePath() override { return bundlePath_; }
    std::int32_t processIdentifier() override;

    // The bundle's path, "/Applications/Vantor.app" unless set.
    void setBundlePath(std::string path) { bundlePath_ = std::move(path); }
    // Told once, at the termination, before the agent's code is unwound.
    void setOnTerminate(std::function<void()> onTerminate) {
        onTerminate_ = std::move(onTerminate);
    }

    // The bundle's short version string (CFBundleShortVersionString), "1.0" unless set.
    void setShortVersion(std::string version) { shortVersion_ = std::move(version); }
    // The update server's base address, served as the bundle's "VantorUpdateServer"; empty
    // unless set (then the agent makes no request).
    void setUpdateServer(std::string address) { updateServer_ = std::move(address); }
    // Switching the login item fails from now on.
    void failLoginItem() { loginItemFails_ = true; }

    struct Activity {
        std::uint64_t options;
        std::string reason;
    };
    struct Task {
        std::string path;
        std::vector<std::string> arguments;
    };
    const std::vector<Activity>& activities() const { return activities_; }
    const std::vector<Task>& tasks() const { return tasks_; }
    bool loginItemEnabled() const { return loginItemEnabled_; }
    bool terminated() const { return terminated_; }
    // A relaunch was asked for: a task "/bin/sh" with the arguments "-c" and a command that
    // first waits while the agent's process exists (`… kill -0 PID …; done; `) and then,
    // as the shell reads it, is exactly `open` with the bundle's path as its one argument.
    bool relaunched() const;

private:
    SimTrace& trace_;
    std::string shortVersion_ = "1.0";
    std::string updateServer_;
    std::string bundlePath_ = "/Applications/Vantor.app";
    std::vector<Activity> activities_;
    std::vector<Task> tasks_;
    bool loginItemEnabled_ = false;
    bool loginItemFails_ = false;
    bool terminated_ = false;
    std::function<void()> onTerminate_;
};

// The words of a shell command as /bin/sh splits them, for a command of plain words only:
// unquoted, single-quoted and double-quoted text and backslash escapes. None when the shell
// would do anything beyond running one simple command (expansions, substitutions, operators,
// redirections, comments) or the quoting is not closed.
std::optional<std::vector<std::string>> plainShellWords(std::string_view command);

}  // namespace vantor::sim
