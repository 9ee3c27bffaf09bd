// Reads a scenario script into commands. One command a line; `#` at the start of a word begins
// a comment; words split like a POSIX shell (single quotes keep everything, double quotes keep
// everything but backslash escapes of $ ` " \, a backslash outside quotes keeps the next
// character), with no expansion of any kind. Every command is checked against the scenario
// language (its name, its arguments' number and types, KEY names, the `fail ax` and `expect`
// forms), so that a script that plays has no malformed line; a malformed line is reported with
// its number and what is wrong with it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Accessibility.h"
#include "platform/EventServices.h"

namespace vantor::tools {

enum class Op {
    Screen,
    SwitcherScreen,
    App,
    Setting,
    Version,
    Trusted,
    Update,
    Launch,
    Wait,
    Down,
    Up,
    Tap,
    Type,
    MouseMove,
    MouseDown,
    MouseUp,
    MouseDrag,
    KillDock,
    StartDock,
    Start,
    Quit,
    Move,
    FailLaunch,
    FailAx,
    FailLoginItem,
    HangAx,
    TapDisabled,
    SecureInput,
    Reopen,
    Click,
    Close,
    Grant,
    Shot,
    Layout,
    Expect,
};

// The `expect` forms.
enum class Expect {
    None,
    Showing,     // yes|no
    Overlay,     // visible|hidden
    Cursor,      // pointing-hand|arrow
    Front,       // NAME
    Active,      // NAME
    Running,     // NAME yes|no
    Hidden,      // NAME yes|no
    Bundle,      // NAME PATH
    Highlight,   // NAME
    Hint,        // NAME KEY
    Log,         // TEXT
    NoLog,       // TEXT
    LogCount,    // TEXT N
    Received,    // NAME FORM
    Inbox,       // NAME FORM...
    Setting,     // KEY VALUE|absent
    Window,      // WINDOW open|closed
    Url,         // URL COUNT
    LoginItem,   // on|off
    Relaunched,  // yes|no
    Terminated,  // yes|no
    AxCalls,     // N
    AxWaited,    // SECONDS
    Notice,      // TEXT|none
};

// A count for `fail ax ... always`.
inline constexpr int kAlways = -1;

// One command as the player needs it. Only the fields of its kind are set.
struct Command {
    Op op = Op::Launch;
    Expect expect = Expect::None;
    int line = 0;
    // The line as written, without its comment and surrounding blanks.
    std::string text;
    // The positional words after the command's own name words (`mouse down`, `fail ax`,
    // `expect hint` ...), without the options: NAME, KEY, TEXT, PATH, FILE, FORMs, V,
    // WINDOW, ACTION, WHAT, VALUE, BODY, URL.
    std::vector<std::string> args;
    // The options of `app` and `start`.
    std::string path;
    std::string bundle;
    // The numbers, in order: W H X Y S (`screen`), X Y, SECONDS, N, COUNT, STATUS.
    std::vector<double> numbers;
    // The answer of a two-way word: yes, visible, open, on (false for its other word); for
    // `expect notice`, false for `none`.
    bool yes = false;
    platform::MouseButton button = platform::MouseButton::Left;
    // `fail ax`: the error and how many calls fail (kAlways for every one).
    platform::AXError error = 0;
    int count = 1;
};

struct ScriptError {
    int line = 0;
    std::string message;
};

struct Script {
    std::vector<Command> commands;
    // Every malformed line, in order; a script with any is not played.
    std::vector<ScriptError> errors;
};

// Reads a whole script.
Script parseScript(std::string_view text);

// An Accessibility error by its name (kAXErrorCannotComplete or CannotComplete) or its number
// (-25204); nothing for anything else.
std::optional<platform::AXError> axErrorForName(std::string_view name);

// Whether an event's printed form ("key-down Tab cmd shift", "left-up 700 520") is well
// formed; with `prefix` it may stop after any word but the first. False with `error` set
// otherwise.
bool checkEventForm(std::string_view form, bool prefix, std::string& error);

}  // namespace vantor::tools
