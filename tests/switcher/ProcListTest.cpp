#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/SimProbes.h"
#include "platform/sim/SimDesktop.h"
#include "switcher/Coordinates.h"
#include "switcher/ProcList.h"

namespace vantor {
namespace {

using platform::AXAttributeValue;
using platform::Rect;
using sim::SimDesktop;
using Strings = std::vector<std::string>;

// Records what the model announces, as the application controller would observe it.
class Announcements : public platform::KeyValueObserver {
public:
    explicit Announcements(ProcList& model) : model_(model) {
        model.addObserver(*this, "showing", platform::kKeyValueObservingOptionNew, &kShowing);
        model.addObserver(*this, "items", platform::kKeyValueObservingOptionNew, &kItems);
    }
    ~Announcements() override {
        model_.removeObserver(*this, "showing");
        model_.removeObserver(*this, "items");
    }

    void observeValueForKeyPath(std::string_view keyPath, const void* object,
                                const platform::KeyValueChange& change,
                                const void* context) override {
        EXPECT_EQ(object, &model_);
        EXPECT_EQ(context, keyPath == "showing" ? &kShowing : &kItems);
        if (keyPath == "showing") {
            ASSERT_TRUE(change.newBool.has_value());
            said.push_back(*change.newBool ? "showing YES" : "showing NO");
        } else {
            said.push_back("items");
        }
    }

    int count(const std::string& what) const {
        return static_cast<int>(std::count(said.begin(), said.end(), what));
    }

    Strings said;

private:
    static constexpr int kShowing = 0;
    static constexpr int kItems = 0;
    ProcList& model_;
};

std::map<std::string, std::string> keysByTitle(const ProcList& model) {
    std::map<std::string, std::string> keys;
    for (const auto& [key, item] : model.items())
        keys[item->title()] = key;
    return keys;
}

class ProcListTest : public ::testing::Test {
protected:
    ProcListTest() {
        for (const char* name : {"Safari", "Mail", "Notes"})
            desktop.addApplication(name);
    }

    void makeModel() {
        model = std::make_unique<ProcList>(desktop.platform());
        said = std::make_unique<Announcements>(*model);
    }

    // The user's Command-Tab; Command stays held. Runs until the model has heard of the list.
    void openSwitcher() {
        sim::testing::holdCommandTab(desktop);
        desktop.runFor(0.002);
    }

