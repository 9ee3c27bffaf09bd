#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/ScenarioParser.h"

namespace vantor::tools {
namespace {

using Words = std::vector<std::string>;

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

TEST(ParseScript, ReadsEachCommandWithItsArguments) {
    const Script script = parseScript(
        "# setup\n"
        "screen 1440 900 scale 2\n"
        "app Safari path=/Apps/S.app bundle=com.apple.Safari\n"
        "\n"
        "launch\n"
        "wait 0.25   # a quarter second\n"
        "mouse drag middle 10 -20\n"
        "fail ax AXPosition kAXErrorCannotComplete always\n"
        "expect inbox Safari 'key-down A cmd' \"key-up A\"\n");
    ASSERT_TRUE(script.errors.empty()) << script.errors[0].message;
    ASSERT_EQ(script.commands.size(), 7u);

    const Command& screen = script.commands[0];
    EXPECT_EQ(screen.op, Op::Screen);
    EXPECT_EQ(screen.line, 2);
    EXPECT_EQ(screen.numbers, (std::vector<double>{1440, 900, 0, 0, 2}));
    EXPECT_EQ(commandOf("screen 800 600 scale 1.5 at -800 -20").numbers,
              (std::vector<double>{800, 600, -800, -20, 1.5}));

    const Command& app = script.commands[1];
    EXPECT_EQ(app.args, Words{"Safari"});
    EXPECT_EQ(app.path, "/Apps/S.app");
    EXPECT_EQ(app.bundle, "com.apple.Safari");

    const Command& wait = script.commands[3];
    EXPECT_EQ(wait.line, 6);
    EXPECT_EQ(wait.text, "wait 0.25");
    EXPECT_EQ(wait.numbers, std::vector<double>{0.25});

    const Command& drag = script.commands[4];
    EXPECT_EQ(drag.op, Op::MouseDrag);
    EXPECT_EQ(drag.button, platform::MouseButton::Center);
    EXPECT_EQ(drag.numbers, (std::vector<double>{10, -20}));

    const Command& fail = script.commands[5];
    EXPECT_EQ(fail.op, Op::FailAx);
    EXPECT_EQ(fail.args[0], "AXPosition");
    EXPECT_EQ(fail.error, platform::kAXErrorCannotComplete);
    EXPECT_EQ(fail.count, kAlways);

    const Command& inbox = script.commands.back();
    EXPECT_EQ(inbox.expect, Expect::Inbox);
    EXPECT_EQ(inbox.args, (Words{"Safari", "key-down A cmd", "key-up A"}));
}

TEST(ParseScript, ReadsTheExpectForms) {
    EXPECT_TRUE(commandOf("expect showing yes").yes);
    EXPECT_FALSE(commandOf("expect overlay hidden").yes);
    EXPECT_EQ(commandOf("expect hidden Mail no").args, (Words{"Mail", "no"}));
    EXPECT_EQ(commandOf("expect hint Terminal#2 TT").args, (Words{"Terminal#2", "TT"}));
    EXPECT_EQ(commandOf("expect hint 微信 W").expect, Expect::Hint);
    EXPECT_EQ(commandOf("expect logcount 'Fail AX' 3").numbers, std::vector<double>{3});
    EXPECT_EQ(commandOf("expect received Dock 'key-down'").expect, Expect::Received);
    EXPECT_EQ(commandOf("expect inbox Mail").args, Words{"Mail"});
    EXPECT_EQ(commandOf("expect window AXAlert open").expect, Expect::Window);
    EXPECT_EQ(commandOf("expect active Vantor").args, Words{"Vantor"});
    EXPECT_EQ(commandOf("fail ax observer -25204 3").count, 3);
    EXPECT_EQ(commandOf("fail ax AXTitle NoValue").error, platform::kAXErrorNoValue);
    EXPECT_EQ(commandOf("type mm").args, Words{"mm"});
}

TEST(ParseScript, NamesTheLineAndWhatIsWrong) {
    const Script script = parseScript("app Safari\nlaunch\n\ntap Tabb\nwait\n");
    ASSERT_EQ(script.errors.size(), 2u);
    EXPECT_EQ(script.errors[0].line, 4);
    EXPECT_EQ(script.errors[0].message, "\"Tabb\" is not a KEY name");
    EXPECT_EQ(script.errors[1].line, 5);
    EXPECT_EQ(script.errors[1].message, "usage: wait SECONDS");
}

TEST(ParseScript, RejectsMalformedCommands) {
    EXPECT_EQ(errorOf("jump 3"), "unknown command \"jump\"");
    EXPECT_EQ(errorOf("launch now"), "`launch` takes no arguments");
    EXPECT_EQ(errorOf("screen 1920"), "usage: screen W H [at X Y] [scale S]");
    EXPECT_EQ(errorOf("screen 800 600 at -800"),
              "unexpected \"at\"; usage: screen W H [at X Y] [scale S]");
    EXPECT_EQ(errorOf("screen 800 600 scale 0"), "S must be above 0, not 0");
    EXPECT_EQ(errorOf("switcher-screen 0"), "N counts screens from 1");
    EXPECT_EQ(errorOf("screen 0 1080"), "W must be above 0, not 0");
    EXPECT_EQ(errorOf("wait -1"), "SECONDS must not be negative (-1)");
    EXPECT_EQ(errorOf("wait 1s"), "SECONDS must be a number, not \"1s\"");
    EXPECT_EQ(errorOf("wait nan"), "SECONDS must be a number, not \"nan\"");
    EXPECT_EQ(errorOf("type 'm\tm'"),
              "type takes printable ASCII characters; use tap for other keys");
    EXPECT_EQ(errorOf("layout colemak"),
              "\"colemak\" is not a layout (us, azerty, qwertz, dvorak)");
    EXPECT_EQ(errorOf("mouse down left 10"), "usage: mouse down BUTTON X Y");
    EXPECT_EQ(errorOf("mouse up wheel 1 2"), "BUTTON is left, right or middle, not \"wheel\"");
    EXPECT_EQ(errorOf("mouse click left 1 2"),
              "\"click\" is not a mouse action (move, down, up, drag)");
    EXPECT_EQ(errorOf("app Safari bundle=x bundle=y"),
              "unexpected \"bundle=y\"; usage: app NAME [path=P] [bundle=ID]");
    EXPECT_EQ(errorOf("start Mail bundle=x"),
              "unexpected \"bundle=x\"; usage: start NAME [path=P]");
    EXPECT_EQ(errorOf("app Dock"), "\"Dock\" is taken: it names the Dock");
    EXPECT_NE(errorOf("app Terminal#2").find("may not end in #N"), std::string::npos);
    EXPECT_NE(errorOf("quit Terminal#1").find("the first of a name is the name itself"),
              std::string::npos);
    EXPECT_EQ(errorOf("fail ax AXTitle Oops"),
              "\"Oops\" is not an Accessibility error (e.g. kAXErrorCannotComplete or -25204)");
    EXPECT_EQ(errorOf("fail ax AXTitle Failure 0"),
              "COUNT must be a whole number above 0 or \"always\", not \"0\"");
    EXPECT_EQ(errorOf("fail disk"),
              "usage: fail launch NAME, fail ax WHAT ERROR [COUNT|always], or fail login-item");
    EXPECT_EQ(errorOf("tap-disabled never"), "expected timeout or user, not \"never\"");
    EXPECT_EQ(errorOf("hang dock 1"), "usage: hang ax SECONDS");
    EXPECT_EQ(errorOf("hang ax -1"), "SECONDS must not be negative (-1)");
    EXPECT_EQ(errorOf("update 99 ok"), "STATUS must be an HTTP status (100 to 599), not \"99\"");
}

TEST(ParseScript, RejectsMalformedExpectations) {
    EXPECT_EQ(errorOf("expect"), "expect what?");
    EXPECT_EQ(errorOf("expect weather sunny"), "unknown expect form \"weather\"");
    EXPECT_EQ(errorOf("expect showing maybe"), "expected yes or no, not \"maybe\"");
    EXPECT_EQ(errorOf("expect overlay yes"), "expected visible or hidden, not \"yes\"");
    EXPECT_EQ(errorOf("expect front"), "usage: expect front NAME");
    EXPECT_EQ(errorOf("expect ax-calls some"),
              "N must be a whole number of 0 or more, not \"some\"");
    EXPECT_EQ(errorOf("expect hint Mail"), "usage: expect hint NAME KEY");
    EXPECT_EQ(errorOf("expect hint Mail MN"), "\"MN\" is not a hint key (one character, repeated)");
    EXPECT_EQ(errorOf("expect logcount x -1"), "N must be a whole number of 0 or more, not \"-1\"");
    EXPECT_EQ(errorOf("expect window Finder open"),
              "WINDOW is PrefWindow, NewVersionWindow or AXAlert, not \"Finder\"");
    EXPECT_EQ(errorOf("expect url"), "usage: expect url URL COUNT");
}

TEST(ParseScript, ChecksPrintedEventForms) {
    EXPECT_EQ(errorOf("expect inbox Mail 'key-down a'"), "\"key-down a\": the key prints as A");
    EXPECT_EQ(errorOf("expect inbox Mail 'key-down A shift cmd'"),
              "\"key-down A shift cmd\": \"cmd\" is not a modifier in its place (cmd shift opt "
              "ctrl fn, in that order)");
    EXPECT_EQ(errorOf("expect inbox Mail 'flags A'"),
              "\"flags A\": flags events come from modifier keys only");
    EXPECT_EQ(errorOf("expect inbox Mail 'key-down'"), "\"key-down\": the KEY is missing");
    EXPECT_EQ(errorOf("expect inbox Mail 'left-up 700'"), "\"left-up 700\": X Y are missing");
    EXPECT_EQ(errorOf("expect received Mail 'move 1 2'"),
              "\"move 1 2\": pointer moves are not recorded");
    EXPECT_EQ(errorOf("expect received Mail 'press A'"),
              "\"press A\": \"press\" is not an event (key-down, key-up, flags, left-down, ...)");
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

TEST(ParseScript, SplittingErrorsNameTheirLine) {
    const Script script = parseScript("launch\nexpect log \"unclosed\n");
    ASSERT_EQ(script.errors.size(), 1u);
    EXPECT_EQ(script.errors[0].line, 2);
    EXPECT_EQ(script.errors[0].message, "a double quote is not closed");
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
