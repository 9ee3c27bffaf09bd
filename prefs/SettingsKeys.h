// The keys of the user's settings and the login item's identifier, shared by the controller
// that applies the settings at start and the preferences window that changes them.
#pragma once

#include <string_view>

namespace vantor {

inline constexpr std::string_view kLaunchAtStartupKey = "LaunchAtStartup";
inline constexpr std::string_view kTriggerModifierKeyKey = "TriggerModifierKey";
inline constexpr std::string_view kPressTwiceToTriggerKey = "PressTwiceToTrigger";
inline constexpr std::string_view kRightClickToTriggerKey = "RightClick To Trigger";
inline constexpr std::string_view kCurrentVersionKey = "Current Version";

// The login-item application that starts Vantor when the user logs in.
inline constexpr std::string_view kLoginItemBundleIdentifier = "com.orlenby.VantorAutoLaunchHelper";

// The bundle's information keys: its version, and the base address of the maker's web server
// (empty: no update check, no product page).
inline constexpr std::string_view kShortVersionInfoKey = "CFBundleShortVersionString";
inline constexpr std::string_view kWebServerInfoKey = "VantorUpdateServer";

}  // namespace vantor
