// What the update request's completion takes from an answer, at the limits the loopback server
// cannot reach through the HTTP client (which refuses bodies over 1 MiB itself).
#include <gtest/gtest.h>

#include <string>

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
        {"a body at the size limit",
         {200, withNotes('"' + std::string(atLimit, 'n') + '"'), std::nullopt},
         true},
        {"a body one byte over it",
         {200, withNotes('"' + std::string(atLimit + 1, 'n') + '"'), std::nullopt},
         false},
        {"invalid UTF-8 in a string", {200, withNotes("\"2.\xff\""), std::nullopt}, false},
        {"trailing text", {200, good + " and more", std::nullopt}, false},
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

}  // namespace
}  // namespace vantor
