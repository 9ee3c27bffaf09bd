// Prints one table of medians and ratios from the JSON reports of the benchmark programs:
//     bench-table build/bench/results/vantor-bench-Tap.json ...
// A report's program is its file name without "vantor-bench-" and ".json".
#include <fmt/format.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/tools/BenchTable.h"

int main(int argc, char** argv) {
    using namespace vantor::bench;
    if (argc < 2) {
        std::cerr << "usage: bench-table REPORT.json ...\n";
        return 2;
    }
    std::vector<BenchRow> rows;
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        std::string program = path.stem().string();
        if (program.starts_with("vantor-bench-")) program.erase(0, 13);
        std::ifstream in(path);
        const std::string text{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
        const nlohmann::json report = parseReport(text);
        if (!in.is_open() || report.is_discarded()) {
            std::cerr << fmt::format("bench-table: cannot read {}\n", path.string());
            status = 1;
            continue;
        }
        std::vector<BenchRow> read = readReport(program, report);
        rows.insert(rows.end(), read.begin(), read.end());
    }
    addRatios(rows);
    std::cout << formatTable(rows);
    return status;
}
