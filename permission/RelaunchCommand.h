// The shell command that opens the application's bundle again after the permission has been
// granted, run as "/bin/sh" "-c" COMMAND.
#pragma once

#include <string>
#include <string_view>

namespace vantor {

// `text` between double quotes, with a backslash before each character that keeps a meaning
// inside them (backslash, double quote, dollar sign, backquote), so that the shell reads it
// back as exactly `text`, one word, and runs nothing in it. Newlines and every other byte
// stand as they are.
std::string shellQuoted(std::string_view text);

// "open" followed by the bundle path, quoted for the shell: `open "/Applications/Vantor.app"`.
std::string relaunchCommand(std::string_view bundlePath);

}  // namespace vantor
