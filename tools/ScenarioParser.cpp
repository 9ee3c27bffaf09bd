#include "tools/ScenarioParser.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <locale>
#include <sstream>
#include <utility>

#include "platform/sim/KeyNames.h"
#include "platform/sim/SimKeyboardLayout.h"
#include "tools/ShellWords.h"

namespace vantor::tools {

namespace {

using Words = std::vector<std::string>;
// What is wrong with a line; nothing when it is well formed.
using Problem = std::optional<std::string>;

// A decimal number: an optional minus, digits with at most one point, an optional exponent.
bool parseDouble(std::string_view text, double& value) {
    std::size_t at = text.starts_with('-') ? 1 : 0;
    const auto digitsFrom = [&text](std::size_t from) {
        std::size_t end = from;
        while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
            ++end;
        return end;
    };
    const std::size_t intEnd = digitsFrom(at);
    std::size_t end = intEnd;
    if (end < text.size() && text[end] == '.') end = digitsFrom(end + 1);
    if (end - at == 0 || (end - at == 1 && intEnd == at)) return false;  // no digit at all
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
        end = digitsFrom(exponent);
        if (end == exponent) return false;
    }
    if (end != text.size()) return false;
    // The classic locale reads '.' as the decimal point whatever the process's locale is.
    std::istringstream stream{std::string(text)};
    stream.imbue(std::locale::classic());
    double parsed = 0;
    stream >> parsed;
    if (stream.fail() || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

bool parseInteger(std::string_view text, long long& value) {
    const char* last = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), last, value);
    return ec == std::errc() && ptr == last;
}

std::size_t utf8Length(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return std::min(n, text.size() - at);
}

// The suffix "#N" of a NAME that addresses the N-th application of that name.
std::optional<std::string_view> occurrenceSuffix(std::string_view name) {
    const std::size_t hash = name.rfind('#');
    if (hash == std::string_view::npos || hash + 1 == name.size()) return std::nullopt;
    const std::string_view digits = name.substr(hash + 1);
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    return digits;
}

// A NAME that addresses an application, the Dock or the agent.
Problem checkReference(std::string_view name) {
    if (name.empty()) return "NAME is empty";
    if (const auto digits = occurrenceSuffix(name)) {
        long long n = 0;
        if (name.size() == digits->size() + 1) return fmt::format("\"{}\" names nothing", name);
        if ((*digits)[0] == '0' || !parseInteger(*digits, n) || n < 2) {
            return fmt::format("\"{}\": the first of a name is the name itself, then NAME#2, ...",
                               name);
        }
    }
    return std::nullopt;
}

// The name of an application that `app` or `start` brings.
Problem checkNewName(std::string_view name) {
    if (name.empty()) return "NAME is empty";
    if (occurrenceSuffix(name)) {
        return fmt::format(
            "an application's name may not end in #N (\"{}\"): NAME#N addresses "
            "the N-th application of a name",
            name);
    }
    if (name == "Dock" || name == "Vantor") {
        return fmt::format("\"{}\" is taken: it names the {}", name,
                           name == "Dock" ? "Dock" : "agent");
    }
    return std::nullopt;
}

Problem checkKeyName(std::string_view key) {
    if (!sim::keyCodeForName(key)) return fmt::format("\"{}\" is not a KEY name", key);
    return std::nullopt;
}

// A hint key: one character, repeated.
Problem checkHintKey(std::string_view key) {
    if (key.empty()) return "the hint KEY is empty";
    const std::string_view first = key.substr(0, utf8Length(key, 0));
    for (std::size_t i = 0; i < key.size(); i += first.size()) {
        if (key.substr(i, first.size()) != first) {
            return fmt::format("\"{}\" is not a hint key (one character, repeated)", key);
        }
    }
    return std::nullopt;
}

// `yes|no`-like words: the first means true.
Problem readChoice(std::string_view word, std::string_view yesWord, std::string_view noWord,
                   bool& value) {
    if (word == yesWord || word == noWord) {
        value = word == yesWord;
        return std::nullopt;
    }
    return fmt::format("expected {} or {}, not \"{}\"", yesWord, noWord, word);
}

Problem readNumber(std::string_view word, std::string_view what, Command& command, bool nonNegative,
                   bool positive = false) {
    double value = 0;
    if (!parseDouble(word, value))
        return fmt::format("{} must be a number, not \"{}\"", what, word);
    if (positive && value <= 0) return fmt::format("{} must be above 0, not {}", what, word);
    if (nonNegative && value < 0) return fmt::format("{} must not be negative ({})", what, word);
    command.numbers.push_back(value);
    return std::nullopt;
}

Problem readCount(std::string_view word, std::string_view what, Command& command) {
    long long value = 0;
    if (!parseInteger(word, value) || value < 0) {
        return fmt::format("{} must be a whole number of 0 or more, not \"{}\"", what, word);
    }
    command.numbers.push_back(static_cast<double>(value));
    return std::nullopt;
}

Problem checkArgs(const Words& args, std::size_t least, std::size_t most, std::string_view usage) {
    if (args.size() < least || args.size() > most) return fmt::format("usage: {}", usage);
    return std::nullopt;
}

// `app NAME [path=P] [bundle=ID]` and `start NAME [path=P]`.
Problem readApplication(Words& args, Command& command, bool withBundle) {
    const std::string_view usage =
        withBundle ? "app NAME [path=P] [bundle=ID]" : "start NAME [path=P]";
    if (args.empty()) return fmt::format("usage: {}", usage);
    bool sawPath = false;
    bool sawBundle = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option.starts_with("path=") && !sawPath) {
            command.path = option.substr(5);
            sawPath = true;
            if (command.path.empty()) return "path= is empty";
        } else if (withBundle && option.starts_with("bundle=") && !sawBundle) {
            command.bundle = option.substr(7);
            sawBundle = true;
            if (command.bundle.empty()) return "bundle= is empty";
        } else {
            return fmt::format("unexpected \"{}\"; usage: {}", option, usage);
        }
    }
    args.resize(1);
    return checkNewName(args[0]);
}

