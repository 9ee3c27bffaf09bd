#include "platform/posix/FileSettings.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <utility>

#include "platform/JsonTextCheck.h"

namespace vantor::platform {

namespace {

using Json = nlohmann::json;
namespace fs = std::filesystem;

constexpr std::string_view kFileName = "defaults.json";

std::string errorText(int error) {
    return std::error_code(error, std::generic_category()).message();
}

// The file's text, or what is wrong with it; `missing` when there is no file.
struct FileText {
    bool missing = false;
    std::string text;
    std::string problem;
};

FileText readFile(const fs::path& path) {
    FileText result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        // ENOTDIR: a parent is a file, so there is no settings file either.
        if (errno == ENOENT || errno == ENOTDIR) {
            result.missing = true;
        } else {
            result.problem = fmt::format("could not be read ({})", errorText(errno));
        }
        return result;
    }
    struct stat info {};
    const bool known = ::fstat(fd, &info) == 0;
    if (known && S_ISDIR(info.st_mode)) {
        result.problem = "is a folder, not a file";
    } else if (known && static_cast<std::size_t>(info.st_size) > FileSettings::kMaxFileSize) {
        result.problem = fmt::format("is larger than 1 MiB ({} bytes)", info.st_size);
    } else {
        // Reads one byte past the limit, for a file that grows while it is read.
        char buffer[65536];
        while (result.problem.empty()) {
            const ssize_t count = ::read(fd, buffer, sizeof buffer);
            if (count < 0 && errno == EINTR) continue;
            if (count < 0) {
                result.problem = fmt::format("could not be read ({})", errorText(errno));
            } else if (count == 0) {
                break;
            } else {
                result.text.append(buffer, static_cast<std::size_t>(count));
                if (result.text.size() > FileSettings::kMaxFileSize) {
                    result.problem = fmt::format("is larger than 1 MiB (over {} bytes)",
                                                 FileSettings::kMaxFileSize);
                }
            }
        }
    }
    ::close(fd);
    return result;
}

// What makes `text` unusable as the settings object, or empty; `values` receives the object.
std::string parseSettings(const std::string& text, Json& values) {
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) return "is empty";
    const JsonTextCheck check = checkJsonText(text, FileSettings::kMaxNesting);
    if (check.outcome == JsonTextCheck::Outcome::TooDeep)
        return fmt::format("is nested deeper than {} levels", FileSettings::kMaxNesting);
    if (check.outcome == JsonTextCheck::Outcome::SyntaxError) {
        // The position counts the bytes read, the offending one included; reading past the end
        // counts one more.
        return check.position > text.size()
                   ? fmt::format("is not valid JSON (it ends early, after {} bytes)", text.size())
                   : fmt::format("is not valid JSON (syntax error at byte {})", check.position);
    }
    Json parsed = Json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (parsed.is_discarded()) return "is not valid JSON";
    if (!parsed.is_object()) {
        return fmt::format("holds a JSON {}, not an object", parsed.type_name());
    }
    values = std::move(parsed);
    return {};
}

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t count = ::write(fd, data.data(), data.size());
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return false;
        data.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

}  // namespace

fs::path FileSettings::defaultFolder() {
    // The XDG base directory rules ignore a relative XDG_CONFIG_HOME.
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/') {
        return fs::path(config) / "vantor";
    }
    std::string home;
    if (const char* variable = std::getenv("HOME"); variable && variable[0] != '\0') {
        home = variable;
    } else if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) {
        home = entry->pw_dir;
    }
    return fs::path(home) / ".config" / "vantor";
}

FileSettings::FileSettings(Log& log, fs::path folder)
    : log_(log), folder_(std::move(folder)), file_(folder_ / kFileName) {
    load();
}

void FileSettings::load() {
    FileText file = readFile(file_);
    if (file.missing) return;
    std::string problem = file.problem;
    if (problem.empty()) problem = parseSettings(file.text, values_);
    if (problem.empty()) return;

    // Kept aside so that a person can still recover what was in it.
    const fs::path aside = fs::path(file_).concat(".corrupt");
    if (::rename(file_.c_str(), aside.c_str()) == 0) {
        log_.log(fmt::format("Settings file {} {}; kept it as {} and started with empty settings",
                             file_.string(), problem, aside.string()));
    } else {
        log_.log(fmt::format(
            "Settings file {} {}; could not keep it as {} ({}); started with empty settings, "
            "which replace the file at the next change",
            file_.string(), problem, aside.string(), errorText(errno)));
    }
}

std::optional<Json> FileSettings::objectForKey(std::string_view key) const {
    const auto found = values_.find(key);
    if (found == values_.end()) return std::nullopt;
    return *found;
}

void FileSettings::setObject(std::string_view key, Json value) {
    if (value.is_null()) {
        removeObjectForKey(key);
        return;
    }
    values_[std::string(key)] = std::move(value);
    save();
}

void FileSettings::removeObjectForKey(std::string_view key) {
    const auto found = values_.find(key);
    if (found == values_.end()) return;
    values_.erase(found);
    save();
}

bool FileSettings::synchronize() {
    return saved_ || save();
}

int FileSettings::renameFile(const fs::path& from, const fs::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

bool FileSettings::save() {
    // The step that failed and the system's error, for the log line.
    std::string failure;
    const fs::path temporary = fs::path(file_).concat(".tmp");
    std::error_code created;
    fs::create_directories(folder_, created);
    if (created) {
        failure = fmt::format("creating the folder {}: {}", folder_.string(), created.message());
    } else {
        // A temporary file left by a crash goes first; O_EXCL then refuses to write through a
        // link planted in its place.
        ::unlink(temporary.c_str());
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            failure = fmt::format("creating {}: {}", temporary.string(), errorText(errno));
        } else {
            const std::string text =
                values_.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
            if (!writeAll(fd, text)) {
                failure = fmt::format("writing {}: {}", temporary.string(), errorText(errno));
            } else if (::fsync(fd) != 0) {
                failure = fmt::format("flushing {}: {}", temporary.string(), errorText(errno));
            }
            if (::close(fd) != 0 && failure.empty()) {
                failure = fmt::format("closing {}: {}", temporary.string(), errorText(errno));
            }
            if (failure.empty()) {
                if (const int error = renameFile(temporary, file_); error != 0) {
                    failure = fmt::format("renaming {} over it: {}", temporary.string(),
                                          errorText(error));
                }
            }
            if (!failure.empty()) ::unlink(temporary.c_str());
        }
    }

    if (!failure.empty()) {
        saved_ = false;
        if (!failureLogged_) {
            failureLogged_ = true;
            log_.log(
                fmt::format("Could not save settings to {} ({}); changes are kept in memory "
                            "only",
                            file_.string(), failure));
        }
        return false;
    }
    // The rename lasts only once the folder's entry is on disk too. Some file systems refuse to
    // flush a folder; the file itself is already safe then, so that is no failure.
    if (const int folder = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    saved_ = true;
    failureLogged_ = false;
    return true;
}

}  // namespace vantor::platform
