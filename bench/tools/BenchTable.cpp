#include "bench/tools/BenchTable.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <map>
#include <utility>

namespace vantor::bench {

namespace {

constexpr std::string_view kFloorSuffix = "_Floor";
constexpr long kGrowthReferenceArgument = 100;

double toNanoseconds(double value, std::string_view unit) {
    if (unit == "us") return value * 1e3;
    if (unit == "ms") return value * 1e6;
    if (unit == "s") return value * 1e9;
    return value;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

double coefficientOfVariation(const std::vector<double>& values) {
    if (values.size() < 2) return 0;
    double sum = 0;
    for (double v : values)
        sum += v;
    const double mean = sum / static_cast<double>(values.size());
    if (mean == 0) return 0;
    double squares = 0;
    for (double v : values)
        squares += (v - mean) * (v - mean);
    const double stddev = std::sqrt(squares / static_cast<double>(values.size() - 1));
    return 100 * stddev / mean;
}

// "BM_Scan/36" -> {"BM_Scan", "36"}; "BM_Tap_Floor" -> {"BM_Tap_Floor", ""}.
std::pair<std::string_view, std::string_view> splitName(std::string_view name) {
    const auto slash = name.find('/');
    if (slash == std::string_view::npos) return {name, {}};
    return {name.substr(0, slash), name.substr(slash + 1)};
}

std::optional<long> wholeNumber(std::string_view text) {
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

struct Samples {
    // Where the benchmark was registered: its family, then its place in the family (the
    // report's order is shuffled when repetitions are interleaved).
    long family = 0;
    long instance = 0;
    std::vector<double> cpuNs;
    std::vector<double> perItemNs;
    std::optional<std::string> error;
};

// The floor a benchmark is measured against, by the naming convention; null for none.
const BenchRow* floorFor(const BenchRow& row, const std::vector<BenchRow>& rows) {
    const auto [base, args] = splitName(row.name);
    if (base.ends_with(kFloorSuffix)) return nullptr;
    const BenchRow* withoutArgs = nullptr;
    for (const BenchRow& candidate : rows) {
        if (candidate.program != row.program || candidate.error) continue;
        const auto [floorBase, floorArgs] = splitName(candidate.name);
        if (!floorBase.ends_with(kFloorSuffix)) continue;
        const std::string_view prefix = floorBase.substr(0, floorBase.size() - kFloorSuffix.size());
        if (!base.starts_with(prefix) || base.size() <= prefix.size() || base[prefix.size()] != '_')
            continue;
        if (floorArgs == args) return &candidate;
        if (floorArgs.empty()) withoutArgs = &candidate;
    }
    return withoutArgs;
}

// The member of the row's growth family it is measured against; null when it has none.
const BenchRow* growthReferenceFor(const BenchRow& row, const std::vector<BenchRow>& rows) {
    const auto [base, args] = splitName(row.name);
    if (!row.perItemNs || !wholeNumber(args)) return nullptr;
    const BenchRow* smallest = nullptr;
    long smallestArg = 0;
    for (const BenchRow& candidate : rows) {
        if (candidate.program != row.program || candidate.error || !candidate.perItemNs) continue;
        const auto [candidateBase, candidateArgs] = splitName(candidate.name);
        const std::optional<long> arg = wholeNumber(candidateArgs);
        if (candidateBase != base || !arg) continue;
        if (*arg == kGrowthReferenceArgument) return &candidate;
        if (!smallest || *arg < smallestArg) {
            smallest = &candidate;
            smallestArg = *arg;
        }
    }
    return smallest;
}

}  // namespace

nlohmann::json parseReport(std::string_view text) {
    std::string cleaned;
    cleaned.reserve(text.size());
    std::size_t i = 0;
    bool inString = false;
    while (i < text.size()) {
        if (inString) {
            if (text[i] == '\\' && i + 1 < text.size()) cleaned += text[i++];
            if (text[i] == '"') inString = false;
            cleaned += text[i++];
            continue;
        }
        if (text[i] == '"') inString = true;
        bool replaced = false;
        if (text[i] == ':') {
            std::size_t j = i + 1;
            while (j < text.size() && text[j] == ' ')
                ++j;
            for (std::string_view word :
                 {"-nan", "nan", "NaN", "-NaN", "-inf", "inf", "Infinity", "-Infinity"}) {
                const std::size_t end = j + word.size();
                if (text.substr(j, word.size()) != word) continue;
                if (end < text.size() && std::isalnum(static_cast<unsigned char>(text[end])))
                    continue;
                cleaned += ": null";
                i = end;
                replaced = true;
                break;
            }
        }
        if (!replaced) cleaned += text[i++];
    }
    return nlohmann::json::parse(cleaned, nullptr, false);
}

std::vector<BenchRow> readReport(std::string_view program, const nlohmann::json& report) {
    std::vector<std::string> order;
    std::map<std::string, Samples> samples;
    const auto benchmarks = report.find("benchmarks");
    if (benchmarks == report.end() || !benchmarks->is_array()) return {};
    for (const nlohmann::json& entry : *benchmarks) {
        if (entry.value("run_type", "iteration") != "iteration") continue;
        const std::string name = entry.value("run_name", entry.value("name", ""));
        if (name.empty()) continue;
        auto [it, added] = samples.try_emplace(name);
        Samples& s = it->second;
        if (added) {
            order.push_back(name);
            s.family = entry.value("family_index", static_cast<long>(order.size()));
            s.instance = entry.value("per_family_instance_index", 0L);
        }
        if (entry.value("error_occurred", false)) {
            s.error = entry.value("error_message", "error");
            continue;
        }
        const std::string unit = entry.value("time_unit", "ns");
        // A manual-time benchmark times its work itself (a one-off, say); its CPU time is only
        // the loop's.
        const bool manualTime = name.ends_with("/manual_time");
        s.cpuNs.push_back(
            toNanoseconds(entry.value(manualTime ? "real_time" : "cpu_time", 0.0), unit));
        if (const auto items = entry.find("items_per_second");
            items != entry.end() && items->is_number() && items->get<double>() > 0)
            s.perItemNs.push_back(1e9 / items->get<double>());
    }

    std::stable_sort(order.begin(), order.end(), [&](const std::string& a, const std::string& b) {
        const Samples& x = samples.at(a);
        const Samples& y = samples.at(b);
        return x.family != y.family ? x.family < y.family : x.instance < y.instance;
    });
    std::vector<BenchRow> rows;
    for (const std::string& name : order) {
        const Samples& s = samples.at(name);
        BenchRow row;
        row.program = std::string(program);
        row.name = name;
        row.repetitions = static_cast<int>(s.cpuNs.size());
        row.error = s.error;
        if (!s.cpuNs.empty()) {
            row.medianNs = median(s.cpuNs);
            row.cvPercent = coefficientOfVariation(s.cpuNs);
        } else if (!row.error) {
            row.error = "no repetitions";
        }
        if (!s.perItemNs.empty()) row.perItemNs = median(s.perItemNs);
        rows.push_back(std::move(row));
    }
    return rows;
}

void addRatios(std::vector<BenchRow>& rows) {
    for (BenchRow& row : rows) {
        row.reference.clear();
        row.ratio.reset();
        if (row.error) continue;
        if (const BenchRow* floor = floorFor(row, rows)) {
            row.reference = floor->name;
            if (floor->medianNs > 0) row.ratio = row.medianNs / floor->medianNs;
        } else if (const BenchRow* ref = growthReferenceFor(row, rows)) {
            row.reference = ref->name + " per item";
            if (*ref->perItemNs > 0) row.ratio = *row.perItemNs / *ref->perItemNs;
        }
    }
}

std::string formatDuration(double ns) {
    struct Unit {
        double scale;
        const char* name;
    };
    constexpr Unit kUnits[] = {{1e9, "s"}, {1e6, "ms"}, {1e3, "µs"}, {1, "ns"}};
    for (const Unit& unit : kUnits) {
        if (std::fabs(ns) < unit.scale && unit.scale != 1) continue;
        const double value = ns / unit.scale;
        const int decimals = value >= 100 ? 0 : value >= 10 ? 1 : 2;
        return fmt::format("{:.{}f} {}", value, decimals, unit.name);
    }
    return fmt::format("{:.2f} ns", ns);
}

std::string formatTable(const std::vector<BenchRow>& rows) {
    std::size_t nameWidth = std::string_view("benchmark").size();
    for (const BenchRow& row : rows)
        nameWidth = std::max(nameWidth, row.program.size() + 1 + row.name.size());

    // "µ" takes two bytes and one column: pad by hand rather than by byte count.
    const auto pad = [](std::string text, std::size_t width) {
        std::size_t columns = 0;
        for (unsigned char c : text)
            columns += (c & 0xC0) != 0x80;
        if (columns < width) text.insert(0, width - columns, ' ');
        return text;
    };

    std::string out =
        fmt::format("{:<{}}  {:>10}  {:>10}  {:>6}  {:>4}  {:>7}  {}\n", "benchmark", nameWidth,
                    "median", "per item", "cv%", "reps", "ratio", "against");
    for (const BenchRow& row : rows) {
        const std::string name = row.program + " " + row.name;
        if (row.error) {
            out += fmt::format("{:<{}}  error: {}\n", name, nameWidth, *row.error);
            continue;
        }
        out += fmt::format("{:<{}}  {}  {}  {:>6.1f}  {:>4}  {:>7}  {}\n", name, nameWidth,
                           pad(formatDuration(row.medianNs), 10),
                           pad(row.perItemNs ? formatDuration(*row.perItemNs) : "", 10),
                           row.cvPercent, row.repetitions,
                           row.ratio ? fmt::format("{:.2f}x", *row.ratio) : "", row.reference);
    }
    return out;
}

}  // namespace vantor::bench