// `screen W H [at X Y] [scale S]`: the numbers W H X Y S, X Y 0 0 and S 1 when left out.
Problem readScreen(const Words& args, Command& command) {
    constexpr std::string_view usage = "usage: screen W H [at X Y] [scale S]";
    command.op = Op::Screen;
    if (args.size() < 2) return std::string(usage);
    if (auto p = readNumber(args[0], "W", command, true, true)) return p;
    if (auto p = readNumber(args[1], "H", command, true, true)) return p;
    std::optional<platform::Point> at;
    std::optional<double> scale;
    for (std::size_t i = 2; i < args.size(); ++i) {
        Command scratch;
        if (args[i] == "at" && !at && i + 2 < args.size()) {
            if (auto p = readNumber(args[i + 1], "X", scratch, false)) return p;
            if (auto p = readNumber(args[i + 2], "Y", scratch, false)) return p;
            at = platform::Point{scratch.numbers[0], scratch.numbers[1]};
            i += 2;
        } else if (args[i] == "scale" && !scale && i + 1 < args.size()) {
            if (auto p = readNumber(args[i + 1], "S", scratch, true, true)) return p;
            scale = scratch.numbers[0];
            i += 1;
        } else {
            return fmt::format("unexpected \"{}\"; {}", args[i], usage);
        }
    }
    const platform::Point origin = at.value_or(platform::Point{0, 0});
    command.numbers.insert(command.numbers.end(), {origin.x, origin.y, scale.value_or(1)});
    return std::nullopt;
}

