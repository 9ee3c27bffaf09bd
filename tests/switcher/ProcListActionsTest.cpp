#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/SimProbes.h"
#include "platform/sim/SimDesktop.h"
#include "switcher/ProcList.h"

namespace vantor {
namespace {

using platform::EventType;
using platform::Point;
using sim::SimDesktop;
using Strings = std::vector<std::string>;

std::string keyOf(const ProcList& model, const std::string& title) {
    for (const auto& [key, item] : model.items())
        if (item->title() == title) return key;
    return {};
}

class ProcListActionsTest : public ::testing::Test {
protected:
    // On a screen whose height leaves the list half a point off centre, the pointer still goes
    // to the icon's true centre in Accessibility coordinates.
    ProcListActionsTest() {
        desktop.setScreenSize(1920, 801);
        for (const char* name : {"Safari", "Mail", "Maps", "Notes"})
            desktop.addApplication(name);
        model = std::make_unique<ProcList>(desktop.platform());
        sim::testing::holdCommandTab(desktop);
        desktop.runFor(0.002);
        probe = std::make_unique<sim::testing::TapProbe>(desktop);
    }

    // The agent's own events as its tap sees them come back from the HID level.
    std::vector<platform::TapEvent> posted() {
        desktop.runFor(0.002);
        std::vector<platform::TapEvent> events;
        for (const auto& seen : probe->seen)
            if (seen.event.sourceUserData == kEventMarkerUserData) events.push_back(seen.event);
        return events;
    }

    SimDesktop desktop;
    std::unique_ptr<ProcList> model;
    std::unique_ptr<sim::testing::TapProbe> probe;
};

TEST_F(ProcListActionsTest, SelectMovesThePointerOntoTheIconOfThatExactKey) {
    // Mail and Maps share M: the first new entry gets MM.
    ASSERT_EQ(keyOf(*model, "Mail/0"), "MM");
    model->selectItemByKey("MM");
    const auto events = posted();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, EventType::MouseMoved);
    const platform::Rect icon = *desktop.iconFrame("Mail");
    EXPECT_EQ(events[0].location, (Point{icon.origin.x + 64, icon.origin.y + 64}));
    EXPECT_EQ(desktop.highlighted(), "Mail");

    model->selectItemByKey("Q");
    model->selectItemByKey("MMM");
    EXPECT_EQ(posted().size(), 1u);
    EXPECT_FALSE(model->activateItemForKey("Q"));
}

TEST_F(ProcListActionsTest, QuitByKeyMovesFirstThenPostsCommandQWithoutKeyUp) {
    desktop.keyDown("LeftShift");  // whatever the user holds, the press carries Command only
    const platform::Rect icon = *desktop.iconFrame("Notes");
    model->quitItemForKey("N");
    const auto events = posted();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].type, EventType::MouseMoved);
    EXPECT_EQ(events[0].location, (Point{icon.origin.x + 64, icon.origin.y + 64}));
    EXPECT_EQ(events[1].type, EventType::KeyDown);
    EXPECT_EQ(events[1].keyCode, 12);
    EXPECT_EQ(events[1].flags, platform::kEventFlagMaskCommand);
    desktop.runFor(0.01);
    EXPECT_FALSE(desktop.running("Notes"));
    EXPECT_TRUE(desktop.running("Safari"));
}

TEST_F(ProcListActionsTest, HideAndActivateTheHighlightedApplication) {
    // The highlight starts on the second icon; Command-H hides it.
    model->hideSelectedItem();
    desktop.runFor(0.002);
    EXPECT_TRUE(desktop.hidden("Mail"));
    // Activation goes through the workspace, which leaves the switcher up; the press of the
    // icon when that fails is played by a scenario.
    model->activateSelectedItem();
    desktop.runFor(0.002);
    EXPECT_EQ(desktop.front(), "Mail");
    EXPECT_TRUE(desktop.switcherShowing());
}

TEST_F(ProcListActionsTest, ActivateSelectedDoesNothingWhenTheHighlightCannotBeRead) {
    desktop.failAx("AXSelectedChildren", platform::kAXErrorCannotComplete);
    model->activateSelectedItem();
    desktop.failAx("AXPosition", platform::kAXErrorCannotComplete);
    model->activateSelectedItem();
    desktop.runFor(0.002);
    EXPECT_EQ(desktop.front(), "Safari");
    EXPECT_TRUE(desktop.switcherShowing());
}

// The first activation of a name finds the application and remembers its bundle; later ones open
// that bundle and bring its windows forward, and a bundle that moved is found and remembered
// again.
TEST_F(ProcListActionsTest, ActivateByTitleRemembersTheBundleAndReplacesAMovedOne) {
    EXPECT_TRUE(model->activateByTitle("Maps/0"));
    EXPECT_TRUE(model->activateByTitle("Notes/0"));
    EXPECT_TRUE(model->activateByTitle("Maps/1"));
    EXPECT_EQ(desktop.front(), "Maps");
    const auto& trace = desktop.trace();
    EXPECT_EQ(std::count_if(trace.begin(), trace.end(),
                            [](const std::string& line) {
                                return line.find("activateWithOptions Maps 3") != line.npos;
                            }),
              1);

    desktop.workspace().moveBundle(*desktop.pidOf("Maps"), "/Applications/Old/Maps.app");
    EXPECT_TRUE(model->activateByTitle("Maps/0"));
    EXPECT_EQ(model->appNameMap().at("Maps"), "/Applications/Old/Maps.app");
}

TEST(ProcListActivateByTitle, MatchesNamesExactlyAndByBundleFileName) {
    SimDesktop desktop;
    desktop.addApplication("Safari");
    desktop.addApplication("Post Office", "/Applications/Post.app");
    desktop.addApplication("AC/DC");
    desktop.addApplication("Twin", "/Applications/Twin A.app");
    desktop.addApplication("Twin", "/Applications/Twin B.app");
    ProcList model(desktop.platform());

    EXPECT_FALSE(model.activateByTitle("Safari"));    // no slash: the empty name
    EXPECT_FALSE(model.activateByTitle("safari/0"));  // letter case differs
    EXPECT_TRUE(model.activateByTitle("Post/0"));     // the bundle's file name
    EXPECT_EQ(desktop.front(), "Post Office");
    EXPECT_TRUE(model.activateByTitle("AC/DC/0"));  // only the occurrence number goes
    EXPECT_EQ(desktop.front(), "AC/DC");

    // Two match: the first in the workspace's order that opens wins and is cached.
    desktop.workspace().failLaunch(*desktop.pidOf("Twin"));
    EXPECT_TRUE(model.activateByTitle("Twin/1"));
    EXPECT_EQ(desktop.front(), "Twin#2");
    EXPECT_EQ(model.appNameMap().at("Twin"), "/Applications/Twin B.app");
    desktop.workspace().failLaunch(*desktop.pidOf("Twin#2"));
    EXPECT_FALSE(model.activateByTitle("Twin/0"));
}

}  // namespace
}  // namespace vantor
