// Runs the soak: the real agent on the simulated desktop under random input, world changes and
// injected faults, then the final checks.
//     vantor-soak [--seed N] [--events N] [--progress N]
// Prints a progress line every N events (default 10,000) and a summary; exits 0 when the run
// passed, 1 when it did not, 2 for bad arguments.
#include <fmt/format.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "soak/SoakDriver.h"

namespace {

bool parseNumber(std::string_view text, auto& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

void printCounts(const vantor::soak::SoakCounts& c, double wallSeconds) {
    fmt::print(
        "soak: {:>7} events  {:>5} faults (ax {}, taps {}, dock {})  apps +{} -{}  "
        "{} showings ({} events while showing)  {:.0f} s virtual  {:.1f} s elapsed\n",
        c.events, c.faults, c.axFailures, c.tapsDisabled, c.dockKills, c.appsStarted, c.appsQuit,
        c.switcherShowings, c.eventsWhileShowing, c.virtualSeconds, wallSeconds);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    vantor::soak::SoakOptions options;
    options.seed = 20261207;
    options.events = 100'000;
    options.progressEvery = 10'000;
    for (int i = 1; i < argc; i += 2) {
        const std::string_view arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : "";
        bool ok = false;
        if (arg == "--seed") ok = parseNumber(value, options.seed);
        if (arg == "--events") ok = parseNumber(value, options.events) && options.events >= 0;
        if (arg == "--progress") ok = parseNumber(value, options.progressEvery);
        if (!ok) {
            fmt::print(stderr, "usage: vantor-soak [--seed N] [--events N] [--progress N]\n");
            return 2;
        }
    }
    options.onProgress = &printCounts;

    fmt::print("soak: seed {}, {} events\n", options.seed, options.events);
    vantor::soak::SoakDriver driver(options);
    const vantor::soak::SoakResult result = driver.run();
    printCounts(result.counts, result.wallSeconds);
    fmt::print("soak: ledger without the agent: {}\n", result.ledgerSummary);
    for (const std::string& problem : result.problems)
        fmt::print("soak: FAILED {}\n", problem);
    if (result.passed())
        fmt::print(
            "soak: passed: no crash, nothing leaked or released twice, and the agent "
            "still opens the switcher and activates by hint\n");
    return result.passed() ? 0 : 1;
}