Problem readMouse(const Words& args, Command& command) {
    if (args.empty()) return "usage: mouse move X Y, or mouse down|up|drag BUTTON X Y";
    const std::string& action = args[0];
    if (action == "move") {
        if (args.size() != 3) return "usage: mouse move X Y";
        command.op = Op::MouseMove;
        if (auto p = readNumber(args[1], "X", command, false)) return p;
        return readNumber(args[2], "Y", command, false);
    }
    if (action != "down" && action != "up" && action != "drag") {
        return fmt::format("\"{}\" is not a mouse action (move, down, up, drag)", action);
    }
    command.op = action == "down" ? Op::MouseDown : action == "up" ? Op::MouseUp : Op::MouseDrag;
    if (args.size() != 4) return fmt::format("usage: mouse {} BUTTON X Y", action);
    const std::string& button = args[1];
    if (button == "left") {
        command.button = platform::MouseButton::Left;
    } else if (button == "right") {
        command.button = platform::MouseButton::Right;
    } else if (button == "middle") {
        command.button = platform::MouseButton::Center;
    } else {
        return fmt::format("BUTTON is left, right or middle, not \"{}\"", button);
    }
    if (auto p = readNumber(args[2], "X", command, false)) return p;
    return readNumber(args[3], "Y", command, false);
}

Problem readFail(const Words& args, Command& command) {
    const std::string_view usage =
        "fail launch NAME, fail ax WHAT ERROR [COUNT|always], or fail login-item";
    if (args.empty()) return fmt::format("usage: {}", usage);
    const std::string& kind = args[0];
    if (kind == "launch") {
        command.op = Op::FailLaunch;
        if (args.size() != 2) return "usage: fail launch NAME";
        return checkReference(args[1]);
    }
    if (kind == "login-item") {
        command.op = Op::FailLoginItem;
        if (args.size() != 1) return "usage: fail login-item";
        return std::nullopt;
    }
    if (kind != "ax") return fmt::format("usage: {}", usage);
    command.op = Op::FailAx;
    if (args.size() < 3 || args.size() > 4) return "usage: fail ax WHAT ERROR [COUNT|always]";
    if (args[1].empty()) return "WHAT is empty";
    const auto error = axErrorForName(args[2]);
    if (!error) {
        return fmt::format(
            "\"{}\" is not an Accessibility error (e.g. kAXErrorCannotComplete "
            "or -25204)",
            args[2]);
    }
    command.error = *error;
    if (args.size() == 4) {
        long long count = 0;
        if (args[3] == "always") {
            command.count = kAlways;
        } else if (parseInteger(args[3], count) && count >= 1 && count <= 1'000'000) {
            command.count = static_cast<int>(count);
        } else {
            return fmt::format("COUNT must be a whole number above 0 or \"always\", not \"{}\"",
                               args[3]);
        }
    }
    return std::nullopt;
}

