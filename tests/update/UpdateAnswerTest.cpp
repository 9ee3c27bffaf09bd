// What the update request's completion takes from an answer, at the limits the loopback server
// cannot reach through the HTTP client (which refuses bodies over 1 MiB itself), and whether
// what it took is announced. The whole check, end to end, is UpdateAnnouncementTest's and the
// scenarios'.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/sim/SimDesktop.h"
#include "update/UpdateCheck.h"

namespace vantor {
namespace {

using nlohmann::json;

std::string nested(std::size_t depth) {
    return std::string(depth, '[') + std::string(depth, ']');
}

TEST(UpdateAnswer, IsReadInTheCompletionsOrderAndWithinItsLimits) {
    const std::string good = R"({"Version": "2.0", "WhatsNew": "x"})";
    // A good answer whose notes are `notes` (raw JSON).
    const auto withNotes = [](const std::string& notes) {
        return R"({"Version": "2.0", "WhatsNew": )" + notes + "}";
    };
    // Notes of this many letters make an answer of exactly the largest size taken.
    const std::size_t atLimit = kMaxUpdateAnswerSize - withNotes(R"("")").size();
    struct Case {
        const char* what;
        platform::HttpResponse response;
        bool usable;
    };
    const Case cases[] = {
        {"a usable answer", {200, good, std::nullopt}, true},
        {"an error wins over a good answer", {200, good, "connection reset"}, false},
        {"nesting at the limit", {200, withNotes(nested(63)), std::nullopt}, true},
        {"nesting one past it", {200, withNotes(nested(64)), std::nullopt}, false},
        {"nesting far past it", {200, nested(100000), std::nullopt}, false},
        {"a body at the size limit",
         {200, withNotes('"' + std::string(atLimit, 'n') + '"'), std::nullopt},
         true},
        {"a body one byte over it",
         {200, withNotes('"' + std::string(atLimit + 1, 'n') + '"'), std::nullopt},
         false},
        {"invalid UTF-8 in a string", {200, withNotes("\"2.\xff\""), std::nullopt}, false},
        {"trailing text", {200, good + " and more", std::nullopt}, false},
        {"not JSON", {200, "<html>Not Found</html>", std::nullopt}, false},
        {"an array", {200, R"(["2.0", "notes"])", std::nullopt}, false},
        {"no version", {200, R"({"WhatsNew": "x"})", std::nullopt}, false},
        {"no notes", {200, R"({"Version": "2.0"})", std::nullopt}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(readVersionInfo(c.response).has_value(), c.usable);
    }
}

TEST(UpdateAnswer, NullMembersArePresentAndOtherMembersAreIgnored) {
    const auto info = readVersionInfo(
        {200, R"({"Version": null, "WhatsNew": null, "Extra": [1, 2]})", std::nullopt});
    ASSERT_TRUE(info.has_value());
    EXPECT_TRUE(info->version.is_null());
    EXPECT_TRUE(info->whatsNew.is_null());
}

TEST(UpdateAnswer, IsAnnouncedWhenNewerNotSkippedAndWithTextNotes) {
    struct Case {
        const char* what;
        json version;
        json whatsNew;
        std::optional<json> skipped;
        const char* running;
        bool announced;
        std::vector<std::string> logged;
    };
    const Case cases[] = {
        {"a newer version", "2.0", "x", std::nullopt, "1.0", true, {}},
        {"only the common components count", "1.2.1", "x", std::nullopt, "1.2", false, {}},
        {"an older version, by number", "1.9", "x", std::nullopt, "1.10", false, {}},
        {"notes that are not text", "2.0", 5, std::nullopt, "1.0", false, {}},
        {"null notes", "2.0", nullptr, std::nullopt, "1.0", false, {}},
        {"the skipped version", "2.0", "x", "2.0", "1.0", false, {}},
        // The skipped version is compared as text; a stored number is no version text.
        {"skipped 2.0, sent 2.0.0", "2.0.0", "x", "2.0", "1.0", true, {}},
        {"skipped 2.0.0, sent 2.0", "2.0", "x", "2.0.0", "1.0", true, {}},
        {"skipped the number 2", "2", "x", 2, "1.0", true, {}},
        // A version that is not text is logged as compact JSON.
        {"a null version",
         nullptr,
         "x",
         std::nullopt,
         "1.0",
         false,
         {"Error check update: ver = <null>"}},
        {"an object",
         json{{"a", 1}},
         "x",
         std::nullopt,
         "1.0",
         false,
         {R"(Error check update: ver = {"a":1})"}},
        {"an array",
         json::array({2, "0"}),
         "x",
         std::nullopt,
         "1.0",
         false,
         {R"(Error check update: ver = [2,"0"])"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim::SimDesktop desktop;
        desktop.process().setShortVersion(c.running);
        if (c.skipped) desktop.settings().setObject(kSkipVersionKey, *c.skipped);
        EXPECT_EQ(shouldAnnounceVersion(desktop.platform(), c.version, c.whatsNew, false),
                  c.announced);
        EXPECT_EQ(desktop.logLines(), c.logged);
    }
}

}  // namespace
}  // namespace vantor
