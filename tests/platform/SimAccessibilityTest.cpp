#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "SimProbes.h"
#include "platform/sim/SimDesktop.h"

namespace vantor::sim {
namespace {

using platform::AXAttributeResult;
using platform::AXAttributeValue;
using platform::AXElement;
using platform::kAXErrorCannotComplete;
using platform::kAXErrorFailure;
using platform::kAXErrorInvalidUIElement;
using platform::kAXErrorSuccess;
using testing::DockObserverProbe;
using testing::holdCommandTab;
using testing::listElement;
using Strings = std::vector<std::string>;

class SimAccessibilityTest : public ::testing::Test {
protected:
    SimAccessibilityTest() : ax(desktop.accessibility()) {
        for (const char* name : {"Safari", "Mail", "Notes"})
            desktop.addApplication(name);
    }
    std::vector<AXElement> children(const AXElement& element) {
        AXAttributeValue value;
        if (ax.copyAttributeValue(element, "AXChildren", value) != kAXErrorSuccess) return {};
        return std::get<std::vector<AXElement>>(value);
    }
    SimDesktop desktop;
    SimAccessibility& ax;
};

TEST_F(SimAccessibilityTest, ReferencesAreDistinctObjectsThatCompareEqualByElement) {
    holdCommandTab(desktop);
    const std::vector<AXElement> first = children(listElement(desktop));
    const std::vector<AXElement> second = children(listElement(desktop));
    ASSERT_EQ(first.size(), 3u);
    EXPECT_NE(first[1].get(), second[1].get());
    EXPECT_TRUE(first[1] == second[1]);
    EXPECT_FALSE(first[0] == first[1]);
}

TEST_F(SimAccessibilityTest, NotificationsComeOnlyThroughASourceServicedInTheDefaultMode) {
    DockObserverProbe probe(desktop, /*addSource=*/false);
    holdCommandTab(desktop);
    desktop.runFor(0.1);
    EXPECT_TRUE(probe.received.empty());

    auto& loop = desktop.runLoop();
    loop.addSource(probe.source, platform::RunLoopMode::Default);
    loop.pushMode(platform::RunLoopMode::ModalPanel);
    desktop.runFor(0.1);
    EXPECT_TRUE(probe.received.empty()) << "the observer's source runs in the default mode only";
    loop.popMode();
    desktop.runFor(0);
    EXPECT_EQ(probe.names(), Strings{"AXCreated"});
    const AXElement dock = ax.createApplication(desktop.dockPid());
    EXPECT_NE(ax.observerAddNotification(probe.observer, dock, "AXCreated", nullptr),
              kAXErrorSuccess)
        << "registered twice";

    // A released observer hears nothing more.
    probe.received.clear();
    probe.observer.reset();
    desktop.keyUp("LeftCommand");
    desktop.runFor(0.1);
    EXPECT_TRUE(probe.received.empty());
}

TEST_F(SimAccessibilityTest, InjectedFailuresCountOnceNTimesOrAlways) {
    holdCommandTab(desktop);
    const AXElement list = listElement(desktop);
    AXAttributeValue value;

    ax.failAx("AXPosition", kAXErrorCannotComplete);
    EXPECT_EQ(ax.copyAttributeValue(list, "AXPosition", value), kAXErrorCannotComplete);
    EXPECT_EQ(ax.copyAttributeValue(list, "AXPosition", value), kAXErrorSuccess);

    // Single and batched reads draw from the same count.
    ax.failAx("AXTitle", kAXErrorFailure, 2);
    const std::vector<AXElement> entries = children(list);
    EXPECT_EQ(ax.copyAttributeValue(entries[0], "AXTitle", value), kAXErrorFailure);
    const std::array<std::string_view, 2> attributes{"AXTitle", "AXSize"};
    std::vector<AXAttributeResult> results;
    EXPECT_EQ(ax.copyMultipleAttributeValues(entries[1], attributes, results), kAXErrorSuccess);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].error, kAXErrorFailure);
    EXPECT_EQ(results[1].error, kAXErrorSuccess);
    EXPECT_EQ(ax.copyAttributeValue(entries[2], "AXTitle", value), kAXErrorSuccess);

    ax.failAx("AXChildren", kAXErrorFailure, SimAccessibility::kAlways);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(children(list).empty());

    // Observer creation and an action.
    ax.failAx("observer", kAXErrorCannotComplete);
    ax.failAx("AXCancel", kAXErrorCannotComplete);
    platform::AXObserver observer;
    EXPECT_EQ(ax.observerCreate(
                  desktop.dockPid(), [](auto&, auto&, auto, void*) {}, observer),
              kAXErrorCannotComplete);
    EXPECT_FALSE(observer);
    EXPECT_EQ(ax.performAction(list, "AXCancel"), kAXErrorCannotComplete);
    EXPECT_TRUE(desktop.switcherShowing());
}

TEST_F(SimAccessibilityTest, ABatchedReadIsOneRoundTripAndFailsWholeForAGoneElement) {
    holdCommandTab(desktop);
    const AXElement list = listElement(desktop);
    desktop.resetRoundTrips();
    const std::array<std::string_view, 3> attributes{"AXPosition", "AXSize", "AXChildren"};
    std::vector<AXAttributeResult> results;
    ASSERT_EQ(ax.copyMultipleAttributeValues(list, attributes, results), kAXErrorSuccess);
    EXPECT_EQ(desktop.roundTrips(), 1);
    EXPECT_EQ(std::get<platform::Point>(results[0].value), (platform::Point{736, 460}));
    EXPECT_EQ(std::get<std::vector<AXElement>>(results[2].value).size(), 3u);

    desktop.keyUp("LeftCommand");
    EXPECT_EQ(ax.copyMultipleAttributeValues(list, attributes, results), kAXErrorInvalidUIElement);
    EXPECT_TRUE(results.empty());
}

TEST(SimLedger, FindsLeaksAndDoubleReleasesWithoutTouchingFreedMemory) {
    SimDesktop desktop;
    desktop.addApplication("Safari");
    {
        DockObserverProbe probe(desktop);
        testing::holdCommandTab(desktop);
        desktop.runFor(0.01);
        auto& events = desktop.platform().events;
        const platform::EventSource source =
            events.sourceCreate(platform::EventSourceStateID::Private);
        events.post(platform::EventTapLocation::HID, events.createKeyboardEvent(source, 12, true));
        EXPECT_GT(desktop.ledger().liveTotal(), 0);
    }
    EXPECT_TRUE(desktop.ledger().clean()) << desktop.ledger().summary();
    EXPECT_EQ(desktop.ledger().created(RefKind::Event), 1);

    // A leak, then a release too many, as a careless copy of a borrowed reference would make it.
    AXElement kept = desktop.accessibility().createApplication(desktop.dockPid());
    EXPECT_FALSE(desktop.ledger().clean());
    const void* raw = kept.get();
    const platform::HandleOps* ops = kept.ops();
    kept.reset();
    ops->release(raw);
    EXPECT_EQ(desktop.ledger().overReleases(), 1);
    EXPECT_FALSE(desktop.ledger().clean());
}

TEST(SimLedger, HandlesMayOutliveTheirDesktop) {
    AXElement survivor;
    {
        SimDesktop desktop;
        survivor = desktop.accessibility().createApplication(desktop.dockPid());
    }
    survivor.reset();  // harmless: the desktop's ledger has gone
}

}  // namespace
}  // namespace vantor::sim
