// The simulated Dock's switcher, for what the scenarios do not pin: its timing and geometry,
// the notifications the agent scans on, and what a quit or a killed Dock does to the list.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "SimProbes.h"
#include "platform/sim/SimDesktop.h"

namespace vantor::sim {
namespace {

using platform::AXAttributeValue;
using platform::Rect;
using testing::DockObserverProbe;
using testing::holdCommandTab;
using testing::listElement;
using Strings = std::vector<std::string>;

class SimDockTest : public ::testing::Test {
protected:
    SimDockTest() {
        for (const char* name : {"Safari", "Mail", "Notes"})
            desktop.addApplication(name);
    }
    SimDesktop desktop;
};

TEST_F(SimDockTest, CommandTabOpensTheListAfterFiftyMillisecondsAndCommandReleaseSwitches) {
    DockObserverProbe probe(desktop);
    desktop.keyDown("LeftCommand");
    desktop.keyDown("Tab");
    desktop.keyUp("Tab");
    desktop.runUntil(0.049999999);
    EXPECT_FALSE(desktop.switcherShowing());
    desktop.runUntil(0.05);
    ASSERT_TRUE(desktop.switcherShowing());

    // Three icons, 128 points with 16 of padding, centred on 1920 x 1080.
    EXPECT_EQ(desktop.listFrame(), (Rect{{736, 460}, {448, 160}}));
    EXPECT_EQ(desktop.iconFrame("Notes"), (Rect{{1040, 476}, {128, 128}}));
    EXPECT_EQ(desktop.highlighted(), "Mail");

    // The agent hears of the new list 1 ms after it opened, with the list's element.
    desktop.runFor(0.001);
    ASSERT_EQ(probe.names(), Strings{"AXCreated"});
    EXPECT_EQ(probe.received[0].time, 51 * kMillisecond);
    EXPECT_TRUE(probe.received[0].element == listElement(desktop));

    desktop.keyUp("LeftCommand");
    EXPECT_EQ(desktop.front(), "Mail");
    EXPECT_EQ(desktop.applicationOrder(), (Strings{"Mail", "Safari", "Notes"}));
    desktop.runFor(0.001);
    EXPECT_EQ(probe.names(), (Strings{"AXCreated", "AXUIElementDestroyed"}));
    EXPECT_TRUE(probe.received[1].element == probe.received[0].element);
}

TEST_F(SimDockTest, TabWrapsAndEachMovePostsOneSelectionChange) {
    DockObserverProbe probe(desktop);
    holdCommandTab(desktop);
    desktop.tapKey("Tab");
    desktop.tapKey("Tab");
    EXPECT_EQ(desktop.highlighted(), "Safari");
    desktop.keyDown("LeftShift");
    desktop.tapKey("Tab");
    EXPECT_EQ(desktop.highlighted(), "Notes");
    desktop.keyUp("LeftShift");
    desktop.tapKey("Up");  // does nothing
    desktop.runFor(0.01);
    EXPECT_EQ(probe.names(), (Strings{"AXCreated", "AXSelectedChildrenChanged",
                                      "AXSelectedChildrenChanged", "AXSelectedChildrenChanged"}));
}

TEST_F(SimDockTest, CommandQQuitsTheHighlightedEntryAndTheHighlightStaysInPlace) {
    desktop.addApplication("Music");
    DockObserverProbe probe(desktop);
    holdCommandTab(desktop);
    desktop.runFor(0.01);
    probe.received.clear();

    desktop.keyDown("Q");  // Mail, the second entry, quits
    EXPECT_EQ(desktop.switcherEntries(), (Strings{"Safari", "Notes", "Music"}));
    EXPECT_EQ(desktop.highlighted(), "Notes") << "the same position";
    EXPECT_EQ(desktop.listFrame(), (Rect{{736, 460}, {448, 160}}));
    desktop.runFor(0.001);
    EXPECT_EQ(probe.names(), Strings{"AXUIElementDestroyed"}) << "no selection change";
    EXPECT_FALSE(probe.received[0].element == listElement(desktop));

    // An auto-repeat of the held Q quits again; the highlight past the end goes to the last.
    desktop.tapKey("Tab");
    desktop.keyDown("Q");
    EXPECT_EQ(desktop.highlighted(), "Notes");
    desktop.runFor(0.375);
    EXPECT_EQ(desktop.switcherEntries(), Strings{"Safari"});

    // An application that quits by itself while the list shows leaves it at once; the
    // highlight stays on its application.
    desktop.keyUp("Q");
    desktop.keyUp("LeftCommand");
    for (const char* name : {"Maps", "Books", "Films"})
        desktop.addApplication(name);
    holdCommandTab(desktop);
    desktop.tapKey("Tab");
    desktop.quitApplication("Maps");
    EXPECT_EQ(desktop.highlighted(), "Books");
}

TEST_F(SimDockTest, EntriesStayWhileShowingAndNewApplicationsJoinAtTheNextOpening) {
    holdCommandTab(desktop);
    desktop.startApplication("Maps");
    desktop.keyDown("H");  // hides Mail; it stays in the list
    EXPECT_EQ(desktop.switcherEntries(), (Strings{"Safari", "Mail", "Notes"}));
    desktop.keyUp("H");
    desktop.tapKey("Escape");
    desktop.keyUp("LeftCommand");
    holdCommandTab(desktop);
    EXPECT_EQ(desktop.switcherEntries(), (Strings{"Maps", "Safari", "Mail", "Notes"}));
    // Activating through the workspace does not close the switcher, and unhides.
    EXPECT_TRUE(desktop.activateApplication("Mail"));
    EXPECT_TRUE(desktop.switcherShowing());
    EXPECT_FALSE(desktop.hidden("Mail"));
}

TEST_F(SimDockTest, IconsShrinkToFitAWideRow) {
    desktop.setScreenSize(1280, 800);
    for (int i = 0; i < 9; ++i)
        desktop.addApplication("App");
    holdCommandTab(desktop);
    // 12 icons: 12*128 + 13*16 = 1744 > 1280 - 64, so s = floor((1216 - 208) / 12) = 84.
    EXPECT_EQ(desktop.listFrame(), (Rect{{32, 342}, {12 * 84 + 13 * 16, 116}}));
    EXPECT_EQ(desktop.iconFrame("App#9"), (Rect{{32 + 16 + 11 * 100, 358}, {84, 84}}));
}

TEST_F(SimDockTest, AKilledDockIsReportedOnceToItsTerminationObserver) {
    struct Watcher final : platform::KeyValueObserver {
        void observeValueForKeyPath(std::string_view keyPath, const void* /*object*/,
                                    const platform::KeyValueChange& change,
                                    const void* context) override {
            told.push_back(std::string(keyPath) + " " +
                           (change.newBool.value_or(false) ? "1" : "0"));
            contexts.push_back(context);
        }
        Strings told;
        std::vector<const void*> contexts;
    } watcher;
    const int context = 0;
    desktop.platform().workspace.addTerminatedObserver(desktop.dockPid(), watcher, &context);
    holdCommandTab(desktop);
    const platform::AXElement list = listElement(desktop);

    desktop.killDock();
    AXAttributeValue value;
    EXPECT_EQ(desktop.accessibility().copyAttributeValue(list, "AXSize", value),
              platform::kAXErrorInvalidUIElement);
    desktop.runFor(0.001);
    EXPECT_EQ(watcher.told, Strings{"terminated 1"});
    EXPECT_EQ(watcher.contexts, std::vector<const void*>{&context});
    desktop.keyUp("LeftCommand");
    desktop.startDock();
    desktop.runFor(0.01);
    EXPECT_EQ(watcher.told.size(), 1u) << "told once";
}

}  // namespace
}  // namespace vantor::sim