Problem readExpect(const Words& args, Command& command) {
    if (args.empty()) return "expect what?";
    const std::string& form = args[0];
    const std::size_t n = args.size() - 1;
    const auto usage = [&](std::string_view rest) {
        return fmt::format("usage: expect {} {}", form, rest);
    };
    const auto exactly = [&](std::size_t count, std::string_view rest) -> Problem {
        if (n != count) return usage(rest);
        return std::nullopt;
    };
    const auto twoWay = [&](Expect kind, std::string_view yesWord, std::string_view noWord,
                            std::size_t at) -> Problem {
        command.expect = kind;
        return readChoice(args[at], yesWord, noWord, command.yes);
    };

    if (form == "showing" || form == "relaunched" || form == "terminated") {
        if (auto p = exactly(1, "yes|no")) return p;
        const Expect kind = form == "showing"      ? Expect::Showing
                            : form == "relaunched" ? Expect::Relaunched
                                                   : Expect::Terminated;
        return twoWay(kind, "yes", "no", 1);
    }
    if (form == "overlay") {
        if (auto p = exactly(1, "visible|hidden")) return p;
        return twoWay(Expect::Overlay, "visible", "hidden", 1);
    }
    if (form == "cursor") {
        if (auto p = exactly(1, "pointing-hand|arrow")) return p;
        return twoWay(Expect::Cursor, "pointing-hand", "arrow", 1);
    }
    if (form == "login-item") {
        if (auto p = exactly(1, "on|off")) return p;
        return twoWay(Expect::LoginItem, "on", "off", 1);
    }
    if (form == "front" || form == "active" || form == "highlight") {
        if (auto p = exactly(1, "NAME")) return p;
        command.expect = form == "front"    ? Expect::Front
                         : form == "active" ? Expect::Active
                                            : Expect::Highlight;
        return checkReference(args[1]);
    }
    if (form == "running" || form == "hidden") {
        if (auto p = exactly(2, "NAME yes|no")) return p;
        if (auto p = checkReference(args[1])) return p;
        return twoWay(form == "running" ? Expect::Running : Expect::Hidden, "yes", "no", 2);
    }
    if (form == "bundle") {
        command.expect = Expect::Bundle;
        if (auto p = exactly(2, "NAME PATH")) return p;
        return checkReference(args[1]);
    }
    if (form == "hint") {
        if (auto p = exactly(2, "NAME KEY")) return p;
        command.expect = Expect::Hint;
        if (auto p = checkReference(args[1])) return p;
        return checkHintKey(args[2]);
    }
    if (form == "log" || form == "nolog") {
        command.expect = form == "log" ? Expect::Log : Expect::NoLog;
        return exactly(1, "\"TEXT\"");
    }
    if (form == "logcount") {
        command.expect = Expect::LogCount;
        if (auto p = exactly(2, "\"TEXT\" N")) return p;
        return readCount(args[2], "N", command);
    }
    if (form == "notice") {
        command.expect = Expect::Notice;
        if (auto p = exactly(1, "\"TEXT\"|none")) return p;
        command.yes = args[1] != "none";
        return std::nullopt;
    }
    if (form == "received") {
        command.expect = Expect::Received;
        if (auto p = exactly(2, "NAME \"FORM\"")) return p;
        if (auto p = checkReference(args[1])) return p;
        std::string error;
        if (!checkEventForm(args[2], true, error)) return error;
        return std::nullopt;
    }
    if (form == "inbox") {
        command.expect = Expect::Inbox;
        if (n < 1) return usage("NAME [\"FORM\" ...]");
        if (auto p = checkReference(args[1])) return p;
        for (std::size_t i = 2; i < args.size(); ++i) {
            std::string error;
            if (!checkEventForm(args[i], false, error)) return error;
        }
        return std::nullopt;
    }
    if (form == "setting") {
        command.expect = Expect::Setting;
        if (auto p = exactly(2, "KEY VALUE|absent")) return p;
        if (args[1].empty()) return "the setting's KEY is empty";
        return std::nullopt;
    }
    if (form == "window") {
        command.expect = Expect::Window;
        if (auto p = exactly(2, "PrefWindow|NewVersionWindow|AXAlert open|closed")) return p;
        if (args[1] != "PrefWindow" && args[1] != "NewVersionWindow" && args[1] != "AXAlert") {
            return fmt::format("WINDOW is PrefWindow, NewVersionWindow or AXAlert, not \"{}\"",
                               args[1]);
        }
        return readChoice(args[2], "open", "closed", command.yes);
    }
    if (form == "ax-calls") {
        command.expect = Expect::AxCalls;
        if (auto p = exactly(1, "N")) return p;
        return readCount(args[1], "N", command);
    }
    if (form == "ax-waited") {
        command.expect = Expect::AxWaited;
        if (auto p = exactly(1, "SECONDS")) return p;
        return readNumber(args[1], "SECONDS", command, true);
    }
    if (form == "url") {
        command.expect = Expect::Url;
        if (auto p = exactly(2, "URL COUNT")) return p;
        return readCount(args[2], "COUNT", command);
    }
    return fmt::format("unknown expect form \"{}\"", form);
}

