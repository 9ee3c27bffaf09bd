// The event tap's callback on the real agent over the simulated desktop: the pass-through path
// of an ordinary key while the switcher is closed against a floor callback that only looks at
// the marker and passes (BM_Tap_Floor, the floor of BM_Tap_PassThrough; see bench/README.md),
// and a hint typed while the switcher shows.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

#include "app/Agent.h"
#include "input/EventTapCallback.h"
#include "platform/sim/SimDesktop.h"
#include "switcher/ProcList.h"

namespace vantor {
namespace {

using platform::EventType;
using platform::TapAnswer;
using platform::TapEvent;

// The least a tap callback can do: tell the agent's own events apart and let everything pass.
TapAnswer floorCallback(platform::EventTapProxy /*proxy*/, const TapEvent& event,
                        void* /*userInfo*/) {
    if (event.sourceUserData == kEventMarkerUserData) return {};
    return {};
}

// The desktop's event services, except that posting can be switched off: the agent's own
// events (the pointer moved to a selected icon) are dropped instead of flowing through the
// simulated stream, so that a benchmark measures the callback and not the simulator.
class DroppingEvents final : public platform::EventServices {
public:
    explicit DroppingEvents(platform::EventServices& inner) : inner_(inner) {}

    bool dropping = false;
    std::int64_t dropped = 0;

    platform::EventSource sourceCreate(platform::EventSourceStateID state) override {
        return inner_.sourceCreate(state);
    }
    void sourceSetUserData(const platform::EventSource& source, std::int64_t userData) override {
        inner_.sourceSetUserData(source, userData);
    }
    platform::EventFlags sourceFlagsState(platform::EventSourceStateID state) override {
        return inner_.sourceFlagsState(state);
    }
    platform::Event createKeyboardEvent(const platform::EventSource& source,
                                        std::uint16_t virtualKey, bool keyDown) override {
        return inner_.createKeyboardEvent(source, virtualKey, keyDown);
    }
    platform::Event createMouseEvent(const platform::EventSource& source, EventType type,
                                     platform::Point position,
                                     platform::MouseButton button) override {
        return inner_.createMouseEvent(source, type, position, button);
    }
    void setFlags(const platform::Event& event, platform::EventFlags flags) override {
        inner_.setFlags(event, flags);
    }
    void post(platform::EventTapLocation location, const platform::Event& event) override {
        if (dropping) {
            ++dropped;
            return;
        }
        inner_.post(location, event);
    }
    void tapPostEvent(platform::EventTapProxy proxy, const platform::Event& event) override {
        if (dropping) {
            ++dropped;
            return;
        }
        inner_.tapPostEvent(proxy, event);
    }
    platform::EventTap tapCreate(platform::EventTapLocation location, platform::EventMask mask,
                                 platform::EventTapCallback callback, void* userInfo) override {
        return inner_.tapCreate(location, mask, callback, userInfo);
    }
    platform::RunLoopSource tapCreateRunLoopSource(const platform::EventTap& tap) override {
        return inner_.tapCreateRunLoopSource(tap);
    }
    void tapEnable(const platform::EventTap& tap, bool enable) override {
        inner_.tapEnable(tap, enable);
    }
    platform::Point pointerLocation() override { return inner_.pointerLocation(); }
    platform::Point mouseLocation() override { return inner_.mouseLocation(); }
    bool isSecureEventInputEnabled() override { return inner_.isSecureEventInputEnabled(); }
    std::optional<std::int32_t> secureEventInputProcessIdentifier() override {
        return inner_.secureEventInputProcessIdentifier();
    }

private:
    platform::EventServices& inner_;
};

// A desktop with eight applications (every letter its own) and the agent started on it.
class TapFixture {
public:
    TapFixture()
        : events_(desktop_.platform().events), platform_(withEvents(desktop_.platform(), events_)) {
        for (const char* name :
             {"Safari", "Mail", "Notes", "Terminal", "Xcode", "Preview", "Calendar", "Books"})
            desktop_.addApplication(name);
        desktop_.settings().setString("Current Version", "1.0");
        desktop_.setKeepingRecords(false);
        agent_ = std::make_unique<Agent>(platform_);
        agent_->applicationDidFinishLaunching();
        desktop_.runFor(1);
    }
    TapFixture(const TapFixture&) = delete;
    TapFixture& operator=(const TapFixture&) = delete;

