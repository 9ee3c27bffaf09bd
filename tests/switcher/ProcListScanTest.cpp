#include <gtest/gtest.h>

#include <fmt/format.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "FaultyAccessibility.h"
#include "platform/SimProbes.h"
#include "platform/sim/SimDesktop.h"
#include "switcher/ProcList.h"

namespace vantor {
namespace {

using platform::AXError;
using platform::Rect;
using sim::AXNode;
using sim::SimDesktop;
using testing::FaultyAccessibility;

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

// A switcher list of our own in the simulated tree, owned by a process of its own, whose
// titles, frames and failures a test chooses freely.
class RandomList {
public:
    static constexpr std::int32_t kPid = 4321;

    RandomList(SimDesktop& desktop, FaultyAccessibility& faults, std::uint32_t seed)
        : desktop_(desktop), faults_(faults), random_(seed) {
        app_ = std::make_shared<AXNode>();
        app_->pid = kPid;
        app_->role = "AXApplication";
        list_ = std::make_shared<AXNode>();
        list_->kind = AXNode::Kind::List;
        list_->pid = kPid;
        list_->role = "AXList";
        list_->subrole = "AXProcessSwitcherList";
        list_->parent = app_;
        app_->children.push_back(list_);
        desktop.accessibility().registerApplication(kPid, app_, {});
        listElem = desktop.accessibility().elementFor(list_);
        // Some seeds never fail, so that the cost of a clean scan is seen often.
        static constexpr std::array<int, 4> kFaultPercent{0, 3, 15, 40};
        faultPercent_ = kFaultPercent[random_() % kFaultPercent.size()];
    }

    // A new round: the list changes some titles, loses and gains children, and meets a new
    // set of failures.
    void reroll() {
        faults_.clear();
        listFaulted = false;
        clean = true;
        timesOut = false;
        const int n = static_cast<int>(list_->children.size());
        if (n > 0 && chance(30)) {
            list_->children.erase(list_->children.begin() + static_cast<int>(random_() % n));
        }
        const int target = list_->children.empty() || chance(25)
                               ? static_cast<int>(random_() % 41)
                               : static_cast<int>(list_->children.size());
        while (static_cast<int>(list_->children.size()) > target) list_->children.pop_back();
        while (static_cast<int>(list_->children.size()) < target) {
            auto child = std::make_shared<AXNode>();
            child->kind = AXNode::Kind::Item;
            child->pid = kPid;
            child->role = "AXDockItem";
            child->parent = list_;
            child->title = randomTitle();
            const auto at = list_->children.begin() +
                            static_cast<int>(random_() % (list_->children.size() + 1));
            list_->children.insert(at, std::move(child));
        }

        const double listWidth = 16.0 + 144.0 * static_cast<double>(list_->children.size());
        list_->frame = Rect{{between(0, 400), between(0, 900)}, {listWidth, 160}};
        list_->alive = true;
        for (std::size_t i = 0; i < list_->children.size(); ++i) {
            AXNode& child = *list_->children[i];
            if (!child.title || chance(10)) child.title = randomTitle();
            child.frame = Rect{{list_->frame->origin.x + 16 + 144.0 * static_cast<double>(i),
                                list_->frame->origin.y + 16},
                               {128, 128}};
            child.alive = true;
            rollNodeFaults(child, false);
        }
        rollNodeFaults(*list_, true);
    }

    std::size_t childCount() const { return list_->children.size(); }
    // A readable name of the node behind an element: "list", "c<serial>" or "none".
    std::string nameOf(const platform::AXElement& elem) {
        const std::shared_ptr<AXNode> node = desktop_.accessibility().nodeOf(elem);
        if (!node) return "none";
        if (node == list_) return "list";
        const auto [it, added] = names_.try_emplace(node.get(), names_.size());
        return fmt::format("c{}", it->second);
    }

    platform::AXElement listElem;
    bool listFaulted = false;  // the list's frame or children read fails
    bool clean = true;         // nothing at all fails
    bool timesOut = false;     // some call runs out of time, which ends the scan there

private:
    bool chance(int percent) { return static_cast<int>(random_() % 100) < percent; }
    double between(int low, int high) {
        return static_cast<double>(low + static_cast<int>(random_() % (high - low + 1)));
    }

