// A full scan of the switcher list with the dealing of hint keys, on the simulated desktop's
// Accessibility, for 8, 36 and 100 entries: batched reads beside one read per attribute, and
// the rescan that a change of the highlight causes, which finds the list unchanged.
// Reports the time and the Accessibility round trips per scan.
#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "platform/sim/SimDesktop.h"
#include "switcher/ProcList.h"

namespace {

using vantor::ProcList;
using vantor::ScanMode;

// Names that share letters and repeat, as a real switcher's do.
constexpr std::array<const char*, 16> kNames{
    "Safari",  "Mail",     "Maps",          "Music",          "Messages", "Notes",
    "Notion",  "Terminal", "Google Chrome", "Microsoft Word", "Xcode",    "Slack",
    "Spotify", "微信",     "Finder",        "Preview"};

void scan(benchmark::State& state, ScanMode mode, bool skipsUnchanged) {
    const int entries = static_cast<int>(state.range(0));
    vantor::sim::SimDesktop desktop;
    for (int i = 0; i < entries; ++i)
        desktop.addApplication(kNames[static_cast<std::size_t>(i) % kNames.size()]);
    ProcList model(desktop.platform());
    desktop.keyDown("LeftCommand");
    desktop.tapKey("Tab");
    desktop.runFor(0.06);
    const vantor::platform::AXElement list = model.currentListAxElem();
    model.setScanMode(mode);
    model.setSkipsUnchangedRescans(skipsUnchanged);
    model.handleProcListElem(list);
    if (!list || model.itemsArray().size() != static_cast<std::size_t>(entries)) {
        state.SkipWithError("the switcher did not show every entry");
        return;
    }

    desktop.resetRoundTrips();
    for (auto _ : state) {
        model.handleProcListElem(list);
        benchmark::DoNotOptimize(model.items().size());
    }
    state.counters["round_trips"] = benchmark::Counter(static_cast<double>(desktop.roundTrips()),
                                                       benchmark::Counter::kAvgIterations);
    state.counters["entries"] = entries;
}

void BM_Scan_Batched(benchmark::State& state) {
    scan(state, ScanMode::Batched, false);
}
void BM_Scan_OneAttributeAtATime(benchmark::State& state) {
    scan(state, ScanMode::OneAttributeAtATime, false);
}
void BM_Scan_HighlightChange(benchmark::State& state) {
    scan(state, ScanMode::Batched, true);
}

BENCHMARK(BM_Scan_Batched)->Arg(8)->Arg(36)->Arg(100);
BENCHMARK(BM_Scan_OneAttributeAtATime)->Arg(8)->Arg(36)->Arg(100);
BENCHMARK(BM_Scan_HighlightChange)->Arg(8)->Arg(36)->Arg(100);

}  // namespace

BENCHMARK_MAIN();
