#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/SimDesktop.h"

namespace vantor::sim {
namespace {

using platform::RunLoopMode;

TEST(SimRunLoop, RunsTasksByDueTimeThenInTheOrderTheyWereScheduled) {
    RefLedger ledger;
    SimRunLoop loop(ledger);
    std::vector<std::string> ran;
    loop.schedule(2 * kMillisecond, [&] { ran.push_back("b"); });
    loop.schedule(1 * kMillisecond, [&] { ran.push_back("a"); });
    loop.schedule(2 * kMillisecond, [&] { ran.push_back("c"); });
    loop.schedule(1 * kMillisecond, [&] {
        ran.push_back("a2");
        // Scheduled while running, due at the same time as "b" and "c": runs after them.
        loop.schedule(1 * kMillisecond, [&] { ran.push_back("d"); });
    });
    loop.runUntil(5 * kMillisecond);
    EXPECT_EQ(ran, (std::vector<std::string>{"a", "a2", "b", "c", "d"}));
    EXPECT_EQ(loop.now(), 5 * kMillisecond);
}

TEST(SimRunLoop, DelayedBlocksRunOneMicrosecondAfterTheirDeadline) {
    RefLedger ledger;
    SimRunLoop loop(ledger);
    loop.runUntil(kNanosPerSecond);
    EXPECT_DOUBLE_EQ(loop.absoluteTime(), 1001.0);

    Nanos ranAt = -1;
    double absoluteAtRun = 0;
    loop.dispatchAfter(0.3, [&] {
        ranAt = loop.now();
        absoluteAtRun = loop.absoluteTime();
    });
    Nanos performedAt = -1;
    loop.performAfterDelay(0.25, [&] { performedAt = loop.now(); }, {RunLoopMode::Default});

    loop.runUntil(kNanosPerSecond + 300 * kMillisecond);
    EXPECT_EQ(performedAt, kNanosPerSecond + 250 * kMillisecond + kMicrosecond);
    EXPECT_EQ(ranAt, -1) << "a block due at 0.3 s must not run at exactly 0.3 s";
    loop.runUntil(kNanosPerSecond + 300 * kMillisecond + kMicrosecond);
    EXPECT_EQ(ranAt, kNanosPerSecond + 300 * kMillisecond + kMicrosecond);
    // So a routine checking that 0.3 s have passed since it was scheduled finds they have.
    EXPECT_GE(absoluteAtRun - 1001.0, 0.3);
}

TEST(SimRunLoop, ModesDecideWhatRuns) {
    RefLedger ledger;
    SimRunLoop loop(ledger);
    std::vector<std::string> ran;
    loop.pushMode(RunLoopMode::ModalPanel);
    loop.performAfterDelay(0.1, [&] { ran.push_back("default only"); }, {RunLoopMode::Default});
    loop.performAfterDelay(0.1, [&] { ran.push_back("modal"); }, {RunLoopMode::ModalPanel});
    loop.dispatchAfter(0.2, [&] { ran.push_back("main queue"); });
    loop.runFor(kNanosPerSecond);
    EXPECT_EQ(ran, (std::vector<std::string>{"modal", "main queue"}));

    // Back in the default mode the waiting message runs, late but in its place.
    loop.popMode();
    loop.runFor(kMillisecond);
    EXPECT_EQ(ran.back(), "default only");
    EXPECT_EQ(loop.pendingTasks(), 0u);
}

TEST(SimRunLoop, SleepMovesTheClockWithoutRunningAnything) {
    RefLedger ledger;
    SimRunLoop loop(ledger);
    int runs = 0;
    loop.dispatchAfter(0.5, [&] { ++runs; });
    loop.sleepForTimeInterval(2.0);
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(loop.now(), 2 * kNanosPerSecond);
    loop.runFor(0);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(loop.now(), 2 * kNanosPerSecond) << "an overdue task never moves the clock back";
}

TEST(SimRunLoop, RunUntilIdleStopsAtTheHorizonForTasksThatRescheduleThemselves) {
    RefLedger ledger;
    SimRunLoop loop(ledger);
    int retries = 0;
    std::function<void()> retry = [&] {
        ++retries;
        loop.dispatchAfter(1.0, retry);
    };
    loop.dispatchAfter(1.0, retry);
    EXPECT_FALSE(loop.runUntilIdle(10 * kNanosPerSecond));
    EXPECT_EQ(retries, 9);
    EXPECT_EQ(loop.now(), 10 * kNanosPerSecond);
}

TEST(SimRunLoop, SourceDeliveriesWaitUntilTheSourceIsServicedInTheCurrentMode) {
    RefLedger ledger;
    SimRunLoop loop(ledger);
    auto state = std::make_shared<RunLoopSourceState>("probe");
    platform::RunLoopSource source = loop.createSource(state);
    std::vector<Nanos> deliveries;
    loop.scheduleOnSource(state, kMillisecond, [&] { deliveries.push_back(loop.now()); });
    loop.runFor(10 * kMillisecond);
    EXPECT_TRUE(deliveries.empty()) << "a source that is not on the run loop delivers nothing";

    loop.addSource(source, RunLoopMode::Default);
    loop.pushMode(RunLoopMode::ModalPanel);
    loop.runFor(10 * kMillisecond);
    EXPECT_TRUE(deliveries.empty()) << "a default-mode source waits during a modal loop";

    loop.popMode();
    loop.runFor(0);
    EXPECT_EQ(deliveries, std::vector<Nanos>{20 * kMillisecond});

    loop.removeSource(source, RunLoopMode::Default);
    loop.scheduleOnSource(state, kMillisecond, [&] { deliveries.push_back(loop.now()); });
    loop.runFor(5 * kMillisecond);
    EXPECT_EQ(deliveries.size(), 1u);
    source.reset();
    EXPECT_TRUE(ledger.clean()) << ledger.summary();
}

}  // namespace
}  // namespace vantor::sim
