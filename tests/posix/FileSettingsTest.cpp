#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "platform/posix/FileSettings.h"

namespace vantor::platform {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::json;

class RecordingLog final : public Log {
public:
    void log(std::string_view message) override { lines.emplace_back(message); }
    std::vector<std::string> lines;
};

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string readFile(const fs::path& path) {
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

class FileSettingsTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = fs::temp_directory_path() / "vantor-settings-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        folder_ = root_ / "vantor";
    }
    void TearDown() override {
        // A folder made read-only by a test must be writable again to be removed.
        std::error_code ignored;
        for (const auto& entry : fs::recursive_directory_iterator(root_, ignored)) {
            if (entry.is_directory(ignored)) ::chmod(entry.path().c_str(), 0700);
        }
        fs::remove_all(root_, ignored);
    }

    fs::path file() const { return folder_ / "defaults.json"; }
    fs::path corrupt() const { return folder_ / "defaults.json.corrupt"; }
    fs::path temporary() const { return folder_ / "defaults.json.tmp"; }

    fs::path root_;
    fs::path folder_;
    RecordingLog log_;
};

TEST_F(FileSettingsTest, ValuesSurviveAReloadAsTheyWereStored) {
    {
        FileSettings settings(log_, folder_);  // the folder does not exist yet
        settings.setBool("PressTwiceToTrigger", false);
        settings.setInteger("TriggerModifierKey", 0x80000);
        settings.setString("Current Version", "1.0");
        settings.setString("SkipVersion", "2.0 \"β\"\n");
        settings.setInteger("Gone", 1);
        settings.removeObjectForKey("Gone");
        settings.setObject("SetToNull", Json(1));
        settings.setObject("SetToNull", Json(nullptr));  // setObject:nil removes the key
        EXPECT_TRUE(settings.synchronize());
    }
    EXPECT_EQ(Json::parse(readFile(file())), Json::parse(R"({
        "PressTwiceToTrigger": false, "TriggerModifierKey": 524288,
        "Current Version": "1.0", "SkipVersion": "2.0 \"β\"\n"})"));
    EXPECT_FALSE(fs::exists(temporary()));
    // A first start, and everything after it, logs nothing.
    EXPECT_TRUE(log_.lines.empty());
}

// Wrong-typed values read as Foundation converts them; each stored value goes through the file.
TEST_F(FileSettingsTest, ValuesOfAnotherTypeReadThroughTheStoresConversions) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    struct Case {
        Json stored;
        bool asBool;
        std::int64_t asInteger;
        std::optional<std::string> asString;
        std::string described;
    };
    const std::vector<Case> cases = {
        {true, true, 1, std::nullopt, "true"},
        {false, false, 0, std::nullopt, "false"},
        {0, false, 0, "0", "0"},
        {524288, true, 524288, "524288", "524288"},
        {-1, true, -1, "-1", "-1"},
        {std::numeric_limits<std::uint64_t>::max(), true, kMax, "18446744073709551615",
         "18446744073709551615"},
        {3.9, true, 3, "3.9", "3.9"},
        {-3.9, true, -3, "-3.9", "-3.9"},
        {1.0, true, 1, "1", "1.0"},
        {0.0, false, 0, "0", "0.0"},
        {0.25, true, 0, "0.25", "0.25"},
        {1e30, true, kMax, "1e+30", "1e+30"},
        {-1e30, true, kMin, "-1e+30", "-1e+30"},
        {"YES", true, 0, "YES", "YES"},
        {" \tyes", true, 0, " \tyes", " \tyes"},
        {"T", true, 0, "T", "T"},
        {"no", false, 0, "no", "no"},
        {"0", false, 0, "0", "0"},
        {" 42abc", true, 42, " 42abc", " 42abc"},
        {"1.0", true, 1, "1.0", "1.0"},
        {"-17", false, -17, "-17", "-17"},
        {"+5", false, 5, "+5", "+5"},
        {"99999999999999999999", true, kMax, "99999999999999999999", "99999999999999999999"},
        {"-99999999999999999999", false, kMin, "-99999999999999999999", "-99999999999999999999"},
        {"", false, 0, "", ""},
        {Json::array({1}), false, 0, std::nullopt, "[1]"},
        {Json::object({{"a", 1}}), false, 0, std::nullopt, "{\"a\":1}"},
    };
    {
        FileSettings settings(log_, folder_);
        for (std::size_t i = 0; i < cases.size(); ++i) {
            settings.setObject("key" + std::to_string(i), cases[i].stored);
        }
    }
    FileSettings settings(log_, folder_);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const std::string key = "key" + std::to_string(i);
        SCOPED_TRACE(c.stored.dump());
        EXPECT_EQ(settings.objectForKey(key), c.stored);
        EXPECT_EQ(settings.boolForKey(key), c.asBool);
        EXPECT_EQ(settings.integerForKey(key), c.asInteger);
        EXPECT_EQ(settings.stringForKey(key), c.asString);
        EXPECT_EQ(settings.describeValue(key), c.described);
    }
    EXPECT_FALSE(settings.boolForKey("absent"));
    EXPECT_EQ(settings.integerForKey("absent"), 0);
    EXPECT_EQ(settings.stringForKey("absent"), std::nullopt);
    EXPECT_EQ(settings.describeValue("absent"), std::nullopt);
    // A JSON null in the file (no setter stores one) is present and converts like nothing.
    writeFile(file(), R"({"n": null})");
    FileSettings withNull(log_, folder_);
    EXPECT_TRUE(withNull.hasKey("n"));
    EXPECT_FALSE(withNull.boolForKey("n"));
    EXPECT_EQ(withNull.integerForKey("n"), 0);
    EXPECT_EQ(withNull.stringForKey("n"), std::nullopt);
    EXPECT_TRUE(log_.lines.empty());
}

