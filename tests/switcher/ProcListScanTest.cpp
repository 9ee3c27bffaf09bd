#include <fmt/format.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/SimProbes.h"
#include "platform/sim/SimDesktop.h"
#include "switcher/ProcList.h"

namespace vantor {
namespace {

using platform::AXError;
using platform::Rect;
using sim::AXNode;
using sim::SimDesktop;

// Counts the model's "items" announcements.
class ItemsCounter : public platform::KeyValueObserver {
public:
    explicit ItemsCounter(ProcList& model) : model_(model) {
        model.addObserver(*this, "items", 0, nullptr);
    }
    ~ItemsCounter() override { model_.removeObserver(*this, "items"); }
    void observeValueForKeyPath(std::string_view, const void*, const platform::KeyValueChange&,
                                const void*) override {
        ++count;
    }
    int count = 0;

private:
    ProcList& model_;
};

std::string describeRect(const Rect& r) {
    return fmt::format("({} {} {} {})", r.origin.x, r.origin.y, r.size.width, r.size.height);
}

// Everything a scan can leave in the model, as text, so that a difference reads as a diff.
template <typename NameOf>
std::string describeModel(const ProcList& model, NameOf nameOf) {
    std::string out = fmt::format(
        "showing {} frame {} screen {} list {}\n", model.showing(), describeRect(model.frame()),
        describeRect(model.mainScreenFrame()), nameOf(model.currentListAxElem()));
    const auto& array = model.itemsArray();
    for (const ProcItemRef& item : array) {
        out += fmt::format("item {} '{}' {} {}\n", item->index(), item->title(),
                           describeRect(item->frame()), nameOf(item->axElem()));
    }
    for (const auto& [key, item] : model.items()) {
        const auto at = std::find(array.begin(), array.end(), item) - array.begin();
        out += fmt::format("key {} -> {} count {}\n", key, at, model.getMultiplexCountForKey(key));
    }
    const std::map<std::string, std::string> remembered(model.titleToKeyMap().begin(),
                                                        model.titleToKeyMap().end());
    for (const auto& [title, key] : remembered)
        out += fmt::format("remembered '{}' -> {}\n", title, key);
    for (const auto& [letter, count] : model.multiplexCounter())
        out += fmt::format("letter {} x{}\n", static_cast<int>(letter), count);
    return out;
}

class ProcListScanOnTheDock : public ::testing::Test {
protected:
    ProcListScanOnTheDock() {
        for (const char* name : {"Safari", "Mail", "Maps", "Music", "Notes"})
            desktop.addApplication(name);
    }
    SimDesktop desktop;
};

TEST_F(ProcListScanOnTheDock, AHighlightChangeCostsTheListReadAloneUnlessEveryScanReadsAll) {
    struct Case {
        ScanMode mode;
        bool skipsUnchanged;
        std::int64_t roundTrips;
    };
    const Case cases[] = {{ScanMode::Batched, true, 1},
                          {ScanMode::OneAttributeAtATime, true, 3},
                          {ScanMode::Batched, false, 1 + 5},
                          {ScanMode::OneAttributeAtATime, false, 3 + 3 * 5}};
    ProcList model(desktop.platform());
    ItemsCounter announced(model);
    sim::testing::holdCommandTab(desktop);
    desktop.runFor(0.002);
    ASSERT_TRUE(model.showing());
    for (const Case& c : cases) {
        SCOPED_TRACE(fmt::format("skips {} mode {}", c.skipsUnchanged, static_cast<int>(c.mode)));
        model.setScanMode(c.mode);
        model.setSkipsUnchangedRescans(c.skipsUnchanged);
        const int announcedBefore = announced.count;
        desktop.resetRoundTrips();
        desktop.tapKey("Tab");
        desktop.runFor(0.002);
        EXPECT_EQ(desktop.roundTrips(), c.roundTrips);
        EXPECT_EQ(announced.count - announcedBefore, c.skipsUnchanged ? 0 : 1);
        EXPECT_EQ(model.items().size(), 5u);
    }
}

// Random sessions on the simulated Dock: the highlight moves, applications quit from the
// switcher or by themselves and start while it shows (on a narrow screen, so that the list
// shrinks its icons when it opens again), the switcher closes and opens, the Dock restarts
// while attaching to it fails, and Accessibility reads fail or run out of time while an
// application quits. After every step, a model that skips unchanged rescans and one that reads
// one attribute at a time equal one that reads everything batched, and the three hold exactly
// the elements they keep; once all are gone nothing is left and nothing was released twice.
TEST(ProcListScan, SkippingUnchangedRescansLeavesWhatReadingEverythingLeaves) {
    static const std::array<const char*, 8> kNames{"Safari", "Mail",  "Maps",  "Music",
                                                   "Notes",  "Xcode", "Slack", "Zoom"};
    static const std::array<const char*, 4> kAttributes{"AXPosition", "AXSize", "AXChildren",
                                                        "AXTitle"};
    static const std::array<const char*, 4> kAttachments{
        "observer", "AXCreated", "AXUIElementDestroyed", "AXSelectedChildrenChanged"};
    static const std::array<AXError, 3> kErrors{
        platform::kAXErrorCannotComplete, platform::kAXErrorFailure, platform::kAXErrorNoValue};
    int compared = 0;
    int skipped = 0;
    for (std::uint32_t seed = 1; seed <= 100; ++seed) {
        SCOPED_TRACE(fmt::format("seed {}", seed));
        std::mt19937 random(seed);
        SimDesktop desktop;
        desktop.setScreenSize(800, 600);
        for (int i = 0; i < 4; ++i)
            desktop.addApplication(kNames[random() % kNames.size()]);
        {
            ProcList fast(desktop.platform());
            ProcList full(desktop.platform());
            ProcList single(desktop.platform());
            full.setSkipsUnchangedRescans(false);
            single.setSkipsUnchangedRescans(false);
            single.setScanMode(ScanMode::OneAttributeAtATime);
            ItemsCounter fastSaid(fast);
            ItemsCounter fullSaid(full);
            std::map<const AXNode*, int> names;
            const auto nameOf = [&](const platform::AXElement& e) -> std::string {
                const std::shared_ptr<AXNode> node = desktop.accessibility().nodeOf(e);
                if (!node) return "none";
                return fmt::format("n{}",
                                   names.try_emplace(node.get(), names.size()).first->second);
            };
            const auto held = [](const ProcList& m) {
                return 1 + (m.currentListAxElem() ? 1 : 0) + (m.stalledListAxElem() ? 1 : 0) +
                       static_cast<std::int64_t>(m.itemsArray().size());
            };
            for (int step = 0; step < 60; ++step) {
                SCOPED_TRACE(fmt::format("step {}", step));
                if (!desktop.switcherShowing()) {
                    desktop.keyUp("LeftCommand");
                    sim::testing::holdCommandTab(desktop);
                }
                switch (random() % 11) {
                    case 0:
                        desktop.tapKey("Q");  // Command-Q quits the highlighted application
                        break;
                    case 1:
                        desktop.quitApplication(kNames[random() % kNames.size()]);
                        break;
                    case 2:
                        desktop.startApplication(kNames[random() % kNames.size()]);
                        break;
                    case 3:
                        // Reads fail while the list changes, so that every model reads it
                        // again and meets the same failures.
                        desktop.failAx(kAttributes[random() % kAttributes.size()],
                                       kErrors[random() % kErrors.size()],
                                       sim::SimAccessibility::kAlways);
                        desktop.tapKey("Q");
                        break;
                    case 4:
                        desktop.keyUp("LeftCommand");
                        break;
                    case 5:
                        fast.dismiss();
                        break;
                    case 6:
                        // The first model to attach to the new Dock fails and retries 1 s later.
                        desktop.killDock();
                        desktop.runFor(0.01);
                        desktop.failAx(kAttachments[random() % kAttachments.size()],
                                       platform::kAXErrorCannotComplete);
                        desktop.startDock();
                        desktop.runFor(3.1);
                        break;
                    case 7:
                        // A child's frame or title cannot be read while the list changes.
                        desktop.quitApplication(desktop.highlighted().value_or(""));
                        if (const auto list = desktop.dock().listNode();
                            list && !list->children.empty()) {
                            AXNode& child = *list->children[random() % list->children.size()];
                            random() % 2 ? child.frame.reset() : child.title.reset();
                        }
                        break;
                    default:
                        desktop.tapKey(random() % 2 ? "Tab" : "Left");
                        break;
                }
                desktop.runFor(0.06);
                desktop.accessibility().clearFailures();
                ++compared;
                ASSERT_EQ(describeModel(fast, nameOf), describeModel(full, nameOf));
                ASSERT_EQ(describeModel(single, nameOf), describeModel(full, nameOf));
                ASSERT_EQ(desktop.ledger().live(sim::RefKind::Element),
                          held(fast) + held(full) + held(single))
                    << desktop.ledger().summary();
            }
            skipped += fullSaid.count - fastSaid.count;
        }
        EXPECT_EQ(desktop.ledger().live(sim::RefKind::Element), 0) << desktop.ledger().summary();
        EXPECT_EQ(desktop.ledger().overReleases(), 0) << desktop.ledger().summary();
    }
    // The rescans that kept the model were many.
    EXPECT_GT(skipped, compared / 10);
}

}  // namespace
}  // namespace vantor