    SimDesktop desktop;
    std::unique_ptr<ProcList> model;
    std::unique_ptr<Announcements> said;
};

TEST_F(ProcListTest, CommandTabScansTheNewListThenShows) {
    makeModel();
    openSwitcher();

    EXPECT_EQ(said->said, (Strings{"items", "showing YES"}));
    ASSERT_TRUE(model->showing());
    // Three icons centred on 1920 x 1080: the list is (736, 460, 448, 160) in Accessibility
    // coordinates and, centred vertically, the same rectangle on screen.
    EXPECT_EQ(model->frame(), (Rect{{736, 460}, {448, 160}}));
    EXPECT_EQ(model->mainScreenFrame(), (Rect{{0, 0}, {1920, 1080}}));
    ASSERT_EQ(model->itemsArray().size(), 3u);
    EXPECT_EQ(model->itemsArray()[0]->frame(), (Rect{{16, 16}, {128, 128}}));
    EXPECT_EQ(model->itemsArray()[2]->frame(), (Rect{{304, 16}, {128, 128}}));
    EXPECT_EQ(keysByTitle(*model), (std::map<std::string, std::string>{
                                       {"Safari/0", "S"}, {"Mail/0", "M"}, {"Notes/0", "N"}}));
    EXPECT_EQ(model->getMultiplexCountForKey("SS"), 1);
}

TEST_F(ProcListTest, ItemFramesAreRelativeToTheListsLowerLeftCorner) {
    // A list whose top edge is at y = 0 on a screen of height H ends at H - h on screen.
    EXPECT_EQ(flipRect({{5, 0}, {300, 160}}, 900), (Rect{{5, 740}, {300, 160}}));
    const Rect list = flipRect({{100, 200}, {300, 160}}, 900);
    // A child at the list's lower-left corner, and one 10 points right of its left edge.
    EXPECT_EQ(frameRelativeToList({{100, 232}, {128, 128}}, 900, list), (Rect{{0, 0}, {128, 128}}));
    EXPECT_EQ(frameRelativeToList({{110, 216}, {128, 128}}, 900, list),
              (Rect{{10, 16}, {128, 128}}));
}

TEST_F(ProcListTest, OnAnOffCentreScreenTheFrameIsFlippedWithTheScreensHeight) {
    desktop.setScreenSize(1280, 801);
    makeModel();
    openSwitcher();
    const Rect ax = *desktop.listFrame();
    EXPECT_EQ(model->frame(), flipRect(ax, 801));
    EXPECT_EQ(model->itemsArray()[1]->frame().origin.x, 16 + 128 + 16);
    EXPECT_EQ(model->itemsArray()[1]->frame().origin.y, 16);
}

TEST_F(ProcListTest, SelectionChangesRescanAndDestructionClearsShowingButKeepsItems) {
    makeModel();
    openSwitcher();
    said->said.clear();

    // Command still held: the highlight moves on. The rescan finds the list as it was and
    // announces nothing.
    desktop.tapKey("Tab");
    desktop.runFor(0.002);
    EXPECT_TRUE(said->said.empty());

    desktop.keyDown("Escape");  // Command-Escape closes without switching
    desktop.runFor(0.002);
    EXPECT_EQ(said->said, (Strings{"showing NO"}));
    EXPECT_FALSE(model->showing());
    EXPECT_FALSE(model->currentListAxElem());
    EXPECT_EQ(model->items().size(), 3u);
    EXPECT_EQ(model->getMultiplexCountForKey("M"), 1);
}

TEST_F(ProcListTest, ShowingIsAnnouncedEvenWithoutAChange) {
    makeModel();
    model->setShowing(false);
    model->setShowing(false);
    EXPECT_EQ(said->said, (Strings{"showing NO", "showing NO"}));
}

TEST_F(ProcListTest, AnApplicationQuittingRescansOnlyWhileShowing) {
    makeModel();
    desktop.quitApplication("Notes");
    desktop.runFor(0.01);
    EXPECT_TRUE(said->said.empty());

    openSwitcher();
    // An application that started after the switcher opened is not in the list: its
    // termination reaches the model only as the workspace's notification, one rescan, which
    // finds the list unchanged and announces nothing.
    desktop.startApplication("Maps");
    said->said.clear();
    const std::int64_t before = desktop.roundTrips();
    desktop.quitApplication("Maps");
    desktop.runFor(0.01);
    EXPECT_EQ(desktop.roundTrips() - before, 1);
    EXPECT_TRUE(said->said.empty());

    // One in the list also loses its icon: the destroyed child rescans and announces the
    // change; the termination's rescan then finds nothing new.
    said->said.clear();
    desktop.quitApplication("Safari");
    desktop.runFor(0.01);
    EXPECT_EQ(said->said, (Strings{"items"}));
    EXPECT_EQ(keysByTitle(*model), (std::map<std::string, std::string>{{"Mail/0", "M"}}));
}

TEST_F(ProcListTest, ShowPostsOneMarkedCommandTabThatOpensTheSwitcher) {
    makeModel();
    sim::testing::TapProbe tap(desktop);
    model->show();
    desktop.runFor(0.06);

    ASSERT_EQ(tap.seen.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const platform::TapEvent& e = tap.seen[i].event;
        EXPECT_EQ(e.type, i == 0 ? platform::EventType::KeyDown : platform::EventType::KeyUp);
        EXPECT_EQ(e.keyCode, 48);
        EXPECT_EQ(e.flags, platform::kEventFlagMaskCommand);
        EXPECT_EQ(e.sourceUserData, kEventMarkerUserData);
    }
    EXPECT_TRUE(desktop.switcherShowing());
    EXPECT_TRUE(model->showing());
}

TEST_F(ProcListTest, DismissCancelsWithoutSwitchingAndDoesNothingWithoutAList) {
    makeModel();
    const std::int64_t before = desktop.roundTrips();
    model->dismiss();
    EXPECT_EQ(desktop.roundTrips(), before);

    desktop.keyDown("LeftCommand");
    desktop.tapKey("Tab");
    desktop.runFor(0.05);
    model->dismiss();
    desktop.runFor(0.002);
    EXPECT_FALSE(desktop.switcherShowing());
    EXPECT_FALSE(model->showing());
    EXPECT_EQ(desktop.front(), "Safari");
}

TEST_F(ProcListTest, AnUnreadableListFrameLeavesTheEarlierItemsAndShowsNothing) {
    makeModel();
    openSwitcher();
    desktop.keyDown("Escape");
    desktop.runFor(0.002);
    said->said.clear();

    desktop.failAx("AXPosition", platform::kAXErrorCannotComplete);
    desktop.tapKey("Tab");
    desktop.runFor(0.06);
    ASSERT_TRUE(desktop.switcherShowing());
    EXPECT_TRUE(said->said.empty());
    EXPECT_FALSE(model->showing());
    EXPECT_FALSE(model->currentListAxElem());
    EXPECT_EQ(model->items().size(), 3u);
}

TEST_F(ProcListTest, UnreadableChildrenAndTitles) {
    makeModel();
    // A list whose children cannot be read leaves no items and announces nothing, but shows.
    desktop.failAx("AXChildren", platform::kAXErrorCannotComplete);
    openSwitcher();
    EXPECT_EQ(said->said, (Strings{"showing YES"}));
    EXPECT_TRUE(model->items().empty());
    EXPECT_TRUE(model->currentListAxElem());

    // A child without a readable title is left out; the others keep their positions.
    desktop.failAx("AXTitle", platform::kAXErrorNoValue);
    desktop.tapKey("Tab");
    desktop.runFor(0.002);
    ASSERT_EQ(model->itemsArray().size(), 2u);
    EXPECT_EQ(model->itemsArray()[0]->index(), 1);
    EXPECT_EQ(model->itemsArray()[1]->index(), 2);
}

TEST_F(ProcListTest, WithoutADockItRetriesEverySecondUntilOneRuns) {
    desktop.killDock();
    desktop.runFor(0.01);
    makeModel();
    desktop.runFor(3.5);
    const auto lines = desktop.logLines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) {
                                return l.find("Dock not running... schedule retry for 1 sec") !=
                                       std::string::npos;
                            }),
              4);
    desktop.startDock();
    desktop.runFor(1.0);
    openSwitcher();
    EXPECT_TRUE(model->showing());
}