TEST_F(FileSettingsTest, AnUnusableFileIsKeptAsideWithOneLineAndTheStoreStartsEmpty) {
    // An object holding n nested arrays: n + 1 levels.
    const auto nested = [](std::size_t n) {
        return "{\"a\": " + std::string(n, '[') + std::string(n, ']') + "}";
    };
    const std::string huge = "{\"a\": \"" + std::string(1024 * 1024, 'x') + "\"}";
    struct Case {
        std::string content;
        std::string problem;
    };
    const std::vector<Case> cases = {
        {"", "is empty"},
        {" \n\t", "is empty"},
        {R"({"TriggerModifierKey": 524288, "Press)",
         "is not valid JSON (it ends early, after 37 bytes)"},
        {R"({"a": tru)", "is not valid JSON (it ends early, after 9 bytes)"},
        {R"({"a": x})", "is not valid JSON (syntax error at byte 7)"},
        {R"({"a": 1} {})", "is not valid JSON (syntax error at byte 10)"},
        {"{\"a\": \"\xff\"}", "is not valid JSON (syntax error at byte 8)"},
        {"[1, 2]", "holds a JSON array, not an object"},
        {"\"text\"", "holds a JSON string, not an object"},
        {"null", "holds a JSON null, not an object"},
        {nested(64), "is nested deeper than 64 levels"},
        {huge, "is larger than 1 MiB (1048585 bytes)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.problem);
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        writeFile(corrupt(), "an older corrupt file");
        writeFile(file(), c.content);
        log_.lines.clear();

        FileSettings settings(log_, folder_);
        EXPECT_FALSE(settings.hasKey("a"));
        EXPECT_FALSE(settings.hasKey("TriggerModifierKey"));
        EXPECT_FALSE(fs::exists(file()));
        EXPECT_EQ(readFile(corrupt()), c.content);  // the older one is replaced
        EXPECT_EQ(log_.lines,
                  std::vector<std::string>{"Settings file " + file().string() + " " + c.problem +
                                           "; kept it as " + corrupt().string() +
                                           " and started with empty settings"});
        // The store works on: the next change writes a fresh file and logs nothing.
        settings.setInteger("TriggerModifierKey", 0x100000);
        EXPECT_EQ(Json::parse(readFile(file())), Json::parse(R"({"TriggerModifierKey": 1048576})"));
        EXPECT_EQ(log_.lines.size(), 1u);
    }
    // The limits themselves are accepted: 64 levels of nesting (the object counts as one).
    writeFile(file(), nested(63));
    log_.lines.clear();
    EXPECT_TRUE(FileSettings(log_, folder_).hasKey("a"));
    EXPECT_TRUE(log_.lines.empty());
}

// A store whose rename fails while `failRename` is set: the file system as a crash between
// writing the temporary file and renaming it would leave it.
class FailingRenameSettings final : public FileSettings {
public:
    using FileSettings::FileSettings;
    bool failRename = true;

protected:
    int renameFile(const fs::path& from, const fs::path& to) override {
        return failRename ? EIO : FileSettings::renameFile(from, to);
    }
};

