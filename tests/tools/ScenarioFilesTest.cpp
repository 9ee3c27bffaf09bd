// Plays every scenario file of tests/scenarios/ with the real agent on the simulated desktop,
// one test per file, in this process.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/ScenarioPlayer.h"

namespace vantor::tools {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> scenarioFiles() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(VANTOR_SCENARIOS_DIR)) {
        if (entry.is_regular_file() && entry.path().extension() == ".scn") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A test name from a file name: "dock-restart.scn" gives "dock_restart".
std::string testName(const ::testing::TestParamInfo<fs::path>& info) {
    std::string name = info.param.stem().string();
    std::replace_if(
        name.begin(), name.end(),
        [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

class Scenario : public ::testing::TestWithParam<fs::path> {};

TEST_P(Scenario, Plays) {
    std::ifstream in(GetParam(), std::ios::binary);
    ASSERT_TRUE(in) << "cannot read " << GetParam();
    std::ostringstream text;
    text << in.rdbuf();

    std::ostringstream trace;
    PlayerOptions options;
    options.scriptName =
        fs::relative(GetParam(), fs::path(VANTOR_SCENARIOS_DIR).parent_path()).string();
    options.outputDir = fs::path(::testing::TempDir()) / "vantor-scenarios";
    options.trace = &trace;
    ScenarioPlayer player(options);
    const PlayResult result = player.play(text.str());
    EXPECT_EQ(result.exitCode, 0) << result.message << "\nThe trace:\n" << trace.str();
}

INSTANTIATE_TEST_SUITE_P(Files, Scenario, ::testing::ValuesIn(scenarioFiles()), testName);

}  // namespace
}  // namespace vantor::tools