// Checks a command's arguments and fills in what the player needs.
Problem readCommand(const Words& words, Command& command) {
    const std::string& name = words[0];
    Words args(words.begin() + 1, words.end());
    Problem problem;
    const auto plain = [&](Op op) -> Problem {
        command.op = op;
        if (!args.empty()) return fmt::format("`{}` takes no arguments", name);
        return std::nullopt;
    };
    if (name == "screen") {
        problem = readScreen(args, command);
        args.clear();
    } else if (name == "switcher-screen") {
        command.op = Op::SwitcherScreen;
        if ((problem = checkArgs(args, 1, 1, "switcher-screen N|all"))) return problem;
        // `all` is kept as screen 0: every screen shows the switcher.
        if (args[0] == "all") {
            command.numbers.push_back(0);
        } else {
            problem = readCount(args[0], "N", command);
            if (!problem && command.numbers[0] < 1) problem = "N counts screens from 1";
        }
        args.clear();
    } else if (name == "app") {
        command.op = Op::App;
        problem = readApplication(args, command, true);
    } else if (name == "setting") {
        command.op = Op::Setting;
        if ((problem = checkArgs(args, 2, 2, "setting KEY VALUE"))) return problem;
        if (args[0].empty()) problem = "the setting's KEY is empty";
    } else if (name == "version") {
        command.op = Op::Version;
        if ((problem = checkArgs(args, 1, 1, "version V"))) return problem;
        if (args[0].empty()) problem = "the version is empty";
    } else if (name == "trusted") {
        command.op = Op::Trusted;
        if ((problem = checkArgs(args, 1, 1, "trusted yes|no"))) return problem;
        problem = readChoice(args[0], "yes", "no", command.yes);
    } else if (name == "update") {
        command.op = Op::Update;
        long long status = 0;
        if ((problem = checkArgs(args, 2, 2, "update STATUS BODY"))) return problem;
        if (!parseInteger(args[0], status) || status < 100 || status > 599) {
            problem =
                fmt::format("STATUS must be an HTTP status (100 to 599), not \"{}\"", args[0]);
        }
        command.numbers.push_back(static_cast<double>(status));
        args.erase(args.begin());
    } else if (name == "launch") {
        problem = plain(Op::Launch);
    } else if (name == "wait") {
        command.op = Op::Wait;
        if ((problem = checkArgs(args, 1, 1, "wait SECONDS"))) return problem;
        problem = readNumber(args[0], "SECONDS", command, true);
    } else if (name == "down" || name == "up" || name == "tap") {
        command.op = name == "down" ? Op::Down : name == "up" ? Op::Up : Op::Tap;
        if ((problem = checkArgs(args, 1, 1, name + " KEY"))) return problem;
        problem = checkKeyName(args[0]);
    } else if (name == "type") {
        command.op = Op::Type;
        if ((problem = checkArgs(args, 1, 1, "type TEXT"))) return problem;
        if (args[0].empty()) problem = "TEXT is empty";
        // Which key types each character is known only as the script plays, under the layout
        // selected then.
        for (const char c : args[0]) {
            if (c < ' ' || c > '~') {
                problem = "type takes printable ASCII characters; use tap for other keys";
                break;
            }
        }
    } else if (name == "mouse") {
        problem = readMouse(args, command);
        if (!args.empty()) args.erase(args.begin());
        if (command.op != Op::MouseMove && !args.empty()) args.erase(args.begin());
    } else if (name == "kill-dock") {
        problem = plain(Op::KillDock);
    } else if (name == "start-dock") {
        problem = plain(Op::StartDock);
    } else if (name == "start") {
        command.op = Op::Start;
        problem = readApplication(args, command, false);
    } else if (name == "quit") {
        command.op = Op::Quit;
        if ((problem = checkArgs(args, 1, 1, "quit NAME"))) return problem;
        problem = checkReference(args[0]);
    } else if (name == "move") {
        command.op = Op::Move;
        if ((problem = checkArgs(args, 2, 2, "move NAME PATH"))) return problem;
        if ((problem = checkReference(args[0]))) return problem;
        if (args[1].empty()) problem = "PATH is empty";
    } else if (name == "fail") {
        problem = readFail(args, command);
        if (!args.empty()) args.erase(args.begin());
    } else if (name == "hang") {
        command.op = Op::HangAx;
        if ((problem = checkArgs(args, 2, 2, "hang ax SECONDS"))) return problem;
        if (args[0] != "ax") return "usage: hang ax SECONDS";
        problem = readNumber(args[1], "SECONDS", command, true);
        args.erase(args.begin());
    } else if (name == "tap-disabled") {
        command.op = Op::TapDisabled;
        if ((problem = checkArgs(args, 1, 1, "tap-disabled timeout|user"))) return problem;
        problem = readChoice(args[0], "timeout", "user", command.yes);
    } else if (name == "secure-input") {
        command.op = Op::SecureInput;
        if ((problem = checkArgs(args, 1, 2, "secure-input on [NAME], or secure-input off")))
            return problem;
        if ((problem = readChoice(args[0], "on", "off", command.yes))) return problem;
        if (!command.yes && args.size() > 1) return "usage: secure-input off";
        args.erase(args.begin());
        if (!args.empty()) problem = checkReference(args[0]);
    } else if (name == "reopen") {
        problem = plain(Op::Reopen);
    } else if (name == "click") {
        command.op = Op::Click;
        problem = checkArgs(args, 2, 3, "click WINDOW ACTION [TAG|IDENTIFIER]");
    } else if (name == "close") {
        command.op = Op::Close;
        problem = checkArgs(args, 1, 1, "close WINDOW");
    } else if (name == "grant") {
        problem = plain(Op::Grant);
    } else if (name == "shot") {
        command.op = Op::Shot;
        if ((problem = checkArgs(args, 1, 1, "shot FILE"))) return problem;
        if (args[0].empty()) problem = "FILE is empty";
    } else if (name == "layout") {
        command.op = Op::Layout;
        if ((problem = checkArgs(args, 1, 1, "layout NAME"))) return problem;
        if (!sim::SimKeyboardLayout::known(args[0])) {
            problem = fmt::format("\"{}\" is not a layout (us, azerty, qwertz, dvorak)", args[0]);
        }
    } else if (name == "expect") {
        command.op = Op::Expect;
        problem = readExpect(args, command);
        args.erase(args.begin(), args.begin() + std::min<std::size_t>(1, args.size()));
    } else {
        return fmt::format("unknown command \"{}\"", name);
    }
    command.args = std::move(args);
    return problem;
}

