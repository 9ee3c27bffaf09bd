// The application's own process and bundle on macOS: NSProcessInfo activities, the login item
// (SMAppService, SMLoginItemSetEnabled before macOS 13), NSTask, [NSApp terminate:] and
// the main bundle's information.
#pragma once

#include "platform/Process.h"

namespace vantor::mac {

class MacProcess final : public platform::Process {
public:
    platform::ActivityToken beginActivity(std::uint64_t options, std::string_view reason) override;
    bool loginItemSetEnabled(std::string_view bundleIdentifier, bool enabled) override;
    void launchTask(std::string_view path, const std::vector<std::string>& arguments) override;
    void terminate() override;
    std::string infoValue(std::string_view key) override;
    std::string bundlePath() override;
    std::int32_t processIdentifier() override;
};

}  // namespace vantor::mac