TEST_F(ProcListTest, AttachmentFailuresAreLoggedAndRetried) {
    struct Case {
        const char* what;
        const char* line;
    };
    for (const Case& c :
         {Case{"observer", "Fail AXObserverCreate: -25204"},
          Case{"AXCreated", "Fail kAXCreatedNotification: -25204"},
          Case{"AXUIElementDestroyed", "Fail kAXUIElementDestroyedNotification: -25204"},
          Case{"AXSelectedChildrenChanged",
               "Fail kAXSelectedChildrenChangedNotification: -25204"}}) {
        SCOPED_TRACE(c.what);
        SimDesktop fresh;
        fresh.addApplication("Mail");
        fresh.failAx(c.what, platform::kAXErrorCannotComplete);
        ProcList list(fresh.platform());
        const auto lines = fresh.logLines();
        ASSERT_GE(lines.size(), 3u);
        EXPECT_NE(lines[lines.size() - 2].find(c.line), std::string::npos);
        EXPECT_NE(lines.back().find("schedule retry for 1 sec"), std::string::npos);

        // The retry a second later attaches, and the switcher is followed.
        fresh.runFor(1.01);
        sim::testing::holdCommandTab(fresh);
        fresh.runFor(0.002);
        EXPECT_TRUE(list.showing());
    }
}

