// The shell command that opens the application's bundle again after the permission has been
// granted, run as "/bin/sh" "-c" COMMAND.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantor {

// `text` between double quotes, with a backslash before each character that keeps a meaning
// inside them (backslash, double quote, dollar sign, backquote), so that the shell reads it
// back as exactly `text`, one word, and runs nothing in it. Newlines and every other byte
// stand as they are.
std::string shellQuoted(std::string_view text);

// Waits while the process `pid` still exists (at most 10 s), then opens the bundle, its path
// quoted for the shell: `n=0; while … kill -0 PID …; done; open "/Applications/Vantor.app"`. Opened
// while the old process still ends, the bundle could bring that instance forward instead of
// starting a new one.
std::string relaunchCommand(std::int32_t pid, std::string_view bundlePath);

}  // namespace vantor
