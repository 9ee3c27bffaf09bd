#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/Agent.h"
#include "app/App.h"
#include "platform/LayoutFile.h"
#include "platform/sim/SimDesktop.h"

namespace vantor {
namespace {

using platform::AppEvent;
using platform::AppEventType;
using sim::SimDesktop;

constexpr std::string_view kEditLayout = R"({"window": {
  "contentRect": [100, 100, 300, 80], "title": "Edit",
  "contentView": {"subviews": [{"class": "NSTextField", "identifier": "name",
    "frame": [10, 10, 200, 24], "stringValue": "hello world", "editable": true}]}}})";

class NoActions : public platform::ActionTarget {
public:
    void performAction(std::string_view, platform::View*) override {}
};

// The agent active with a key window whose editable field holds "hello world".
class AppTest : public ::testing::Test {
protected:
    AppTest() {
        desktop.addApplication("Safari");
        agent = std::make_unique<Agent>(desktop.platform());
        std::string error;
        layout =
            desktop.ui().build("Edit", *platform::parseLayout(kEditLayout, "Edit", error), owner);
        desktop.ui().activateIgnoringOtherApps(true);
        layout.window->makeKeyAndOrderFront();
        field = dynamic_cast<sim::SimView*>(layout.viewWithIdentifier("name"));
    }

    // Holds the modifier keys, taps `key`, then lets the modifiers go.
    void press(std::string_view key, std::initializer_list<std::string_view> modifiers) {
        for (std::string_view modifier : modifiers)
            desktop.keyDown(modifier);
        desktop.tapKey(key);
        for (std::string_view modifier : modifiers)
            desktop.keyUp(modifier);
    }
    void command(std::string_view key) { press(key, {"LeftCommand"}); }

    // The characters of the events of that type that reached the ordinary dispatch.
    std::vector<std::string> dispatched(AppEventType type = AppEventType::KeyDown) {
        std::vector<std::string> characters;
        for (const AppEvent& event : desktop.ui().dispatched()) {
            if (event.type == type) characters.push_back(event.charactersIgnoringModifiers);
        }
        return characters;
    }

    SimDesktop desktop;
    std::unique_ptr<Agent> agent;
    NoActions owner;
    platform::LoadedLayout layout;
    sim::SimView* field = nullptr;
};

TEST_F(AppTest, SelectAllCopyAndPasteEditTheFocusedFieldAndAreConsumed) {
    ASSERT_EQ(desktop.ui().firstResponder(), field);
    command("A");
    EXPECT_EQ(field->selectedText(), "hello world");
    command("C");
    EXPECT_EQ(desktop.ui().pasteboard(), "hello world");
    field->setSelectedRange(0, 5);
    // The key-up of V also passes with Command: pasting once shows key-ups are not looked up.
    command("V");
    EXPECT_EQ(field->stringValue(), "hello world world");
    EXPECT_TRUE(dispatched().empty());
    EXPECT_EQ(dispatched(AppEventType::KeyUp), (std::vector<std::string>{"a", "c", "v"}));
}

TEST_F(AppTest, CutThenUndoThenRedoOneStep) {
    field->setSelectedRange(5, 6);
    command("X");
    EXPECT_EQ(field->stringValue(), "hello");
    EXPECT_EQ(desktop.ui().pasteboard(), " world");
    command("Z");
    EXPECT_EQ(field->stringValue(), "hello world");
    EXPECT_EQ(field->selectedText(), " world");
    press("Z", {"LeftCommand", "LeftShift"});
    EXPECT_EQ(field->stringValue(), "hello");
    EXPECT_TRUE(dispatched().empty());
}

TEST_F(AppTest, OtherKeysAndExtraModifiersTakeTheOrdinaryPath) {
    field->setSelectedRange(0, 5);
    press("X", {"LeftCommand", "LeftShift"});  // characters "X": no entry
    command("Q");
    command("W");
    press("C", {"LeftCommand", "LeftOption"});
    // Caps Lock is not a key of the simulated keyboard: the event carries its flag.
    desktop.runOnMainThread([&] {
        platform::TapEvent capsLockC;
        capsLockC.type = platform::EventType::KeyDown;
        capsLockC.keyCode = *sim::keyCodeForName("C");
        capsLockC.flags = platform::kEventFlagMaskCommand | platform::kEventFlagMaskAlphaShift;
        desktop.events().injectHardware(capsLockC, false);
    });
    EXPECT_EQ(field->selectedText(), "hello");
    EXPECT_EQ(desktop.ui().pasteboard(), "");
    // Without Command, "a" and "Z" (select all and redo with it) are typed.
    desktop.tapKey("A");
    press("Z", {"LeftShift"});
    EXPECT_EQ(field->stringValue(), "aZ world");
    EXPECT_EQ(dispatched(), (std::vector<std::string>{"X", "q", "w", "c", "c", "a", "Z"}));
}

TEST_F(AppTest, CommandCWithoutAFocusedFieldPassesOn) {
    ASSERT_TRUE(desktop.ui().keyWindow()->makeFirstResponder(nullptr));
    field->setSelectedRange(0, 5);
    EXPECT_FALSE(agent->app().sendCmd("copy:"));
    command("C");
    EXPECT_EQ(dispatched(), std::vector<std::string>{"c"});
    EXPECT_EQ(desktop.ui().pasteboard(), "");
}

}  // namespace
}  // namespace vantor
