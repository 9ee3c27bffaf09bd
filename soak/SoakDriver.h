// A long random run of the real agent on the simulated desktop: keys, modifiers and the mouse
// at random, the Dock killed and started again, applications starting and quitting,
// Accessibility failures and disabled taps injected, virtual time moving in steps from nothing
// to seconds. At the end the agent must still open the switcher and activate an application by
// its hint, and the reference ledger must show nothing leaked and nothing released twice. The
// same seed plays the same run.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/Agent.h"
#include "platform/sim/SimDesktop.h"
#include "tools/OverlayRecorder.h"

namespace vantor::soak {

struct SoakCounts {
    std::int64_t events = 0;        // random input events played (keys and mouse)
    std::int64_t faults = 0;        // all the faults below
    std::int64_t axFailures = 0;    // Accessibility failures armed
    std::int64_t tapsDisabled = 0;  // taps disabled by timeout or user input, or made slow
    std::int64_t dockKills = 0;
    std::int64_t appsStarted = 0;
    std::int64_t appsQuit = 0;            // quit by themselves (not by the switcher)
    std::int64_t switcherShowings = 0;    // times the agent's model went to showing
    std::int64_t eventsWhileShowing = 0;  // input events played while the model showed
    double virtualSeconds = 0;
};

struct SoakOptions {
    std::uint64_t seed = 1;
    std::int64_t events = 5000;
    // Called every `progressEvery` events (0: never) with the counts and the seconds of real
    // time so far.
    std::int64_t progressEvery = 0;
    std::function<void(const SoakCounts&, double wallSeconds)> onProgress;
};

struct SoakResult {
    SoakCounts counts;
    double wallSeconds = 0;
    // What went wrong, in order; empty when the run passed.
    std::vector<std::string> problems;
    // The ledger once the agent is gone ("elements 0/1234, ...").
    std::string ledgerSummary;
    bool passed() const { return problems.empty(); }
};

class SoakDriver {
public:
    explicit SoakDriver(SoakOptions options);
    ~SoakDriver();
    SoakDriver(const SoakDriver&) = delete;
    SoakDriver& operator=(const SoakDriver&) = delete;

    // Plays the run and the final checks; a driver runs once.
    SoakResult run();

private:
    // One step: an input event, or now and then a change of the world or a fault first.
    void step();
    void playInput();
    void toggleKey(const std::string& key);
    void toggleButton(platform::MouseButton button);
    void releaseEverything();
    void injectFault();
    void changeApplications();
    void advanceTime();
    // Runs virtual time on, displaying the overlay when it needs it, as the window server
    // would.
    void runFor(double seconds);
    void watch();
    // The end: everything released and healed, then a Command-Tab and a hint typed.
    void finalCheck();
    void checkLedger();

    std::uint64_t below(std::uint64_t n) { return n == 0 ? 0 : random_() % n; }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }
    double between(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random_);
    }
    template <class T>
    const T& pick(const std::vector<T>& from) {
        return from[below(from.size())];
    }
    void problem(std::string what);

    SoakOptions options_;
    std::mt19937_64 random_;
    sim::SimDesktop desktop_;
    // Declared before the agent: it stands in front of the agent's view.
    tools::OverlayRecorder overlay_;
    std::unique_ptr<Agent> agent_;
    SoakCounts counts_;
    SoakResult result_;
    std::set<std::string> heldKeys_;
    std::set<platform::MouseButton> heldButtons_;
    platform::Point pointer_{400, 300};
    bool wasShowing_ = false;
    std::int64_t eventsAtLastWatch_ = 0;
    bool tapsSlow_ = false;
    bool terminatedSeen_ = false;
    std::int64_t overReleasesSeen_ = 0;
};

}  // namespace vantor::soak
