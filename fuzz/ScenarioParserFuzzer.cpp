// A scenario script of arbitrary contents: the reader never crashes, reports malformed lines by
// their number, keeps the commands in line order with finite numbers, and a script without
// errors reads the same again from the texts it kept of its commands.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzCheck.h"
#include "tools/ScenarioParser.h"

namespace {

using vantor::fuzz::check;
using vantor::tools::Command;

bool sameCommand(const Command& a, const Command& b) {
    return a.op == b.op && a.expect == b.expect && a.args == b.args && a.path == b.path &&
           a.bundle == b.bundle && a.numbers == b.numbers && a.yes == b.yes &&
           a.button == b.button && a.error == b.error && a.count == b.count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const vantor::tools::Script script = vantor::tools::parseScript(text);

    long lines = 1;
    for (const char c : text)
        lines += c == '\n' ? 1 : 0;
    int previous = 0;
    for (const vantor::tools::ScriptError& error : script.errors) {
        check(error.line > previous && error.line <= lines, "errors come once per line, in order");
        check(!error.message.empty(), "an error says what is wrong");
        previous = error.line;
    }
    previous = 0;
    for (const Command& command : script.commands) {
        check(command.line > previous && command.line <= lines, "commands keep the line order");
        previous = command.line;
        check(!command.text.empty(), "a command keeps its text");
        check((command.op == vantor::tools::Op::Expect) ==
                  (command.expect != vantor::tools::Expect::None),
              "exactly the expect commands have an expect form");
        for (const double number : command.numbers)
            check(std::isfinite(number), "numbers are finite");
        check(command.count >= 1 || command.count == vantor::tools::kAlways,
              "a failure count is positive or always");
    }

    // The error names and the printed event forms take any word.
    const std::string_view firstLine = text.substr(0, text.find('\n'));
    (void)vantor::tools::axErrorForName(firstLine);
    for (const bool prefix : {false, true}) {
        std::string error;
        if (!vantor::tools::checkEventForm(firstLine, prefix, error))
            check(!error.empty(), "a refused event form says why");
    }

    if (!script.errors.empty()) return 0;
    std::string kept;
    for (const Command& command : script.commands)
        kept += command.text + "\n";
    const vantor::tools::Script again = vantor::tools::parseScript(kept);
    check(again.errors.empty(), "the kept texts read without errors");
    check(again.commands.size() == script.commands.size(), "the kept texts give every command");
    for (std::size_t i = 0; i < again.commands.size(); ++i)
        check(sameCommand(again.commands[i], script.commands[i]),
              "a kept text reads as the same command");
    return 0;
}