    sim::SimDesktop& desktop() { return desktop_; }
    DroppingEvents& events() { return events_; }
    Agent& agent() { return *agent_; }

private:
    static platform::Platform withEvents(platform::Platform& base, platform::EventServices& e) {
        return {base.accessibility, e,       base.runLoop, base.workspace, base.screens,
                base.log,           base.ui, base.process, base.settings,  base.http,
                base.keyboardLayout};
    }

    sim::SimDesktop desktop_;
    DroppingEvents events_;
    platform::Platform platform_;
    std::unique_ptr<Agent> agent_;
};

TapEvent keyEvent(EventType type, std::int64_t keyCode, platform::EventFlags flags) {
    TapEvent event;
    event.type = type;
    event.keyCode = keyCode;
    event.flags = flags;
    event.location = {400, 300};
    return event;
}

// Calls `callback` as the system would, through a pointer the compiler cannot see through.
void runCallback(benchmark::State& state, platform::EventTapCallback callback,
                 const TapEvent& event) {
    benchmark::DoNotOptimize(callback);
    for (auto _ : state) {
        TapAnswer answer = callback(nullptr, event, nullptr);
        benchmark::DoNotOptimize(answer);
    }
    state.SetItemsProcessed(state.iterations());
}

constexpr std::int64_t kKeyA = platform::vk::A;

void BM_Tap_Floor(benchmark::State& state) {
    TapFixture fixture;
    runCallback(state, &floorCallback, keyEvent(EventType::KeyDown, kKeyA, 0));
}
BENCHMARK(BM_Tap_Floor);

// An ordinary key down while the switcher is closed: it passes untouched.
void BM_Tap_PassThrough(benchmark::State& state) {
    TapFixture fixture;
    if (fixture.agent().appDelegate().showing()) state.SkipWithError("the switcher shows");
    const TapEvent event = keyEvent(EventType::KeyDown, kKeyA, 0);
    if (eventTapCallback(nullptr, event, nullptr).action != platform::TapAction::Pass)
        state.SkipWithError("the key did not pass");
    runCallback(state, &eventTapCallback, event);
}
BENCHMARK(BM_Tap_PassThrough);

// While the switcher shows (opened by the user's Command-Tab, Option held alone so that the
// activation keeps it up): the down and up of N, the hint of the one application under N.
// The down selects Notes (an Accessibility read of the list's frame, the pointer move
// dropped), the up brings it forward at once.
void BM_TapHint_KeyDownUp(benchmark::State& state) {
    TapFixture fixture;
    sim::SimDesktop& desktop = fixture.desktop();
    desktop.keyDown("LeftCommand");
    desktop.tapKey("Tab");
    desktop.runFor(0.1);
    if (!fixture.agent().appDelegate().showing()) state.SkipWithError("the switcher is closed");
    if (fixture.agent().appDelegate().procList().getMultiplexCountForKey("N") != 1)
        state.SkipWithError("N is not the hint of one application");

    // Option alone in the flags: the trigger modifier held by itself.
    constexpr std::int64_t kKeyN = 45;  // kVK_ANSI_N
    const TapEvent down = keyEvent(EventType::KeyDown, kKeyN, platform::kEventFlagMaskAlternate);
    const TapEvent up = keyEvent(EventType::KeyUp, kKeyN, platform::kEventFlagMaskAlternate);
    platform::EventTapCallback callback = &eventTapCallback;
    benchmark::DoNotOptimize(callback);
    fixture.events().dropping = true;
    for (auto _ : state) {
        TapAnswer answer = callback(nullptr, down, nullptr);
        benchmark::DoNotOptimize(answer);
        answer = callback(nullptr, up, nullptr);
        benchmark::DoNotOptimize(answer);
    }
    fixture.events().dropping = false;
    if (desktop.front() != "Notes") state.SkipWithError("Notes did not come forward");
    state.SetItemsProcessed(state.iterations());
    state.counters["posts"] = benchmark::Counter(static_cast<double>(fixture.events().dropped),
                                                 benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_TapHint_KeyDownUp);

}  // namespace
}  // namespace vantor

BENCHMARK_MAIN();
