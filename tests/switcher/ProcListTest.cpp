#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/SimProbes.h"
#include "platform/sim/SimDesktop.h"
#include "switcher/ProcList.h"

namespace vantor {
namespace {

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

    // Making the current list current again keeps it.
    const platform::AXElement list = model->currentListAxElem();
    model->_setCurrentListAXElem(model->currentListAxElem());
    EXPECT_TRUE(model->currentListAxElem() == list);
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
}

// Without waiting for the Dock to come back (its return is followed by a scenario).
TEST_F(ProcListTest, TheDocksTerminationClearsShowingAtOnce) {
    makeModel();
    openSwitcher();
    said->said.clear();
    desktop.killDock();
    desktop.runFor(0.002);
    EXPECT_EQ(said->said, (Strings{"showing NO"}));
}

// The Command-Tab it posts reaches the Dock (as scenarios show), marked as the agent's own.
TEST_F(ProcListTest, ShowPostsOneMarkedCommandTabThatOpensTheSwitcher) {
    makeModel();
    sim::testing::TapProbe tap(desktop);
    model->show();
    desktop.runFor(0.06);
    ASSERT_EQ(tap.seen.size(), 2u);
    for (const sim::testing::SeenEvent& seen : tap.seen)
        EXPECT_EQ(seen.event.sourceUserData, kEventMarkerUserData);
    EXPECT_TRUE(model->showing());
}

// The switcher closes: showing ends and the items stay. The next list's frame cannot be read:
// it leaves those items and shows nothing.
TEST_F(ProcListTest, ClosingAndAnUnreadableListFrameLeaveTheEarlierItemsAndShowNothing) {
    makeModel();
    openSwitcher();
    said->said.clear();
    desktop.keyDown("Escape");  // Command-Escape closes without switching
    desktop.runFor(0.002);
    EXPECT_EQ(said->said, (Strings{"showing NO"}));
    EXPECT_FALSE(model->showing());
    EXPECT_EQ(model->getMultiplexCountForKey("M"), 1);
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
        EXPECT_EQ(lines[lines.size() - 3], std::to_string(fresh.dockPid()));
        EXPECT_NE(lines[lines.size() - 2].find(c.line), std::string::npos);
        EXPECT_NE(lines.back().find("schedule retry for 1 sec"), std::string::npos);

        // The retry a second later attaches, and the switcher is followed.
        fresh.runFor(1.01);
        sim::testing::holdCommandTab(fresh);
        fresh.runFor(0.002);
        EXPECT_TRUE(list.showing());
    }
}

}  // namespace
}  // namespace vantor