bool setupOnly(Op op) {
    return op == Op::Screen || op == Op::SwitcherScreen || op == Op::App || op == Op::Setting ||
           op == Op::Version || op == Op::Trusted;
}

constexpr std::array<std::string_view, 5> kModifierWords{"cmd", "shift", "opt", "ctrl", "fn"};

}  // namespace

Script parseScript(std::string_view text) {
    Script script;
    int lineNumber = 0;
    int launchLine = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t newline = text.find('\n', start);
        if (newline == std::string_view::npos) newline = text.size();
        const std::string_view line = text.substr(start, newline - start);
        start = newline + 1;
        ++lineNumber;

        Words words;
        std::string error;
        if (!splitWords(line, words, error)) {
            script.errors.push_back({lineNumber, error});
            continue;
        }
        if (words.empty()) continue;
        Command command;
        command.line = lineNumber;
        command.text = withoutComment(line);
        if (Problem problem = readCommand(words, command)) {
            script.errors.push_back({lineNumber, *problem});
            continue;
        }
        if (command.op == Op::Launch) {
            if (launchLine != 0) {
                script.errors.push_back(
                    {lineNumber, fmt::format("the agent already launched on line {}", launchLine)});
                continue;
            }
            launchLine = lineNumber;
        } else if (launchLine != 0 && setupOnly(command.op)) {
            script.errors.push_back(
                {lineNumber,
                 fmt::format("`{}` sets up the desktop: it goes before `launch` (line {})",
                             words[0], launchLine)});
            continue;
        }
        script.commands.push_back(std::move(command));
    }
    return script;
}

