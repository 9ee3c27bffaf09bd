// A short soak in every test run; `make soak` plays the long one.
#include <gtest/gtest.h>

#include <string>

#include "soak/SoakDriver.h"

namespace vantor::soak {
namespace {

std::string describe(const SoakResult& result) {
    std::string text = "ledger: " + result.ledgerSummary;
    for (const std::string& problem : result.problems)
        text += "\n" + problem;
    return text;
}

TEST(SoakTest, AShortRunWithEveryKindOfFaultEndsWithAWorkingAgentAndACleanLedger) {
    SoakOptions options;
    options.seed = 7;
    options.events = 3000;
    std::int64_t progressCalls = 0;
    options.progressEvery = 1000;
    options.onProgress = [&](const SoakCounts& counts, double) {
        ++progressCalls;
        EXPECT_EQ(counts.events / 1000, progressCalls);
    };
    const SoakResult result = SoakDriver(options).run();

    EXPECT_TRUE(result.passed()) << describe(result);
    EXPECT_GE(result.counts.events, 3000);
    EXPECT_EQ(progressCalls, 3);
    // The run did what a soak is for: every kind of fault and change happened, and the
    // switcher opened and closed many times along the way.
    EXPECT_GT(result.counts.axFailures, 0);
    EXPECT_GT(result.counts.tapsDisabled, 0);
    EXPECT_GT(result.counts.dockKills, 0);
    EXPECT_GT(result.counts.appsStarted, 0);
    EXPECT_GT(result.counts.appsQuit, 0);
    EXPECT_EQ(result.counts.faults,
              result.counts.axFailures + result.counts.tapsDisabled + result.counts.dockKills);
    EXPECT_GT(result.counts.switcherShowings, 10);
}

TEST(SoakTest, TheSameSeedPlaysTheSameRunSoAFailureCanBeReplayed) {
    const auto play = [](std::uint64_t seed) {
        SoakOptions options;
        options.seed = seed;
        options.events = 600;
        return SoakDriver(options).run();
    };
    const SoakResult first = play(11);
    const SoakResult again = play(11);
    const SoakResult other = play(12);
    EXPECT_EQ(first.counts.faults, again.counts.faults);
    EXPECT_EQ(first.counts.appsStarted, again.counts.appsStarted);
    EXPECT_EQ(first.counts.switcherShowings, again.counts.switcherShowings);
    EXPECT_EQ(first.counts.virtualSeconds, again.counts.virtualSeconds);
    EXPECT_EQ(first.ledgerSummary, again.ledgerSummary);
    EXPECT_NE(first.counts.virtualSeconds, other.counts.virtualSeconds);
}

}  // namespace
}  // namespace vantor::soak
