// The update server's answer, status and body of arbitrary bytes, through the whole path of the
// running agent on the simulated desktop: the request, its completion, the ten seconds' wait,
// the decision, and the announcement window drawn on screen. The answer is handed over in
// process (no socket): the platform given to the agent has an HTTP client that answers every
// request with the input.
//
// Input: byte 0 picks the status (or a failed request), byte 1 the running version and the
// stored skipped version, the rest is the body.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/Agent.h"
#include "fuzz/FuzzCheck.h"
#include "platform/Http.h"
#include "platform/sim/SimDesktop.h"
#include "update/UpdateCheck.h"
#include "update/VersionCompare.h"

namespace {

using nlohmann::json;
using vantor::fuzz::check;
using vantor::platform::HttpResponse;

constexpr std::string_view kServer = "http://updates.vantor.test";

// Answers every request with one response, as a completion on the main queue.
class AnsweringHttp : public vantor::platform::HttpClient {
public:
    AnsweringHttp(vantor::sim::SimRunLoop& runLoop, HttpResponse response)
        : runLoop_(runLoop), response_(std::move(response)) {}

    void get(std::string_view url, vantor::platform::HttpCompletion completion) override {
        requests.emplace_back(url);
        runLoop_.scheduleForAgent(
            0, [completion = std::move(completion), response = response_] { completion(response); });
    }

    std::vector<std::string> requests;

private:
    vantor::sim::SimRunLoop& runLoop_;
    HttpResponse response_;
};

constexpr std::array<long, 16> kStatuses = {200, 200, 200, 200, 200, 200, 200, 200,
                                            0,   201, 204, 301, 304, 404, 500, 200};
constexpr std::array<const char*, 4> kRunningVersions = {"1.0", "2.0", "0", "1.0.0.1"};

bool logged(const vantor::sim::SimDesktop& desktop, std::string_view text) {
    for (const std::string& line : desktop.logLines())
        if (line.find(text) != std::string::npos) return true;
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    HttpResponse response;
    response.statusCode = kStatuses[data[0] % kStatuses.size()];
    response.body.assign(reinterpret_cast<const char*>(data + 2), size - 2);
    if (data[0] & 0x80) response.error = "The request timed out.";
    const std::string running = kRunningVersions[data[1] % kRunningVersions.size()];
    std::optional<json> skipped;
    if (data[1] & 0x04) skipped = json("2.0");
    if (data[1] & 0x08) skipped = json(2);

    vantor::sim::SimDesktop desktop;
    desktop.setKeepingRecords(false);
    desktop.addApplication("Safari");
    desktop.addApplication("Mail");
    desktop.process().setShortVersion(running);
    desktop.process().setUpdateServer(std::string(kServer));
    // Not the first start of this version: no preferences window comes forward.
    desktop.settings().setString("Current Version", running);
    if (skipped) desktop.settings().setObject(vantor::kSkipVersionKey, *skipped);

    AnsweringHttp http(desktop.runLoop(), response);
    const vantor::platform::Platform& simulated = desktop.platform();
    vantor::platform::Platform platform{simulated.accessibility, simulated.events,
                                        simulated.runLoop,       simulated.workspace,
                                        simulated.screens,       simulated.log,
                                        simulated.ui,            simulated.process,
                                        simulated.settings,      http,
                                        simulated.keyboardLayout};
    {
        vantor::Agent agent(platform);
        agent.applicationDidFinishLaunching();
        check(http.requests.size() == 1 &&
                  http.requests[0] == std::string(kServer) + std::string(vantor::kLatestVersionPath),
              "one request for the latest version");

        // What the answer should lead to.
        const std::optional<vantor::VersionInfo> info = vantor::readVersionInfo(response);
        if (info) {
            const json parsed = json::parse(response.body, nullptr, false);
            check(!response.error && response.statusCode == 200 && parsed.is_object() &&
                      parsed.contains("Version") && parsed.contains("WhatsNew") &&
                      parsed["Version"] == info->version && parsed["WhatsNew"] == info->whatsNew,
                  "a usable answer is a good object with both members");
        }
        const bool versionIsText = info && info->version.is_string();
        const bool announce =
            versionIsText && info->whatsNew.is_string() &&
            vantor::semVerCompare(info->version, json(running)) > 0 &&
            !(skipped && skipped->is_string() && *skipped == info->version);

        desktop.runUntil(vantor::kAnnouncementDelay - 0.001);
        check(!desktop.windowOpen("NewVersionWindow"), "nothing is announced before ten seconds");
        desktop.runUntil(vantor::kAnnouncementDelay + 0.01);
        check(desktop.windowOpen("NewVersionWindow") == announce,
              "the announcement shows exactly for a newer version with notes, not skipped");
        check(logged(desktop, "Error check update: ver = ") == (info && !versionIsText),
              "a version that is not text is logged, nothing else");
        if (announce) desktop.renderScreen(0.25);
        desktop.runFor(1);
    }
    return 0;
}
