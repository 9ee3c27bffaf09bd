#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/LayoutFile.h"
#include "platform/sim/SimDesktop.h"

namespace vantor::sim {
namespace {

// A label, then two editable fields.
constexpr std::string_view kTwoFields = R"({"window": {
  "contentRect": [100, 100, 300, 120], "title": "Fields",
  "contentView": {"subviews": [
    {"class": "NSTextField", "identifier": "label", "frame": [10, 80, 200, 24]},
    {"class": "NSTextField", "identifier": "first", "frame": [10, 50, 200, 24],
     "stringValue": "ab", "editable": true},
    {"class": "NSTextView", "identifier": "second", "frame": [10, 10, 200, 24],
     "editable": true}]}}})";

class NoActions : public platform::ActionTarget {
public:
    void performAction(std::string_view, platform::View*) override {}
};

class SimTextEditingTest : public ::testing::Test {
protected:
    SimTextEditingTest() {
        std::string error;
        layout = desktop.ui().build("Fields", *platform::parseLayout(kTwoFields, "Fields", error),
                                    owner);
        window = dynamic_cast<SimWindow*>(layout.window.get());
        first = dynamic_cast<SimView*>(layout.viewWithIdentifier("first"));
        second = dynamic_cast<SimView*>(layout.viewWithIdentifier("second"));
    }

    SimDesktop desktop;
    NoActions owner;
    platform::LoadedLayout layout;
    SimWindow* window = nullptr;
    SimView* first = nullptr;
    SimView* second = nullptr;
};

TEST_F(SimTextEditingTest, BecomingKeyFocusesTheFirstEditableFieldAndOnlyEditableOnes) {
    EXPECT_EQ(window->firstResponder(), nullptr);
    window->makeKeyAndOrderFront();
    EXPECT_EQ(window->firstResponder(), first);
    EXPECT_FALSE(
        window->makeFirstResponder(dynamic_cast<SimView*>(layout.viewWithIdentifier("label"))));
    EXPECT_TRUE(window->makeFirstResponder(second));
    // A field taken out of the window is no longer its first responder.
    second->removeFromSuperview();
    EXPECT_EQ(window->firstResponder(), nullptr);
}

// Cut, undo and redo through the agent's Command keys are in AppTest; here what it misses.
TEST_F(SimTextEditingTest, UndoKeepsOneStepAndADisabledFieldTakesNoCommand) {
    std::string pasteboard = "12";
    first->setSelectedRange(1, 1);
    EXPECT_TRUE(first->tryToPerform("paste:", pasteboard));  // a12
    first->insertText("x");                                  // a12x
    EXPECT_TRUE(first->tryToPerform("undo:", pasteboard));
    EXPECT_TRUE(first->tryToPerform("undo:", pasteboard));  // nothing more to undo
    EXPECT_EQ(first->stringValue(), "a12");
    EXPECT_FALSE(first->tryToPerform("delete:", pasteboard));
    first->setEnabled(false);
    EXPECT_FALSE(first->tryToPerform("selectAll:", pasteboard));
}

}  // namespace
}  // namespace vantor::sim
