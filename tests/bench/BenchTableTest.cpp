#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "bench/tools/BenchTable.h"

namespace vantor::bench {
namespace {

using nlohmann::json;

json repetition(const std::string& name, double cpu, const std::string& unit = "ns") {
    return {{"name", name},    {"run_name", name}, {"run_type", "iteration"},
            {"cpu_time", cpu}, {"real_time", cpu}, {"time_unit", unit}};
}

json withItems(json entry, double itemsPerSecond) {
    entry["items_per_second"] = itemsPerSecond;
    return entry;
}

const BenchRow& row(const std::vector<BenchRow>& rows, const std::string& name) {
    for (const BenchRow& r : rows)
        if (r.name == name) return r;
    throw std::runtime_error("no row " + name);
}

TEST(BenchTableTest, TakesTheMedianOfTheRepetitionsAndIgnoresAggregates) {
    json oneOff = repetition("BM_Once/iterations:1/manual_time", 0.001, "us");
    oneOff["real_time"] = 15000.0;  // a manual-time benchmark is taken at its own time
    json report;
    report["benchmarks"] = json::array({
        repetition("BM_A", 5),
        repetition("BM_A", 1),
        repetition("BM_A", 3),
        repetition("BM_B", 2, "us"),
        repetition("BM_B", 4, "us"),
        {{"name", "BM_A_median"},
         {"run_name", "BM_A"},
         {"run_type", "aggregate"},
         {"aggregate_name", "median"},
         {"cpu_time", 1000.0},
         {"time_unit", "ns"}},
        oneOff,
    });
    const std::vector<BenchRow> rows = readReport("X", report);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, "BM_A");  // in the report's order
    EXPECT_EQ(rows[0].repetitions, 3);
    EXPECT_DOUBLE_EQ(rows[0].medianNs, 3);
    EXPECT_NEAR(rows[0].cvPercent, 66.67, 0.01);  // stddev 2 over mean 3
    EXPECT_DOUBLE_EQ(rows[1].medianNs, 3000);     // even count: the middle two, in ns
    EXPECT_DOUBLE_EQ(rows[2].medianNs, 15e6);
}

TEST(BenchTableTest, RowsFollowTheOrderOfRegistrationWhenRepetitionsAreInterleaved) {
    const auto registered = [](const std::string& name, long family, long instance) {
        json entry = repetition(name, 1);
        entry["family_index"] = family;
        entry["per_family_instance_index"] = instance;
        return entry;
    };
    json report;
    report["benchmarks"] = json::array({
        registered("BM_B/1000", 1, 1),
        registered("BM_A", 0, 0),
        registered("BM_B/8", 1, 0),
        registered("BM_B/1000", 1, 1),
        registered("BM_A", 0, 0),
    });
    const std::vector<BenchRow> rows = readReport("X", report);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, "BM_A");
    EXPECT_EQ(rows[1].name, "BM_B/8");
    EXPECT_EQ(rows[2].name, "BM_B/1000");
    EXPECT_EQ(rows[2].repetitions, 2);
}

TEST(BenchTableTest, ReportsWithCountersThatAreNotNumbersStillRead) {
    const json report = parseReport(
        R"({"benchmarks": [{"name": "BM_D", "run_name": "BM_D", "run_type": "iteration",
            "cpu_time": 4, "time_unit": "ns", "labels": NaN, "spread": -nan, "top": inf,
            "title": "inf NaN: nan"}]})");
    ASSERT_FALSE(report.is_discarded());
    const json& entry = report["benchmarks"][0];
    EXPECT_TRUE(entry["labels"].is_null());
    EXPECT_TRUE(entry["spread"].is_null());
    EXPECT_TRUE(entry["top"].is_null());
    EXPECT_EQ(entry["title"], "inf NaN: nan");  // inside a string nothing changes
    EXPECT_DOUBLE_EQ(readReport("D", report).at(0).medianNs, 4);
    EXPECT_TRUE(parseReport("{\"a\": nanny}").is_discarded());
}

