#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "SimProbes.h"
#include "platform/sim/SimDesktop.h"

namespace vantor::sim {
namespace {

using platform::AXAttributeValue;
using platform::AXElement;
using platform::Point;
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
    EXPECT_TRUE(desktop.switcherOpening());
    desktop.runUntil(0.049999999);
    EXPECT_FALSE(desktop.switcherShowing());
    desktop.runUntil(0.05);
    ASSERT_TRUE(desktop.switcherShowing());

    // Three icons, 128 points with 16 of padding, centred on 1920 x 1080.
    EXPECT_EQ(desktop.listFrame(), (Rect{{736, 460}, {448, 160}}));
    EXPECT_EQ(desktop.iconFrame("Safari"), (Rect{{752, 476}, {128, 128}}));
    EXPECT_EQ(desktop.iconFrame("Notes"), (Rect{{1040, 476}, {128, 128}}));
    EXPECT_EQ(desktop.switcherEntries(), (Strings{"Safari", "Mail", "Notes"}));
    EXPECT_EQ(desktop.highlighted(), "Mail");

    // The agent hears of the new list 1 ms after it opened, with the list's element.
    desktop.runFor(0.001);
    ASSERT_EQ(probe.names(), Strings{"AXCreated"});
    EXPECT_EQ(probe.received[0].time, 51 * kMillisecond);
    EXPECT_TRUE(probe.received[0].element == listElement(desktop));