std::optional<platform::AXError> axErrorForName(std::string_view name) {
    static constexpr std::array<std::pair<std::string_view, platform::AXError>, 9> kErrors{{
        {"Failure", platform::kAXErrorFailure},
        {"IllegalArgument", platform::kAXErrorIllegalArgument},
        {"InvalidUIElement", platform::kAXErrorInvalidUIElement},
        {"InvalidUIElementObserver", platform::kAXErrorInvalidUIElementObserver},
        {"CannotComplete", platform::kAXErrorCannotComplete},
        {"AttributeUnsupported", platform::kAXErrorAttributeUnsupported},
        {"NotificationUnsupported", platform::kAXErrorNotificationUnsupported},
        {"NoValue", platform::kAXErrorNoValue},
        {"APIDisabled", platform::kAXErrorAPIDisabled},
    }};
    std::string_view bare = name;
    if (bare.starts_with("kAXError")) bare.remove_prefix(8);
    for (const auto& [errorName, code] : kErrors) {
        if (bare == errorName) return code;
    }
    long long number = 0;
    if (parseInteger(name, number) && number != 0 && number >= INT32_MIN && number <= INT32_MAX) {
        return static_cast<platform::AXError>(number);
    }
    return std::nullopt;
}

bool checkEventForm(std::string_view form, bool prefix, std::string& error) {
    Words words;
    if (!splitWords(form, words, error)) return false;
    if (words.empty()) {
        error = "an event's printed form is empty";
        return false;
    }
    const std::string& kind = words[0];
    const auto fail = [&](std::string message) {
        error = fmt::format("\"{}\": {}", form, message);
        return false;
    };
    if (kind == "key-down" || kind == "key-up" || kind == "flags") {
        if (words.size() == 1) return prefix || fail("the KEY is missing");
        const auto code = sim::keyCodeForName(words[1]);
        if (!code) return fail(fmt::format("\"{}\" is not a KEY name", words[1]));
        const std::string printed = sim::keyNameForCode(*code);
        if (printed != words[1]) return fail(fmt::format("the key prints as {}", printed));
        if (kind == "flags" && !sim::isModifierKey(*code)) {
            return fail("flags events come from modifier keys only");
        }
        std::size_t next = 0;
        for (std::size_t i = 2; i < words.size(); ++i) {
            std::size_t at = next;
            while (at < kModifierWords.size() && kModifierWords[at] != words[i])
                ++at;
            if (at == kModifierWords.size()) {
                return fail(
                    fmt::format("\"{}\" is not a modifier in its place (cmd shift opt ctrl "
                                "fn, in that order)",
                                words[i]));
            }
            next = at + 1;
        }
        return true;
    }
    static constexpr std::array<std::string_view, 9> kMouseWords{
        "left-down",  "left-up",     "left-drag", "right-down", "right-up",
        "right-drag", "middle-down", "middle-up", "middle-drag"};
    if (std::find(kMouseWords.begin(), kMouseWords.end(), kind) != kMouseWords.end()) {
        if (words.size() > 3) return fail("a mouse event is its kind and X Y");
        if (words.size() < 3 && !prefix) return fail("X Y are missing");
        for (std::size_t i = 1; i < words.size(); ++i) {
            long long v = 0;
            if (!parseInteger(words[i], v)) return fail("X Y are whole points");
        }
        return true;
    }
    if (kind == "move") return fail("pointer moves are not recorded");
    return fail(
        fmt::format("\"{}\" is not an event (key-down, key-up, flags, left-down, ...)", kind));
}

}  // namespace vantor::tools
