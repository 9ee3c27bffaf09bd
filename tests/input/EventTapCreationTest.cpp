// Installing the event tap in the running agent when the system refuses it at first.
#include <gtest/gtest.h>

#include "app/Agent.h"
#include "platform/sim/SimDesktop.h"

namespace vantor {
namespace {

using sim::SimDesktop;

// Not the first start (no preferences window takes the keys), and the trigger modifier opens
// the switcher with a single press. The behaviours of the tap on the simulated desktop are
// scenario files (tests/scenarios); what the scenario language cannot set up stays here.
void secondStartWithSinglePress(SimDesktop& desktop) {
    desktop.settings().setString("Current Version", "1.0");
    desktop.settings().setBool("PressTwiceToTrigger", false);
}

TEST(EventTapCreationTest, AFailedTapCreationIsLoggedAndRetriedEverySecond) {
    SimDesktop desktop;
    desktop.addApplication("Safari");
    desktop.addApplication("Mail");
    desktop.failTapCreation(2);
    secondStartWithSinglePress(desktop);
    Agent agent(desktop.platform());
    agent.applicationDidFinishLaunching();
    EXPECT_EQ(desktop.log().count("Fail CGEventTapCreate"), 1u);
    desktop.runFor(1.0);
    EXPECT_EQ(desktop.log().count("Fail CGEventTapCreate"), 1u);
    desktop.runFor(0.001);
    EXPECT_EQ(desktop.log().count("Fail CGEventTapCreate"), 2u);
    desktop.keyDown("LeftOption");
    desktop.keyUp("LeftOption");
    desktop.runFor(0.1);
    EXPECT_FALSE(desktop.switcherShowing());

    desktop.runFor(1.0);
    desktop.keyDown("LeftOption");
    desktop.keyUp("LeftOption");
    desktop.runFor(0.1);
    EXPECT_TRUE(desktop.switcherShowing());
    desktop.runFor(5);
    EXPECT_EQ(desktop.log().count("Fail CGEventTapCreate"), 2u);
}

// The middle button with its trigger on, the switcher closed.

}  // namespace
}  // namespace vantor
