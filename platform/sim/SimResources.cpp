#include "platform/sim/SimResources.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <iterator>
#include <system_error>

namespace vantor::sim {

namespace {

std::optional<std::string> besideExecutable(std::string_view fileName) {
    std::error_code ec;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::nullopt;
    const std::filesystem::path path = executable.parent_path() / "resources" / fileName;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return std::move(text).str();
}

}  // namespace

std::optional<std::string> resourceText(std::string_view fileName) {
    if (fileName.empty() || fileName.find('/') != std::string_view::npos || fileName == "." ||
        fileName == "..") {
        return std::nullopt;
    }
    if (auto text = besideExecutable(fileName)) return text;
    for (const BuiltInResource& resource : builtInResources()) {
        if (resource.name == fileName) return std::string(resource.text);
    }
    return std::nullopt;
}

}  // namespace vantor::sim
