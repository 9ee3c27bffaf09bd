#include "update/UpdateCheck.h"

#include <cstdint>
#include <utility>

#include "platform/JsonTextCheck.h"
#include "update/VersionCompare.h"

namespace vantor {

namespace {

using Json = nlohmann::json;

// The body as one JSON value of any kind; none when it is not JSON or too large or deep.
std::optional<Json> parseAnswer(const std::string& body) {
    if (body.size() > kMaxUpdateAnswerSize) return std::nullopt;
    if (platform::checkJsonText(body, kMaxUpdateAnswerNesting).outcome !=
        platform::JsonTextCheck::Outcome::Valid)
        return std::nullopt;
    Json parsed = Json::parse(body, nullptr, /*allow_exceptions=*/false);
    if (parsed.is_discarded()) return std::nullopt;
    return parsed;
}

}  // namespace

std::string latestVersionAddress(std::string_view serverBase) {
    if (serverBase.empty()) return {};
    return std::string(serverBase) + std::string(kLatestVersionPath);
}

std::optional<VersionInfo> readVersionInfo(const platform::HttpResponse& response) {
    if (response.error) return std::nullopt;
    if (response.statusCode != 200) return std::nullopt;
    std::optional<Json> answer = parseAnswer(response.body);
    if (!answer) return std::nullopt;
    // Any other answer (an array, a bare string or number) is ignored like one without the
    // members.
    if (!answer->is_object()) return std::nullopt;
    const auto version = answer->find("Version");
    const auto whatsNew = answer->find("WhatsNew");
    if (version == answer->end() || whatsNew == answer->end()) return std::nullopt;
    return VersionInfo{std::move(*version), std::move(*whatsNew)};
}

void beginCheckForUpdate(platform::Platform& platform, VersionInfoHandler handleVersionInfo) {
    const std::string address =
        latestVersionAddress(platform.process.infoValue(kUpdateServerInfoKey));
    if (address.empty()) return;
    platform::RunLoop& runLoop = platform.runLoop;
    platform.http.get(address, [&runLoop, handleVersionInfo = std::move(handleVersionInfo)](
                                   platform::HttpResponse response) {
        std::optional<VersionInfo> info = readVersionInfo(response);
        if (!info) return;
        runLoop.dispatchAfter(kAnnouncementDelay, [handleVersionInfo, info = std::move(*info)] {
            handleVersionInfo(info.version, info.whatsNew);
        });
    });
}

bool shouldAnnounceVersion(platform::Platform& platform, const nlohmann::json& version,
                           const nlohmann::json& whatsNew, bool announcementOpen) {
    const std::optional<Json> skipVersion = platform.settings.objectForKey(kSkipVersionKey);
    const Json running = platform.process.infoValue(kRunningVersionInfoKey);

    std::int32_t order = 0;
    try {
        order = semVerCompare(version, running);
    } catch (const VersionTypeError&) {
        platform.log.log("Error check update: ver = " + describeAnswerValue(version));
        return false;
    }
    if (order == 0) return false;

    // Compared as text; a stored value that is not a string equals no version.
    const bool skipped = skipVersion && skipVersion->is_string() && *skipVersion == version;
    if (order < 0 || skipped || announcementOpen) return false;
    // The notes are shown as plain text; an answer whose notes are not text is ignored like one
    // without them.
    return whatsNew.is_string();
}

std::string describeAnswerValue(const nlohmann::json& value) {
    if (value.is_null()) return "<null>";
    // Invalid UTF-8 cannot come out of the parser, but describing a value must never throw.
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace vantor