    std::string randomTitle() {
        static const std::vector<std::string> kTitles = {
            "Safari",          "Mail",      "Maps",         "Music",    "Notes",
            "Terminal",        "Terminal",  "",             " ",        "Google Chrome",
            "Adobe Photoshop", "Microsoft", "Microsoft ",   "微信",     "钉钉",
            "ß-Tool",          "éclair",    "1Password",    "?",        "Mail/0",
            "a/b/c",           "\xff\xfe",  "\xf0\x9f\x99\x82 Smile", "Zoom",     "Xcode"};
        if (chance(20)) {
            std::string title;
            for (int i = static_cast<int>(random_() % 6); i > 0; --i)
                title.push_back(static_cast<char>(' ' + random_() % 95));
            return title;
        }
        return kTitles[random_() % kTitles.size()];
    }

    // The failures one node meets this round: on the tree itself (a title or frame it does not
    // have, a node that has gone) or injected per attribute or per element.
    void rollNodeFaults(AXNode& node, bool isList) {
        if (!chance(faultPercent_)) return;
        clean = false;
        listFaulted = listFaulted || isList;
        static constexpr std::array<AXError, 4> kErrors{
            platform::kAXErrorCannotComplete, platform::kAXErrorFailure,
            platform::kAXErrorNoValue, platform::kAXErrorAttributeUnsupported};
        const AXError error = kErrors[random_() % kErrors.size()];
        const std::string_view attributes[] = {"AXTitle", "AXPosition", "AXSize", "AXChildren"};
        switch (random_() % 6) {
            case 0:
                if (isList) {
                    node.frame.reset();
                } else {
                    node.title.reset();
                }
                break;
            case 1:
                node.alive = false;
                break;
            case 2:
                faults_.failElement(&node, error);
                timesOut = timesOut || error == platform::kAXErrorCannotComplete;
                break;
            case 3:
                node.frame.reset();
                break;
            default:
                // One or two attributes fail or answer with a value of the wrong type.
                for (int k = 1 + static_cast<int>(random_() % 2); k > 0; --k) {
                    const std::string_view attribute = attributes[random_() % 4];
                    FaultyAccessibility::Fault fault;
                    if (chance(30)) {
                        fault.wrongType = true;
                    } else {
                        fault.error = error;
                        timesOut = timesOut || error == platform::kAXErrorCannotComplete;
                    }
                    faults_.failAttribute(&node, std::string(attribute), fault);
                }
                break;
        }
    }