TEST(BenchTableTest, AFailedBenchmarkKeepsItsMessageAndGetsNoRatio) {
    json failed = repetition("BM_Tap_Hint", 0);
    failed["error_occurred"] = true;
    failed["error_message"] = "the switcher is closed";
    json report;
    report["benchmarks"] = json::array({repetition("BM_Tap_Floor", 2), failed});
    std::vector<BenchRow> rows = readReport("Tap", report);
    addRatios(rows);
    EXPECT_EQ(row(rows, "BM_Tap_Hint").error, "the switcher is closed");
    EXPECT_FALSE(row(rows, "BM_Tap_Hint").ratio);
    EXPECT_NE(formatTable(rows).find("error: the switcher is closed"), std::string::npos);
}

TEST(BenchTableTest, FloorsServeTheirPrefixWithMatchingArgumentsFirst) {
    json report;
    report["benchmarks"] = json::array({
        repetition("BM_Scan_Floor", 10),
        repetition("BM_Scan_Floor/36", 20),
        repetition("BM_Scan_Children/36", 60),
        repetition("BM_Scan_Children/8", 50),
        repetition("BM_ScanOther", 40),  // shares the letters, not the prefix
        repetition("BM_Draw_Labels", 40),
    });
    std::vector<BenchRow> rows = readReport("Scan", report);
    json other;
    other["benchmarks"] = json::array({repetition("BM_Scan_Children/8", 99)});
    std::vector<BenchRow> otherRows = readReport("Other", other);
    rows.insert(rows.end(), otherRows.begin(), otherRows.end());
    addRatios(rows);

    EXPECT_EQ(rows[2].reference, "BM_Scan_Floor/36");
    EXPECT_DOUBLE_EQ(*rows[2].ratio, 3);
    EXPECT_EQ(rows[3].reference, "BM_Scan_Floor");
    EXPECT_DOUBLE_EQ(*rows[3].ratio, 5);
    EXPECT_FALSE(row(rows, "BM_ScanOther").ratio);
    EXPECT_FALSE(row(rows, "BM_Draw_Labels").ratio);
    EXPECT_FALSE(row(rows, "BM_Scan_Floor").ratio);
    EXPECT_FALSE(rows.back().ratio);  // a floor of another program does not count
}

TEST(BenchTableTest, GrowthFamiliesCompareTimePerItemWithTheirHundredOrSmallest) {
    json report;
    report["benchmarks"] = json::array({
        withItems(repetition("BM_Keys/8", 80), 8e9 / 80),
        withItems(repetition("BM_Keys/100", 500), 100e9 / 500),
        withItems(repetition("BM_Keys/1000", 7500), 1000e9 / 7500),
        withItems(repetition("BM_Small/8", 16), 8e9 / 16),
        withItems(repetition("BM_Small/36", 108), 36e9 / 108),
        repetition("BM_Uncounted/8", 3),
    });
    std::vector<BenchRow> rows = readReport("H", report);
    addRatios(rows);
    EXPECT_DOUBLE_EQ(*row(rows, "BM_Keys/100").perItemNs, 5);
    EXPECT_EQ(row(rows, "BM_Keys/1000").reference, "BM_Keys/100 per item");
    EXPECT_DOUBLE_EQ(*row(rows, "BM_Keys/1000").ratio, 1.5);
    EXPECT_DOUBLE_EQ(*row(rows, "BM_Keys/8").ratio, 2);
    EXPECT_EQ(row(rows, "BM_Small/36").reference, "BM_Small/8 per item");
    EXPECT_DOUBLE_EQ(*row(rows, "BM_Small/36").ratio, 1.5);
    EXPECT_FALSE(row(rows, "BM_Uncounted/8").ratio);
}

TEST(BenchTableTest, DurationsKeepThreeFiguresInAFittingUnit) {
    EXPECT_EQ(formatDuration(1.234), "1.23 ns");
    EXPECT_EQ(formatDuration(999), "999 ns");
    EXPECT_EQ(formatDuration(45'600), "45.6 µs");
    EXPECT_EQ(formatDuration(7'891'000), "7.89 ms");
    EXPECT_EQ(formatDuration(1.02e9), "1.02 s");
}

}  // namespace
}  // namespace vantor::bench
