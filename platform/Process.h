// The application's own process and bundle (NSProcessInfo, NSApplication, NSBundle, NSTask,
// Service Management): process activities, the login item, tasks, termination and the
// bundle's information.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::platform {

// NSActivityOptions
inline constexpr std::uint64_t kActivityLatencyCritical = 0xFF00000000ULL;

// The token of a process activity; the activity lasts as long as the token is held.
using ActivityToken = std::shared_ptr<void>;

class Process {
public:
    virtual ~Process() = default;

    // [[NSProcessInfo processInfo] beginActivityWithOptions:reason:]
    virtual ActivityToken beginActivity(std::uint64_t options, std::string_view reason) = 0;
    // SMLoginItemSetEnabled (SMAppService on macOS 13 and later): true when the login item
    // with this bundle identifier was switched as asked.
    virtual bool loginItemSetEnabled(std::string_view bundleIdentifier, bool enabled) = 0;
    // [NSTask launchedTaskWithLaunchPath:arguments:]: starts the task without waiting for it.
    virtual void launchTask(std::string_view path, const std::vector<std::string>& arguments) = 0;
    // [NSApp terminate:nil]: the application ends; no code of the agent runs after it.
    virtual void terminate() = 0;

    // [[NSBundle mainBundle] infoDictionary][key] as a string: "CFBundleShortVersionString",
    // and "VantorUpdateServer", the update server's base address (empty: no update check).
    virtual std::string infoValue(std::string_view key) = 0;
    // [[NSBundle mainBundle] bundlePath]
    virtual std::string bundlePath() = 0;
    // [[NSProcessInfo processInfo] processIdentifier]
    virtual std::int32_t processIdentifier() = 0;
};

}  // namespace vantor::platform