    SimDesktop& desktop_;
    FaultyAccessibility& faults_;
    std::mt19937 random_;
    int faultPercent_ = 0;
    std::shared_ptr<AXNode> app_;
    std::shared_ptr<AXNode> list_;
    std::map<const AXNode*, std::size_t> names_;
};

std::string describeRect(const Rect& r) {
    return fmt::format("({} {} {} {})", r.origin.x, r.origin.y, r.size.width, r.size.height);
}

// Everything a scan can leave in the model, as text, so that a difference reads as a diff.
template <typename NameOf>
std::string describeModel(const ProcList& model, NameOf nameOf) {
    std::string out = fmt::format("showing {} frame {} screen {} list {}\n", model.showing(),
                                  describeRect(model.frame()),
                                  describeRect(model.mainScreenFrame()),
                                  nameOf(model.currentListAxElem()));
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

std::string describe(const ProcList& model, const ItemsCounter& announced, RandomList& list) {
    return fmt::format("announced {}\n", announced.count) +
           describeModel(model, [&](const platform::AXElement& e) { return list.nameOf(e); });
}

// Random lists (0 to 40 children, titles with duplicates, empty and odd ones) where any read of
// the list or of a child may fail or run out of time: a batched scan and a scan one attribute
// at a time leave the same model, hold the same elements, and the batched one costs 1 + N
// round trips when nothing ends it early.
TEST(ProcListScan, BatchedAndOneAttributeAtATimeScansLeaveTheSameModel) {
    constexpr std::uint32_t kSeeds = 500;
    constexpr int kRounds = 4;
    int cleanScans = 0;
    for (std::uint32_t seed = 1; seed <= kSeeds; ++seed) {
        SCOPED_TRACE(fmt::format("seed {}", seed));
        SimDesktop desktop;
        sim::SimAccessibility& ax = desktop.accessibility();
        FaultyAccessibility faulty(ax);
        platform::Platform base = desktop.platform();
        platform::Platform faultyPlatform{faulty,      base.events, base.runLoop, base.workspace,
                                    base.screens, base.log,   base.ui,      base.process,
                                    base.settings, base.http, base.keyboardLayout};
        {
            RandomList list(desktop, faulty, seed);
            ProcList batched(faultyPlatform);
            ProcList single(faultyPlatform);
            // Every round reads everything, however little changed.
            batched.setSkipsUnchangedRescans(false);
            single.setSkipsUnchangedRescans(false);
            single.setScanMode(ScanMode::OneAttributeAtATime);
            ItemsCounter batchedSaid(batched);
            ItemsCounter singleSaid(single);
            const sim::RefLedger& ledger = desktop.ledger();

            for (int round = 0; round < kRounds; ++round) {
                SCOPED_TRACE(fmt::format("round {}", round));
                list.reroll();
                const std::int64_t n = static_cast<std::int64_t>(list.childCount());

                const std::int64_t live0 = ledger.live(sim::RefKind::Element);
                ax.resetRoundTrips();
                batched.handleProcListElem(list.listElem);
                const std::int64_t batchedTrips = ax.roundTrips();
                const std::int64_t live1 = ledger.live(sim::RefKind::Element);
                ax.resetRoundTrips();
                single.handleProcListElem(list.listElem);
                const std::int64_t singleTrips = ax.roundTrips();
                const std::int64_t live2 = ledger.live(sim::RefKind::Element);

                ASSERT_EQ(describe(batched, batchedSaid, list), describe(single, singleSaid, list));
                for (std::size_t i = 0; i < batched.itemsArray().size(); ++i) {
                    EXPECT_TRUE(batched.itemsArray()[i]->axElem() ==
                                single.itemsArray()[i]->axElem());
                }
                EXPECT_EQ(live1 - live0, live2 - live1) << ledger.summary();

                EXPECT_LE(batchedTrips, singleTrips);
                if (!list.listFaulted && !list.timesOut) {
                    EXPECT_EQ(batchedTrips, 1 + n);
                }
                if (list.clean) {
                    ++cleanScans;
                    EXPECT_EQ(singleTrips, 3 + 3 * n);
                }
            }
        }
        EXPECT_EQ(desktop.ledger().live(sim::RefKind::Element), 0) << desktop.ledger().summary();
        EXPECT_EQ(desktop.ledger().overReleases(), 0) << desktop.ledger().summary();
    }
    // The seeds without failures are not rare.
    EXPECT_GT(cleanScans, static_cast<int>(kSeeds / 2));
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
// shrinks its icons when it opens again), the switcher closes and opens, and Accessibility reads
// fail or run out of time while an application quits. After every step, a model that skips
// unchanged rescans equals one that reads everything, and the two hold exactly the elements they
// keep; once both are gone nothing is left and nothing was released twice.
TEST(ProcListScan, SkippingUnchangedRescansLeavesWhatReadingEverythingLeaves) {
    static const std::array<const char*, 8> kNames{"Safari", "Mail",  "Maps",  "Music",
                                                   "Notes",  "Xcode", "Slack", "Zoom"};
    static const std::array<const char*, 4> kAttributes{"AXPosition", "AXSize", "AXChildren",
                                                        "AXTitle"};
    static const std::array<AXError, 3> kErrors{platform::kAXErrorCannotComplete,
                                                platform::kAXErrorFailure,
                                                platform::kAXErrorNoValue};
    int compared = 0;
    int skipped = 0;
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(fmt::format("seed {}", seed));
        std::mt19937 random(seed);
        SimDesktop desktop;
        desktop.setScreenSize(800, 600);
        for (int i = 0; i < 4; ++i)
            desktop.addApplication(kNames[random() % kNames.size()]);
        {
            ProcList fast(desktop.platform());
            ProcList full(desktop.platform());
            full.setSkipsUnchangedRescans(false);
            ItemsCounter fastSaid(fast);
            ItemsCounter fullSaid(full);
            std::map<const AXNode*, int> names;
            const auto nameOf = [&](const platform::AXElement& e) -> std::string {
                const std::shared_ptr<AXNode> node = desktop.accessibility().nodeOf(e);
                if (!node) return "none";
                return fmt::format("n{}", names.try_emplace(node.get(), names.size()).first->second);
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
                switch (random() % 8) {
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
                        // Reads fail while the list changes, so that both models read it
                        // again and meet the same failures.
                        desktop.failAx(kAttributes[random() % kAttributes.size()],
                                       kErrors[random() % kErrors.size()],
                                       sim::SimAccessibility::kAlways);
                        desktop.tapKey("Q");
                        break;
                    case 4:
                        desktop.keyUp("LeftCommand");
                        break;
                    default:
                        desktop.tapKey(random() % 2 ? "Tab" : "Left");
                        break;
                }
                desktop.runFor(0.06);
                desktop.accessibility().clearFailures();
                ++compared;
                ASSERT_EQ(describeModel(fast, nameOf), describeModel(full, nameOf));
                ASSERT_EQ(desktop.ledger().live(sim::RefKind::Element), held(fast) + held(full))
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
