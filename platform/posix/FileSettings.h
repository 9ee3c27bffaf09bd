// The defaults store of the Linux build: one JSON object in a file, `defaults.json`, in the
// agent's configuration folder, keys as they are and values as they were stored:
//
//   {
//     "Current Version": "1.0",
//     "PressTwiceToTrigger": false,
//     "TriggerModifierKey": 524288
//   }
//
// The file is read once, when the store is made. Every change is written through at once:
// the whole object goes to `defaults.json.tmp` in the same folder, which is flushed to disk and
// renamed over `defaults.json`, and the folder is flushed, so that a crash leaves either the old
// file or the new one, never a half-written one. The folder is created when it is missing.
//
// Failures a person must know about are logged, one line each; nothing else is:
// - a missing file is an empty store, silently (every first start has none);
// - a file that cannot be read, is empty, larger than 1 MiB, not valid JSON (truncated
//   included), nested deeper than 64 levels or not a JSON object is an empty store; the file is
//   kept aside as `defaults.json.corrupt` (replacing an older one) and one line says what was
//   wrong and where the file went;
// - a save that fails (an unwritable folder, a full disk) logs one line naming the file and the
//   system's error, once until a save works again; the values in memory keep working and
//   synchronize tries again.
#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Log.h"
#include "platform/Settings.h"

namespace vantor::platform {

class FileSettings : public Settings {
public:
    // The largest settings file read, and the deepest nesting of its values.
    static constexpr std::size_t kMaxFileSize = 1024 * 1024;
    static constexpr std::size_t kMaxNesting = 64;

    // $XDG_CONFIG_HOME/vantor, or ~/.config/vantor when that is unset or not an absolute path.
    static std::filesystem::path defaultFolder();

    // Reads `defaults.json` of `folder` (see above); failures go to `log`.
    FileSettings(Log& log, std::filesystem::path folder);
    ~FileSettings() override = default;
    FileSettings(const FileSettings&) = delete;
    FileSettings& operator=(const FileSettings&) = delete;

    std::optional<nlohmann::json> objectForKey(std::string_view key) const override;
    void setObject(std::string_view key, nlohmann::json value) override;
    void removeObjectForKey(std::string_view key) override;
    bool synchronize() override;

    const std::filesystem::path& filePath() const { return file_; }

protected:
    // rename(2): puts the written temporary file in place; 0 or the errno. The one step a test
    // replaces, to fail where a crash between writing and renaming would stop.
    virtual int renameFile(const std::filesystem::path& from, const std::filesystem::path& to);

private:
    void load();
    // Writes the values through; logs the first failure of a run of failures.
    bool save();

    Log& log_;
    std::filesystem::path folder_;
    std::filesystem::path file_;
    nlohmann::json values_ = nlohmann::json::object();
    bool saved_ = true;
    bool failureLogged_ = false;
};

}  // namespace vantor::platform
