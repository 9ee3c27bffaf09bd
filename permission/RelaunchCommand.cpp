#include "permission/RelaunchCommand.h"

#include <fmt/format.h>

namespace vantor {

std::string shellQuoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    for (const char c : text) {
        if (c == '\\' || c == '"' || c == '$' || c == '`') quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string relaunchCommand(std::int32_t pid, std::string_view bundlePath) {
    return fmt::format(
        "n=0; while [ $n -lt 100 ] && kill -0 {} 2>/dev/null; do sleep 0.1; n=$((n + 1)); done; "
        "open {}",
        pid, shellQuoted(bundlePath));
}

}  // namespace vantor