    desktop.keyUp("LeftCommand");
    EXPECT_FALSE(desktop.switcherShowing());
    EXPECT_EQ(desktop.front(), "Mail");
    EXPECT_EQ(desktop.applicationOrder(), (Strings{"Mail", "Safari", "Notes"}));
    desktop.runFor(0.001);
    EXPECT_EQ(probe.names(), (Strings{"AXCreated", "AXUIElementDestroyed"}));
    EXPECT_TRUE(probe.received[1].element == probe.received[0].element);
    // The Dock got the Command-Tab and the Command release, no application did.
    EXPECT_EQ(desktop.received("Dock"),
              (Strings{"key-down Tab cmd", "key-up Tab cmd", "flags LeftCommand"}));
    EXPECT_TRUE(desktop.received("Safari").size() == 1 &&
                desktop.received("Safari")[0] == "flags LeftCommand cmd");
}

TEST_F(SimDockTest, QuickCommandTabSwitchesAsSoonAsTheListHasOpened) {
    DockObserverProbe probe(desktop);
    desktop.keyDown("LeftCommand");
    desktop.keyDown("Tab");
    desktop.keyUp("Tab");
    desktop.keyDown("Tab");  // absorbed into the opening
    desktop.keyUp("Tab");
    desktop.keyUp("LeftCommand");
    desktop.runFor(0.05);
    EXPECT_FALSE(desktop.switcherShowing());
    EXPECT_EQ(desktop.front(), "Mail");
    desktop.runFor(0.001);
    EXPECT_EQ(probe.names(), (Strings{"AXCreated", "AXUIElementDestroyed"}));
}

TEST_F(SimDockTest, TabAndArrowsMoveTheHighlightWithWrapping) {
    DockObserverProbe probe(desktop);
    holdCommandTab(desktop);
    desktop.tapKey("Tab");
    EXPECT_EQ(desktop.highlighted(), "Notes");
    desktop.tapKey("Tab");
    EXPECT_EQ(desktop.highlighted(), "Safari");
    desktop.keyDown("LeftShift");
    desktop.tapKey("Tab");
    EXPECT_EQ(desktop.highlighted(), "Notes");
    desktop.keyUp("LeftShift");
    desktop.tapKey("Left");
    EXPECT_EQ(desktop.highlighted(), "Mail");
    desktop.tapKey("Right");
    EXPECT_EQ(desktop.highlighted(), "Notes");
    // Up, Down and keys without Command do nothing.
    desktop.tapKey("Up");
    desktop.keyUp("LeftCommand");  // ends the switch
    EXPECT_EQ(desktop.front(), "Notes");
    desktop.runFor(0.01);
    const Strings names = probe.names();
    EXPECT_EQ(std::count(names.begin(), names.end(), "AXSelectedChildrenChanged"), 5);
}

TEST_F(SimDockTest, EscapeAndAXCancelCloseWithoutSwitching) {
    holdCommandTab(desktop);
    desktop.keyDown("Escape");
    EXPECT_FALSE(desktop.switcherShowing());
    desktop.keyUp("Escape");
    desktop.keyUp("LeftCommand");
    EXPECT_EQ(desktop.front(), "Safari");

    holdCommandTab(desktop);
    AXElement list = listElement(desktop);
    EXPECT_EQ(desktop.accessibility().performAction(list, "AXCancel"), 0);
    EXPECT_FALSE(desktop.switcherShowing());
    desktop.keyUp("LeftCommand");
    EXPECT_EQ(desktop.front(), "Safari");
    // The closed list is gone for good.
    AXAttributeValue value;
    EXPECT_EQ(desktop.accessibility().copyAttributeValue(list, "AXPosition", value),
              platform::kAXErrorInvalidUIElement);
}

TEST_F(SimDockTest, AXPressOnAnEntryActivatesItAndCloses) {
    holdCommandTab(desktop);
    AXAttributeValue children;
    ASSERT_EQ(
        desktop.accessibility().copyAttributeValue(listElement(desktop), "AXChildren", children),
        0);
    const auto& entries = std::get<std::vector<AXElement>>(children);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(desktop.accessibility().performAction(entries[2], "AXPress"), 0);
    EXPECT_FALSE(desktop.switcherShowing());
    EXPECT_EQ(desktop.front(), "Notes");
    EXPECT_NE(desktop.accessibility().performAction(entries[1], "AXPress"), 0);
}

TEST_F(SimDockTest, CommandQQuitsTheHighlightedEntryAndTheHighlightStaysInPlace) {
    desktop.addApplication("Music");
    DockObserverProbe probe(desktop);
    std::vector<std::string> terminated;
    desktop.platform().workspace.addNotificationObserver(
        platform::kWorkspaceDidTerminateApplicationNotification,
        [&](const platform::WorkspaceNotification& n) {
            terminated.push_back(n.application.localizedName);
        });
    holdCommandTab(desktop);
    desktop.runFor(0.01);
    probe.received.clear();

    desktop.keyDown("Q");  // Mail, the second entry, quits
    EXPECT_FALSE(desktop.running("Mail"));
    EXPECT_EQ(desktop.switcherEntries(), (Strings{"Safari", "Notes", "Music"}));
    EXPECT_EQ(desktop.highlighted(), "Notes") << "the same position";
    // The list is laid out again for three icons.
    EXPECT_EQ(desktop.listFrame(), (Rect{{736, 460}, {448, 160}}));
    EXPECT_TRUE(terminated.empty());
    desktop.runFor(0.001);
    EXPECT_EQ(probe.names(), Strings{"AXUIElementDestroyed"}) << "no selection change";
    EXPECT_FALSE(probe.received[0].element == listElement(desktop));
    EXPECT_EQ(terminated, Strings{"Mail"});

    // An auto-repeat of the held Q quits again; the highlight past the end goes to the last.
    desktop.tapKey("Tab");
    EXPECT_EQ(desktop.highlighted(), "Music");
    desktop.keyDown("Q");
    EXPECT_EQ(desktop.highlighted(), "Notes");
    desktop.runFor(0.375);
    EXPECT_EQ(desktop.switcherEntries(), Strings{"Safari"});
    EXPECT_EQ(desktop.highlighted(), "Safari");

    // An application that quits by itself while the list shows leaves it at once; the
    // highlight stays on its application.
    desktop.keyUp("Q");
    desktop.keyUp("LeftCommand");
    desktop.addApplication("Maps");
    desktop.addApplication("Books");
    holdCommandTab(desktop);
    EXPECT_EQ(desktop.switcherEntries(), (Strings{"Safari", "Maps", "Books"}));
    desktop.tapKey("Tab");
    desktop.quitApplication("Maps");
    EXPECT_EQ(desktop.highlighted(), "Books");
}

TEST_F(SimDockTest, EntriesStayWhileShowingAndNewApplicationsJoinAtTheNextOpening) {
    holdCommandTab(desktop);
    desktop.startApplication("Maps");
    EXPECT_EQ(desktop.switcherEntries(), (Strings{"Safari", "Mail", "Notes"}));
    desktop.keyDown("H");  // hides Mail; it stays in the list
    EXPECT_TRUE(desktop.hidden("Mail"));
    EXPECT_EQ(desktop.switcherEntries(), (Strings{"Safari", "Mail", "Notes"}));
    desktop.keyUp("H");
    desktop.keyDown("Escape");
    desktop.keyUp("Escape");
    desktop.keyUp("LeftCommand");
    holdCommandTab(desktop);
    EXPECT_EQ(desktop.switcherEntries(), (Strings{"Maps", "Safari", "Mail", "Notes"}));
    // Activating through the workspace does not close the switcher, and unhides.
    EXPECT_TRUE(desktop.activateApplication("Mail"));
    EXPECT_TRUE(desktop.switcherShowing());
    EXPECT_FALSE(desktop.hidden("Mail"));
}

TEST_F(SimDockTest, PointerOverAnIconHighlightsItAndALeftReleaseThereSwitches) {
    DockObserverProbe probe(desktop);
    holdCommandTab(desktop);
    const Rect notes = *desktop.iconFrame("Notes");
    desktop.mouseMove({notes.origin.x + 10, notes.origin.y + 10});
    EXPECT_EQ(desktop.highlighted(), "Notes");
    desktop.mouseMove({notes.origin.x + 20, notes.origin.y + 10});  // same icon: no change
    desktop.mouseMove({notes.origin.x - 8, notes.origin.y + 10});   // padding: no change
    EXPECT_EQ(desktop.highlighted(), "Notes");
    desktop.runFor(0.01);
    EXPECT_EQ(probe.names(), (Strings{"AXCreated", "AXSelectedChildrenChanged"}));

    const Rect safari = *desktop.iconFrame("Safari");
    const Point at{safari.origin.x + 64, safari.origin.y + 64};
    desktop.mouseDown(platform::MouseButton::Left, at);
    desktop.mouseUp(platform::MouseButton::Left, at);
    EXPECT_FALSE(desktop.switcherShowing());
    EXPECT_EQ(desktop.front(), "Safari");
    EXPECT_EQ(desktop.received("Dock"), (Strings{"key-down Tab cmd", "key-up Tab cmd",
                                                 "left-down 816 540", "left-up 816 540"}));
}

TEST_F(SimDockTest, IconsShrinkToFitAWideRow) {
    desktop.setScreenSize(1280, 800);
    for (int i = 0; i < 9; ++i)
        desktop.addApplication("App");
    holdCommandTab(desktop);
    // 12 icons: 12*128 + 13*16 = 1744 > 1280 - 64, so s = floor((1216 - 208) / 12) = 84.
    EXPECT_EQ(desktop.listFrame(), (Rect{{32, 342}, {12 * 84 + 13 * 16, 116}}));
    EXPECT_EQ(desktop.iconFrame("App#9"), (Rect{{32 + 16 + 11 * 100, 358}, {84, 84}}));
    EXPECT_EQ(desktop.switcherEntries().back(), "App#9");
}

TEST_F(SimDockTest, KilledDockEndsItsSwitcherAndARestartedOneHasANewPid) {
    struct Watcher final : platform::KeyValueObserver {
        void observeValueForKeyPath(std::string_view keyPath, const void* /*object*/,
                                    const platform::KeyValueChange& change,
                                    const void* context) override {
            told.push_back({std::string(keyPath), change.newBool.value_or(false), context, now()});
        }
        struct Told {
            std::string keyPath;
            bool newValue;
            const void* context;
            Nanos time;
        };
        std::function<Nanos()> now;
        std::vector<Told> told;
    } watcher;
    watcher.now = [&] { return desktop.nowNanos(); };
    const int context = 0;

    auto& workspace = desktop.platform().workspace;
    const std::int32_t firstPid = desktop.dockPid();
    ASSERT_EQ(workspace.runningApplicationsWithBundleIdentifier("com.apple.dock").size(), 1u);
    workspace.addTerminatedObserver(firstPid, watcher, &context);
    DockObserverProbe probe(desktop);
    holdCommandTab(desktop);
    const AXElement list = listElement(desktop);
    desktop.runFor(0.01);

    desktop.killDock();
    EXPECT_FALSE(desktop.switcherShowing());
    EXPECT_TRUE(workspace.runningApplicationsWithBundleIdentifier("com.apple.dock").empty());
    AXAttributeValue value;
    EXPECT_EQ(desktop.accessibility().copyAttributeValue(list, "AXSize", value),
              platform::kAXErrorInvalidUIElement);
    desktop.runFor(0.001);
    ASSERT_EQ(watcher.told.size(), 1u);
    EXPECT_EQ(watcher.told[0].keyPath, "terminated");
    EXPECT_TRUE(watcher.told[0].newValue);
    EXPECT_EQ(watcher.told[0].context, &context);
    EXPECT_EQ(watcher.told[0].time, desktop.nowNanos());
    EXPECT_EQ(probe.names(), Strings{"AXCreated"}) << "a killed Dock posts nothing";

    // Keys that would go to the Dock reach nobody while it is away.
    desktop.keyUp("LeftCommand");
    holdCommandTab(desktop);
    EXPECT_FALSE(desktop.switcherShowing());
    desktop.keyUp("LeftCommand");

    desktop.startDock();
    const auto docks = workspace.runningApplicationsWithBundleIdentifier("com.apple.dock");
    ASSERT_EQ(docks.size(), 1u);
    EXPECT_NE(docks[0].processIdentifier, firstPid);
    EXPECT_EQ(docks[0].processIdentifier, desktop.dockPid());
    holdCommandTab(desktop);
    EXPECT_TRUE(desktop.switcherShowing());
    desktop.runFor(0.01);
    EXPECT_EQ(watcher.told.size(), 1u) << "told once";
}

}  // namespace
}  // namespace vantor::sim
