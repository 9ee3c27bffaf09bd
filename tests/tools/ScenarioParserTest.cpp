#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/ScenarioParser.h"

namespace vantor::tools {
namespace {

// The one error of a one-line script.
std::string errorOf(std::string_view line) {
    const Script script = parseScript(line);
    EXPECT_EQ(script.errors.size(), 1u) << line;
    if (script.errors.empty()) return {};
    EXPECT_EQ(script.errors[0].line, 1);
    return script.errors[0].message;
}

Command commandOf(std::string_view line) {
    const Script script = parseScript(line);
    EXPECT_TRUE(script.errors.empty()) << line << ": " << script.errors.at(0).message;
    EXPECT_EQ(script.commands.size(), 1u) << line;
    return script.commands.empty() ? Command{} : script.commands[0];
}

// The scenario files show most forms working; here the ones none of them uses.
TEST(ParseScript, ReadsArgumentsTheScenariosDoNotUse) {
    EXPECT_EQ(commandOf("screen 800 600 scale 1.5 at -800 -20").numbers,
              (std::vector<double>{800, 600, -800, -20, 1.5}));
    EXPECT_EQ(commandOf("app Safari bundle=com.apple.Safari").bundle, "com.apple.Safari");

    const Command drag = commandOf("mouse drag middle 10 -20");
    EXPECT_EQ(drag.op, Op::MouseDrag);
    EXPECT_EQ(drag.button, platform::MouseButton::Center);
    EXPECT_EQ(drag.numbers, (std::vector<double>{10, -20}));

    const Command fail = commandOf("fail ax AXPosition kAXErrorCannotComplete always");
    EXPECT_EQ(fail.op, Op::FailAx);
    EXPECT_EQ(fail.args[0], "AXPosition");
    EXPECT_EQ(fail.error, platform::kAXErrorCannotComplete);
    EXPECT_EQ(fail.count, kAlways);
    EXPECT_EQ(commandOf("fail ax observer -25204 3").count, 3);
}

// One-line scripts that do not read, each with its one error.
TEST(ParseScript, RejectsMalformedLinesSayingWhatIsWrong) {
    const struct {
        std::string_view line;
        std::string_view message;
    } cases[] = {
        {"jump 3", "unknown command \"jump\""},
        {"launch now", "`launch` takes no arguments"},
        {"screen 1920", "usage: screen W H [at X Y] [scale S]"},
        {"screen 800 600 at -800", "unexpected \"at\"; usage: screen W H [at X Y] [scale S]"},
        {"screen 800 600 scale 0", "S must be above 0, not 0"},
        {"switcher-screen 0", "N counts screens from 1"},
        {"screen 0 1080", "W must be above 0, not 0"},
        {"wait", "usage: wait SECONDS"},
        {"wait -1", "SECONDS must not be negative (-1)"},
        {"wait 1s", "SECONDS must be a number, not \"1s\""},
        {"wait nan", "SECONDS must be a number, not \"nan\""},
        {"type 'm\tm'", "type takes printable ASCII characters; use tap for other keys"},
        {"layout colemak", "\"colemak\" is not a layout (us, azerty, qwertz, dvorak)"},
        {"mouse down left 10", "usage: mouse down BUTTON X Y"},
        {"mouse up wheel 1 2", "BUTTON is left, right or middle, not \"wheel\""},
        {"mouse click left 1 2", "\"click\" is not a mouse action (move, down, up, drag)"},
        {"app Safari bundle=x bundle=y",
         "unexpected \"bundle=y\"; usage: app NAME [path=P] [bundle=ID]"},
        {"start Mail bundle=x", "unexpected \"bundle=x\"; usage: start NAME [path=P]"},
        {"app Dock", "\"Dock\" is taken: it names the Dock"},
        {"app Terminal#2",
         "an application's name may not end in #N "
         "(\"Terminal#2\"): NAME#N addresses the N-th "
         "application of a name"},
        {"quit Terminal#1",
         "\"Terminal#1\": the first of a name is the name "
         "itself, then NAME#2, ..."},
        {"fail ax AXTitle Oops",
         "\"Oops\" is not an Accessibility error (e.g. "
         "kAXErrorCannotComplete or -25204)"},
        {"fail ax AXTitle Failure 0",
         "COUNT must be a whole number above 0 or \"always\", not \"0\""},
        {"fail disk",
         "usage: fail launch NAME, fail ax WHAT ERROR "
         "[COUNT|always], or fail login-item"},
        {"tap-disabled never", "expected timeout or user, not \"never\""},
        {"hang dock 1", "usage: hang ax SECONDS"},
        {"hang ax -1", "SECONDS must not be negative (-1)"},
        {"update 99 ok", "STATUS must be an HTTP status (100 to 599), not \"99\""},
        {"expect", "expect what?"},
        {"expect weather sunny", "unknown expect form \"weather\""},
        {"expect showing maybe", "expected yes or no, not \"maybe\""},
        {"expect overlay yes", "expected visible or hidden, not \"yes\""},
        {"expect front", "usage: expect front NAME"},
        {"expect ax-calls some", "N must be a whole number of 0 or more, not \"some\""},
        {"expect hint Mail", "usage: expect hint NAME KEY"},
        {"expect hint Mail MN", "\"MN\" is not a hint key (one character, repeated)"},
        {"expect logcount x -1", "N must be a whole number of 0 or more, not \"-1\""},
        {"expect window Finder open",
         "WINDOW is PrefWindow, NewVersionWindow or AXAlert, not \"Finder\""},
        {"expect url", "usage: expect url URL COUNT"},
        // Printed event forms.
        {"expect inbox Mail 'key-down a'", "\"key-down a\": the key prints as A"},
        {"expect inbox Mail 'key-down A shift cmd'",
         "\"key-down A shift cmd\": \"cmd\" is not a modifier in its place (cmd "
         "shift opt ctrl "
         "fn, in that order)"},
        {"expect inbox Mail 'flags A'", "\"flags A\": flags events come from modifier keys only"},
        {"expect inbox Mail 'key-down'", "\"key-down\": the KEY is missing"},
        {"expect inbox Mail 'left-up 700'", "\"left-up 700\": X Y are missing"},
        {"expect received Mail 'move 1 2'", "\"move 1 2\": pointer moves are not recorded"},
        {"expect received Mail 'press A'",
         "\"press A\": \"press\" is not an event (key-down, key-up, flags, "
         "left-down, ...)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorOf(c.line), c.message);
    // `received` matches the beginning of a form, so a form may stop early there.
    EXPECT_TRUE(parseScript("expect received Dock 'key-down'").errors.empty());
    EXPECT_TRUE(parseScript("expect received Dock 'left-up'").errors.empty());
    EXPECT_TRUE(parseScript("expect inbox Dock 'key-down Tab cmd shift' 'middle-drag 3 -4'")
                    .errors.empty());
}

TEST(ParseScript, SetupGoesBeforeLaunchAndLaunchComesOnce) {
    const Script script = parseScript("launch\napp Mail\nscreen 800 600\nlaunch\nstart Mail\n");
    ASSERT_EQ(script.errors.size(), 3u);
    EXPECT_EQ(script.errors[0].line, 2);
    EXPECT_EQ(script.errors[0].message,
              "`app` sets up the desktop: it goes before `launch` (line 1)");
    EXPECT_EQ(script.errors[1].line, 3);
    EXPECT_EQ(script.errors[2].line, 4);
    EXPECT_EQ(script.errors[2].message, "the agent already launched on line 1");
}

TEST(AxErrorForName, TakesNamesWithOrWithoutPrefixAndNumbers) {
    EXPECT_EQ(axErrorForName("kAXErrorCannotComplete"), platform::kAXErrorCannotComplete);
    EXPECT_EQ(axErrorForName("CannotComplete"), platform::kAXErrorCannotComplete);
    EXPECT_EQ(axErrorForName("-25212"), platform::kAXErrorNoValue);
    EXPECT_EQ(axErrorForName("0"), std::nullopt);
    EXPECT_EQ(axErrorForName("kAXError"), std::nullopt);
    EXPECT_EQ(axErrorForName("cannotcomplete"), std::nullopt);
}

}  // namespace
}  // namespace vantor::tools
