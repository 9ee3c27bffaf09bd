// vantor-sim: runs the Vantor agent on the simulated desktop. Without arguments it plays the
// built-in demonstration and saves screen PNGs in vantor-sim-out/; with --script it plays a
// scenario file. The trace goes to standard output as it happens; the exit code is 0 when
// every expect held, 1 when one did not, 2 for a malformed script or a bad command line.
#include <fmt/format.h>

#include <CLI/CLI.hpp>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

#include "tools/Demonstration.h"
#include "tools/ScenarioPlayer.h"

namespace {

constexpr int kMalformed = 2;

std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return text.str();
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Runs the Vantor agent on the simulated desktop. Without --script it plays the "
        "built-in demonstration and saves screen PNGs in vantor-sim-out/."};
    std::string scriptPath;
    std::string shotsDir;
    std::string configDir;
    std::string updateServer;
    app.add_option("--script", scriptPath, "Play this scenario file")->type_name("FILE");
    app.add_option("--shots", shotsDir, "Save a screen PNG here at every change of the overlay")
        ->type_name("DIR");
    app.add_option("--config-dir", configDir,
                   "The settings store's folder (default: a fresh temporary one)")
        ->type_name("DIR");
    app.add_option("--update-server", updateServer,
                   "The update server's base address for a script without an `update` line; "
                   "this machine only (127.0.0.1, localhost or [::1])")
        ->type_name("URL");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? 0 : kMalformed;
    }

    if (!updateServer.empty() && !vantor::tools::isLoopbackAddress(updateServer)) {
        std::cerr << fmt::format(
            "vantor-sim: --update-server {}: only an address of this machine is accepted "
            "(http://127.0.0.1[:PORT], http://localhost[:PORT] or http://[::1][:PORT])\n",
            updateServer);
        return kMalformed;
    }

    vantor::tools::PlayerOptions options;
    options.trace = &std::cout;
    options.configDir = configDir;
    options.updateServer = updateServer;
    if (!shotsDir.empty()) options.shotsDir = shotsDir;

    const bool demonstration = scriptPath.empty();
    std::string text;
    if (demonstration) {
        text = vantor::tools::demonstrationScript();
        options.scriptName = "demonstration";
        options.outputDir = vantor::tools::kDemonstrationOutputDir;
    } else {
        const auto read = readFile(scriptPath);
        if (!read) {
            std::cerr << fmt::format("vantor-sim: cannot read {}\n", scriptPath);
            return kMalformed;
        }
        text = *read;
        options.scriptName = scriptPath;
        options.outputDir =
            shotsDir.empty() ? std::filesystem::path(".") : std::filesystem::path(shotsDir);
    }

    vantor::tools::ScenarioPlayer player(options);
    const vantor::tools::PlayResult result = player.play(text);
    std::cout.flush();
    if (!result.message.empty()) std::cerr << result.message;
    if (demonstration && !player.savedShots().empty()) {
        std::cout << "\nScreens saved:\n";
        for (const auto& path : player.savedShots()) {
            std::error_code ec;
            const auto absolute = std::filesystem::absolute(path, ec);
            std::cout << "  " << (ec ? path : absolute).string() << '\n';
        }
    }
    return result.exitCode;
}