TEST_F(ProcListTest, TheDocksTerminationClearsShowingAtOnceAndFindsTheNewDock) {
    makeModel();
    openSwitcher();
    said->said.clear();
    desktop.killDock();
    desktop.runFor(0.002);
    EXPECT_EQ(said->said, (Strings{"showing NO"}));
    EXPECT_FALSE(model->showing());

    desktop.startDock();
    desktop.runFor(2.0);
    desktop.keyUp("LeftCommand");
    openSwitcher();
    EXPECT_TRUE(model->showing());
    EXPECT_EQ(model->items().size(), 3u);
    const auto lines = desktop.logLines();
    EXPECT_NE(
        std::find_if(lines.begin(), lines.end(),
                     [&](const std::string& l) { return l == std::to_string(desktop.dockPid()); }),
        lines.end());
}

TEST_F(ProcListTest, AnItemKeepsItsElementAliveWhateverElseHoldsIt) {
    makeModel();
    openSwitcher();
    const platform::AXElement list = model->currentListAxElem();
    model->_setCurrentListAXElem(model->currentListAxElem());
    EXPECT_TRUE(model->currentListAxElem() == list);

    const platform::AXElement held = model->itemsArray()[0]->axElem();
    desktop.tapKey("Tab");  // the rescan drops the old items
    desktop.runFor(0.002);
    AXAttributeValue title;
    EXPECT_EQ(desktop.platform().accessibility.copyAttributeValue(held, "AXTitle", title), 0);
    EXPECT_EQ(std::get<std::string>(title), "Safari");
}

// Many switcher cycles with failures injected at every Accessibility call: whatever fails,
// the model never leaks an element or gives one up twice.
TEST(ProcListSoak, FailuresEverywhereLeakNothing) {
    SimDesktop desktop;
    for (const char* name : {"Safari", "Mail", "Maps", "Music", "Notes", "Terminal"})
        desktop.addApplication(name);
    const Strings kinds = {"AXPosition",
                           "AXSize",
                           "AXChildren",
                           "AXTitle",
                           "AXSubrole",
                           "AXCancel",
                           "observer",
                           "AXCreated",
                           "AXUIElementDestroyed",
                           "AXSelectedChildrenChanged"};
    std::mt19937 random(20261207);
    {
        ProcList model(desktop.platform());
        for (int cycle = 0; cycle < 300; ++cycle) {
            if (random() % 3 == 0)
                desktop.failAx(kinds[random() % kinds.size()], platform::kAXErrorCannotComplete,
                               1 + static_cast<int>(random() % 3));
            desktop.keyDown("LeftCommand");
            desktop.tapKey("Tab");
            desktop.runFor(0.06);
            for (int i = static_cast<int>(random() % 4); i > 0; --i)
                desktop.tapKey(random() % 2 ? "Tab" : "Left");
            switch (random() % 5) {
                case 0:
                    desktop.tapKey("Q");  // Command-Q quits the highlighted application
                    desktop.startApplication("Safari");
                    break;
                case 1:
                    model.dismiss();
                    break;
                case 2:
                    desktop.killDock();
                    desktop.runFor(0.01);
                    desktop.startDock();
                    break;
                default:
                    desktop.keyDown("Escape");
                    break;
            }
            desktop.keyUp("LeftCommand");
            desktop.runFor(random() % 2 ? 0.05 : 2.5);
        }
        // Still following the switcher at the end, once the failures are over.
        desktop.accessibility().clearFailures();
        desktop.runFor(3.0);
        desktop.keyDown("LeftCommand");
        desktop.tapKey("Tab");
        desktop.runFor(0.06);
        EXPECT_TRUE(model.showing());
        desktop.keyUp("LeftCommand");
        desktop.runFor(0.01);
    }
    EXPECT_EQ(desktop.ledger().live(sim::RefKind::Element), 0) << desktop.ledger().summary();
    EXPECT_EQ(desktop.ledger().overReleases(), 0) << desktop.ledger().summary();
}

}  // namespace
}  // namespace vantor
