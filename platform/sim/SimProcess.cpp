#include "platform/sim/SimProcess.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

namespace vantor::sim {

platform::ActivityToken SimProcess::beginActivity(std::uint64_t options, std::string_view reason) {
    activities_.push_back({options, std::string(reason)});
    trace_.add(fmt::format("activity begins: {} ({:#x})", reason, options));
    return std::make_shared<Activity>(activities_.back());
}

bool SimProcess::loginItemSetEnabled(std::string_view bundleIdentifier, bool enabled) {
    trace_.add(fmt::format("login item {} {}{}", bundleIdentifier, enabled ? "on" : "off",
                           loginItemFails_ ? " fails" : ""));
    if (loginItemFails_) return false;
    loginItemEnabled_ = enabled;
    return true;
}

void SimProcess::launchTask(std::string_view path, const std::vector<std::string>& arguments) {
    tasks_.push_back({std::string(path), arguments});
    trace_.add(fmt::format("task {} {}", path, fmt::join(arguments, " ")));
}

void SimProcess::terminate() {
    terminated_ = true;
    trace_.add("terminate");
}

std::string SimProcess::infoValue(std::string_view key) {
    if (key == "CFBundleShortVersionString") return shortVersion_;
    if (key == "VantorUpdateServer") return updateServer_;
    return {};
}

}  // namespace vantor::sim
