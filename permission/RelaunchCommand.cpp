#include "permission/RelaunchCommand.h"

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

std::string relaunchCommand(std::string_view bundlePath) {
    return "open " + shellQuoted(bundlePath);
}

}  // namespace vantor
