// The update check: once per launch the agent asks the maker's web server for the latest
// version; a usable answer is handed to the application controller ten seconds later, which
// decides here whether to announce it. Every failure is silent, except a version that is not a
// string, which is logged.
#pragma once

#include <cstddef>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Http.h"
#include "platform/Platform.h"

namespace vantor {

// The bundle's information keys: the running version, and the base address of the maker's web
// server (empty: no update check).
inline constexpr std::string_view kRunningVersionInfoKey = "CFBundleShortVersionString";
inline constexpr std::string_view kUpdateServerInfoKey = "VantorUpdateServer";

// The setting that holds the version the user chose to skip, exactly as the server sent it.
inline constexpr std::string_view kSkipVersionKey = "SkipVersion";

// The server's paths: the latest version of the product, and its page.
inline constexpr std::string_view kLatestVersionPath = "/projects/latestVersion?product=Vantor";
inline constexpr std::string_view kProductPagePath = "/projects/vantor";

// Seconds between the answer and the announcement.
inline constexpr double kAnnouncementDelay = 10;

// An answer larger than this, or nested deeper, is refused before it is parsed into values.
inline constexpr std::size_t kMaxUpdateAnswerSize = 1024 * 1024;
inline constexpr std::size_t kMaxUpdateAnswerNesting = 64;

// The two members of a usable answer, as the server sent them (either may be any JSON value,
// null included).
struct VersionInfo {
    nlohmann::json version;
    nlohmann::json whatsNew;
};

using VersionInfoHandler =
    std::function<void(const nlohmann::json& version, const nlohmann::json& whatsNew)>;

// The address of the update request for the server's base address; empty for an empty base.
std::string latestVersionAddress(std::string_view serverBase);

// What the request's completion takes from the answer: none on an error, a status other than
// 200, a body that is too large, too deep or not JSON, an answer that is not an object, or one
// without "Version" or "WhatsNew" (a member whose value is null is there).
std::optional<VersionInfo> readVersionInfo(const platform::HttpResponse& response);

// Starts the request and returns at once. On a usable answer, `handleVersionInfo` runs on the
// main queue kAnnouncementDelay seconds later with the two members. No server configured: no
// request.
void beginCheckForUpdate(platform::Platform& platform, VersionInfoHandler handleVersionInfo);

// Whether the controller announces `version` now: it must be a string newer than the running
// version, differ from the skipped version, come with notes that are a string, and no
// announcement may be open. A version that is not a string is logged as
// "Error check update: ver = VALUE".
bool shouldAnnounceVersion(platform::Platform& platform, const nlohmann::json& version,
                           const nlohmann::json& whatsNew, bool announcementOpen);

// How a value of the answer prints in the log: its compact JSON text, null as "<null>".
std::string describeAnswerValue(const nlohmann::json& value);

}  // namespace vantor
