#include "platform/sim/SimProcess.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <algorithm>
#include <utility>

#include "platform/sim/SimMainThread.h"
#include "platform/sim/SimWorkspace.h"

namespace vantor::sim {

platform::ActivityToken SimProcess::beginActivity(std::uint64_t options, std::string_view reason) {
    activities_.push_back({options, std::string(reason)});
    trace_.add(fmt::format("activity begins: {} ({:#x})", reason, options));
    return std::make_shared<Activity>(activities_.back());
}

bool SimProcess::loginItemSetEnabled(std::string_view bundleIdentifier, bool enabled) {
    trace_.add(fmt::format("login item {} {}{}", bundleIdentifier, enabled ? "on" : "off",
                           loginItemFails_ ? " fails" : ""));
    if (loginItemFails_) return false;
    loginItemEnabled_ = enabled;
    return true;
}

void SimProcess::launchTask(std::string_view path, const std::vector<std::string>& arguments) {
    tasks_.push_back({std::string(path), arguments});
    trace_.add(fmt::format("task {} {}", path, fmt::join(arguments, " ")));
}

void SimProcess::terminate() {
    if (!terminated_) {
        terminated_ = true;
        trace_.add("terminate");
        if (onTerminate_) onTerminate_();
    }
    throw SimTermination{};
}

std::int32_t SimProcess::processIdentifier() {
    return SimWorkspace::kAgentPid;
}

bool SimProcess::relaunched() const {
    const std::vector<std::string> opening{"open", bundlePath_};
    const std::string waitForAgent = fmt::format(" kill -0 {} ", SimWorkspace::kAgentPid);
    constexpr std::string_view kWaitEnd = "; done; ";
    return std::any_of(tasks_.begin(), tasks_.end(), [&](const Task& task) {
        if (task.path != "/bin/sh" || task.arguments.size() != 2 || task.arguments[0] != "-c")
            return false;
        const std::string_view command = task.arguments[1];
        const std::size_t waitEnd = command.find(kWaitEnd);
        if (waitEnd == std::string_view::npos) return false;
        if (command.substr(0, waitEnd).find(waitForAgent) == std::string_view::npos) return false;
        return plainShellWords(command.substr(waitEnd + kWaitEnd.size())) == opening;
    });
}

std::optional<std::vector<std::string>> plainShellWords(std::string_view command) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    std::size_t i = 0;
    const auto next = [&]() -> std::optional<char> {
        if (i >= command.size()) return std::nullopt;
        return command[i++];
    };
    while (const auto c = next()) {
        switch (*c) {
            case ' ':
            case '\t':
                if (inWord) words.push_back(std::exchange(word, {}));
                inWord = false;
                break;
            case '\\': {
                const auto escaped = next();
                if (!escaped) return std::nullopt;
                // A backslash before a newline joins the lines; before anything else it quotes it.
                if (*escaped != '\n') {
                    word += *escaped;
                    inWord = true;
                }
                break;
            }
            case '\'': {
                inWord = true;
                const std::size_t end = command.find('\'', i);
                if (end == std::string_view::npos) return std::nullopt;
                word.append(command.substr(i, end - i));
                i = end + 1;
                break;
            }
            case '"':
                inWord = true;
                for (;;) {
                    const auto d = next();
                    if (!d || *d == '$' || *d == '`') return std::nullopt;
                    if (*d == '"') break;
                    if (*d != '\\') {
                        word += *d;
                        continue;
                    }
                    const auto escaped = next();
                    if (!escaped) return std::nullopt;
                    if (*escaped == '\n') continue;
                    // Inside double quotes a backslash quotes only these; elsewhere it stays.
                    if (std::string_view("$`\"\\").find(*escaped) == std::string_view::npos)
                        word += '\\';
                    word += *escaped;
                }
                break;
            case '#':
                if (!inWord) return std::nullopt;  // a comment
                word += *c;
                break;
            case '~':
                if (!inWord) return std::nullopt;  // tilde expansion
                word += *c;
                break;
            default:
                // Expansions, substitutions, operators, redirections and patterns.
                if (std::string_view("$`;&|<>()*?[\n").find(*c) != std::string_view::npos)
                    return std::nullopt;
                word += *c;
                inWord = true;
                break;
        }
    }
    if (inWord) words.push_back(std::move(word));
    return words;
}

std::string SimProcess::infoValue(std::string_view key) {
    if (key == "CFBundleShortVersionString") return shortVersion_;
    if (key == "VantorUpdateServer") return updateServer_;
    return {};
}

}  // namespace vantor::sim
