// The dealing of hint keys over one scan as the switcher grows from 8 to 1,000 entries: a first
// scan (nothing remembered) and a rescan of the same list (every title remembered, the case of
// every showing after the first). Items are entries, so the table's per-item time shows how
// close to linear the dealing stays (see bench/README.md).
#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>
#include <vector>

#include "switcher/HintKeys.h"

namespace vantor {
namespace {

// `count` switcher titles whose letters spread over the whole hint alphabet (at most 28 entries
// a letter for 1,000, so that every entry gets a key), mostly each title twice (two windows of
// one application), with a vendor prefix and a Chinese name now and then.
std::vector<std::string> makeTitles(std::size_t count) {
    std::vector<std::string> titles;
    titles.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const char letter = kHintAlphabet[i % kHintAlphabet.size()];
        std::string title =
            std::string(1, letter) + "pp " + std::to_string(i / (2 * kHintAlphabet.size()));
        if (i % 17 == 0) title = "Google " + title;
        if (letter == 'W' && i % 3 == 0) title = "微信 " + std::to_string(i);
        titles.push_back(std::move(title));
    }
    return titles;
}

void BM_HintKeys_FirstScan(benchmark::State& state) {
    const std::vector<std::string> titles = makeTitles(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        TitleToKeyMap remembered;
        HintKeyAssignment assignment = assignHintKeys(titles, remembered);
        benchmark::DoNotOptimize(assignment);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_HintKeys_FirstScan)->Arg(8)->Arg(36)->Arg(100)->Arg(300)->Arg(1000);

void BM_HintKeys_Rescan(benchmark::State& state) {
    const std::vector<std::string> titles = makeTitles(static_cast<std::size_t>(state.range(0)));
    TitleToKeyMap remembered;
    const HintKeyAssignment first = assignHintKeys(titles, remembered);
    std::size_t withoutKey = 0;
    for (const std::string& key : first.keys)
        withoutKey += key.empty();
    if (withoutKey != 0) state.SkipWithError("an entry got no key");
    for (auto _ : state) {
        HintKeyAssignment assignment = assignHintKeys(titles, remembered);
        benchmark::DoNotOptimize(assignment);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_HintKeys_Rescan)->Arg(8)->Arg(36)->Arg(100)->Arg(300)->Arg(1000);

}  // namespace
}  // namespace vantor

BENCHMARK_MAIN();
