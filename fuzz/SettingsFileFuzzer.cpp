// A settings file of arbitrary contents, read by the Linux store from a private temporary
// folder: a usable file (a JSON object within the limits) gives exactly its values and logs
// nothing; anything else gives an empty store, one log line, and the file kept aside
// unchanged. Every value reads through the type conversions, and a change writes a file that
// the next start reads back as the same values.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "platform/Log.h"
#include "platform/posix/FileSettings.h"

namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using vantor::fuzz::check;
using vantor::platform::FileSettings;

constexpr std::string_view kProbeKey = "fuzz probe";

class CountingLog : public vantor::platform::Log {
public:
    void log(std::string_view message) override { lines.emplace_back(message); }
    std::vector<std::string> lines;
};

// A folder of this process's own, removed at exit.
const fs::path& folder() {
    static const fs::path made = [] {
        std::string pattern = (fs::temp_directory_path() / "vantor-fuzz-settings-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) vantor::fuzz::fail("cannot make a temp folder");
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(folder(), ignored);
        });
        return fs::path(pattern);
    }();
    return made;
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t depth(const json& value) {
    std::size_t deepest = 0;
    if (value.is_structured()) {
        for (const json& member : value)
            deepest = std::max(deepest, depth(member));
        return deepest + 1;
    }
    return 0;
}

// The value the reloaded store must hold for `stored`: the file holds JSON text, which has no
// infinities (a number too large for a double reads as one and is written as null).
bool survivesSaving(const json& stored) {
    if (stored.is_number_float()) return std::isfinite(stored.get<double>());
    if (stored.is_structured()) {
        for (const json& member : stored)
            if (!survivesSaving(member)) return false;
    }
    return true;
}

void readEveryWay(const FileSettings& settings, const std::string& key) {
    (void)settings.boolForKey(key);
    (void)settings.integerForKey(key);
    (void)settings.stringForKey(key);
    (void)settings.describeValue(key);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const fs::path file = folder() / "defaults.json";
    const fs::path aside = folder() / "defaults.json.corrupt";
    std::error_code ignored;
    fs::remove(aside, ignored);
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << text;
    }

    // What the file should give: the object when it is one within the limits.
    json expected = json::parse(text, nullptr, /*allow_exceptions=*/false);
    const bool usable = !expected.is_discarded() && expected.is_object() &&
                        size <= FileSettings::kMaxFileSize &&
                        depth(expected) <= FileSettings::kMaxNesting;

    CountingLog log;
    FileSettings settings(log, folder());
    if (usable) {
        check(log.lines.empty(), "a usable file logs nothing");
        check(!fs::exists(aside), "a usable file stays where it is");
        for (const auto& [key, value] : expected.items()) {
            const std::optional<json> held = settings.objectForKey(key);
            check(held.has_value() && *held == value, "every value of the file is held");
            readEveryWay(settings, key);
        }
    } else {
        check(log.lines.size() == 1, "an unusable file logs one line");
        check(log.lines[0].find(aside.string()) != std::string::npos,
              "the line says where the file went");
        check(!fs::exists(file) && readAll(aside) == text, "the file is kept aside unchanged");
        if (!expected.is_discarded() && expected.is_object()) {
            for (const auto& [key, value] : expected.items())
                check(!settings.hasKey(key), "an unusable file gives an empty store");
        }
        expected = json::object();
    }
    readEveryWay(settings, std::string(kProbeKey));

    // A change writes every value through; the next start reads them back.
    settings.setInteger(kProbeKey, static_cast<std::int64_t>(size));
    check(log.lines.size() == (usable ? 0u : 1u), "a save into a writable folder logs nothing");
    CountingLog nextLog;
    FileSettings next(nextLog, folder());
    check(nextLog.lines.empty(), "a written file reads back without complaint");
    check(next.integerForKey(kProbeKey) == static_cast<std::int64_t>(size),
          "the change is read back");
    for (const auto& [key, value] : expected.items()) {
        if (key == kProbeKey || !survivesSaving(value)) continue;
        const std::optional<json> held = next.objectForKey(key);
        check(held.has_value() && *held == value, "every value survives a save and a new start");
    }
    fs::remove(file, ignored);
    return 0;
}