TEST_F(FileSettingsTest, AnInterruptedSaveLeavesTheOldFileWhichTheNextStartReads) {
    fs::create_directories(folder_);
    writeFile(file(), R"({"SkipVersion": "1.1"})");
    // What a crash after writing part of the temporary file leaves behind.
    writeFile(temporary(), R"({"SkipVersion": "1.)");
    {
        FileSettings settings(log_, folder_);
        EXPECT_EQ(settings.stringForKey("SkipVersion"), "1.1");
        EXPECT_TRUE(log_.lines.empty());
        settings.setString("SkipVersion", "1.2");  // the stale temporary file is replaced
    }
    EXPECT_EQ(FileSettings(log_, folder_).stringForKey("SkipVersion"), "1.2");
    EXPECT_FALSE(fs::exists(temporary()));

    FailingRenameSettings settings(log_, folder_);
    settings.setString("SkipVersion", "1.3");
    settings.setInteger("TriggerModifierKey", -1);
    EXPECT_EQ(settings.stringForKey("SkipVersion"), "1.3");  // memory keeps the new value
    EXPECT_EQ(log_.lines, std::vector<std::string>{
                              "Could not save settings to " + file().string() + " (renaming " +
                              temporary().string() +
                              " over it: Input/output error); changes are kept in memory only"});
    EXPECT_FALSE(fs::exists(temporary()));
    EXPECT_EQ(FileSettings(log_, folder_).stringForKey("SkipVersion"), "1.2");
    EXPECT_FALSE(settings.synchronize());
    EXPECT_EQ(log_.lines.size(), 1u);

    // Once saving works again synchronize writes everything; a later failure is news again.
    settings.failRename = false;
    EXPECT_TRUE(settings.synchronize());
    FileSettings reloaded(log_, folder_);
    EXPECT_EQ(reloaded.stringForKey("SkipVersion"), "1.3");
    EXPECT_EQ(reloaded.integerForKey("TriggerModifierKey"), -1);
    settings.failRename = true;
    settings.setBool("LaunchAtStartup", true);
    EXPECT_EQ(log_.lines.size(), 2u);
}

TEST_F(FileSettingsTest, AnUnwritableFolderLogsOnceAndTheValuesWorkInMemory) {
    fs::create_directories(folder_);
    writeFile(file(), R"({"LaunchAtStartup": true})");
    ::chmod(folder_.c_str(), 0555);
    // As root (CI) the mode stops nothing; a folder below a regular file cannot be written by
    // anyone, and has no settings file to read.
    const fs::path probe = folder_ / "probe";
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    const bool modeStopsWrites = fd < 0;
    if (fd >= 0) ::close(fd);
    fs::path folder = folder_;
    std::string error =
        "creating " + (folder_ / "defaults.json.tmp").string() + ": Permission denied";
    if (!modeStopsWrites) {
        writeFile(root_ / "plain-file", "");
        folder = root_ / "plain-file" / "vantor";
        error = "creating the folder " + folder.string() + ": Not a directory";
    }

    FileSettings settings(log_, folder);
    EXPECT_EQ(settings.boolForKey("LaunchAtStartup"), modeStopsWrites);
    settings.setBool("LaunchAtStartup", false);
    settings.setInteger("TriggerModifierKey", 0x40000);
    EXPECT_FALSE(settings.synchronize());
    EXPECT_FALSE(settings.boolForKey("LaunchAtStartup"));
    EXPECT_EQ(log_.lines, std::vector<std::string>{"Could not save settings to " +
                                                   (folder / "defaults.json").string() + " (" +
                                                   error + "); changes are kept in memory only"});
}

TEST(FileSettingsFolder, FollowsXdgConfigHomeAndFallsBackToTheHomeFolder) {
    // Puts a variable back as it was when the test ends.
    struct Saved {
        const char* name;
        std::optional<std::string> value;
        explicit Saved(const char* n) : name(n) {
            if (const char* v = std::getenv(n)) value = v;
        }
        ~Saved() { value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name); }
    } home("HOME"), config("XDG_CONFIG_HOME");
    ::setenv("HOME", "/home/someone", 1);
    ::setenv("XDG_CONFIG_HOME", "/xdg/config", 1);
    EXPECT_EQ(FileSettings::defaultFolder(), "/xdg/config/vantor");
    ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(FileSettings::defaultFolder(), "/home/someone/.config/vantor");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(FileSettings::defaultFolder(), "/home/someone/.config/vantor");
}

}  // namespace
}  // namespace vantor::platform
