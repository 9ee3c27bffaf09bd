// The table `make bench` prints: the repetitions of every benchmark in the Google Benchmark JSON
// reports reduced to a median, and each benchmark set against its reference, a floor or, for a
// family that grows with its argument, the family's reference size. Conventions: bench/README.md.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::bench {

struct BenchRow {
    std::string program;  // the program's name without "vantor-bench-": "Tap"
    std::string name;     // the benchmark with its arguments: "BM_HintKeys_Rescan/100"
    int repetitions = 0;
    double medianNs = 0;               // median CPU time of one iteration
    double cvPercent = 0;              // spread of the repetitions: stddev / mean
    std::optional<double> perItemNs;   // median time of one item, when items are counted
    std::optional<std::string> error;  // why the benchmark did not run
    std::string reference;             // what the ratio compares with ("" for nothing)
    std::optional<double> ratio;
};

// The JSON text of a report, read leniently: Google Benchmark writes a counter that is not a
// number (the spread of a constant) as a bare NaN or inf, which JSON does not allow; those
// values become null. A discarded value when the text is not JSON even so.
nlohmann::json parseReport(std::string_view text);

// One row per benchmark of a report, in the order of registration (else of the report), from its
// repetitions (aggregate entries are ignored; the median is taken here).
std::vector<BenchRow> readReport(std::string_view program, const nlohmann::json& report);

// Sets every row's reference and ratio:
// - A benchmark named P_Floor (with or without arguments) is the floor of the benchmarks P_*
//   of the same program; each is compared with the floor of the same arguments, or with the
//   floor without arguments. The ratio is of median times.
// - Otherwise a benchmark with one whole-number argument that counts items belongs to the
//   family of its name; the ratio is of per-item times against the family's member of
//   argument 100, or its smallest argument when it has no 100.
void addRatios(std::vector<BenchRow>& rows);

// "1.23 ns", "45.6 µs", "7.89 ms", "1.02 s": three significant figures.
std::string formatDuration(double ns);

// The table, one line per row, with a header line.
std::string formatTable(const std::vector<BenchRow>& rows);

}  // namespace vantor::bench
