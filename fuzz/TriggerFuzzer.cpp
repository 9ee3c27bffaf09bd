// The trigger state machine of the running agent on arbitrary sequences of hardware events on
// the simulated desktop: keys (modifiers included) down and up, waits, pointer moves, button
// presses, drags and releases, taps disabled by the system, applications starting and quitting,
// the Dock ending and starting again. After every step the long-pressed key is -2, -1 or a key
// that was pressed, and the release count is at most 32. When the sequence ends, every key and
// button is released and one quiet second passes (from the tap's reset, when the tap was
// disabled less than the reset's delay before); then no switcher is on its way, no key state
// is left, and when the switcher is closed the agent knows it and a key typed reaches the
// active application instead of being swallowed.
//
// Input: a byte selecting the trigger settings and the applications, then three bytes a step.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/Agent.h"
#include "fuzz/FuzzCheck.h"
#include "input/TriggerRules.h"
#include "input/TriggerState.h"
#include "platform/VirtualKeyCodes.h"
#include "platform/sim/SimDesktop.h"

namespace {

using vantor::fuzz::check;
using vantor::platform::MouseButton;
using vantor::platform::Point;
namespace vk = vantor::platform::vk;

constexpr std::size_t kMaxSteps = 256;

// Letters that several applications share (M, S), digits, keys without a letter, the
// navigation and action keys, and every modifier.
constexpr std::array<std::uint16_t, 32> kKeys = {
    vk::A,       vk::H,          vk::Q,          46 /* M */,    1 /* S */,    17 /* T */,
    45 /* N */,  18 /* 1 */,     19 /* 2 */,     6 /* Z */,     vk::Equal,    vk::Minus,
    vk::Return,  vk::Tab,        vk::Space,      vk::Delete,    vk::Escape,   vk::LeftArrow,
    vk::RightArrow, vk::DownArrow, vk::UpArrow,  122 /* F1 */,  vk::LeftCommand,
    vk::RightCommand, vk::LeftShift, vk::RightShift, vk::LeftOption, vk::RightOption,
    vk::LeftControl, vk::RightControl, vk::LeftCommand, vk::LeftOption};

constexpr std::array<double, 16> kWaits = {0.001, 0.005, 0.01, 0.02, 0.04, 0.05, 0.06, 0.1,
                                           0.2,   0.24,  0.26, 0.29, 0.31, 0.4,  0.5,  1.0};

// Option, Command, Control, Shift, none, and a stored value that is no modifier.
constexpr std::array<std::int64_t, 6> kTriggers = {0x80000, 0x100000, 0x40000, 0x20000, -1, 12345};

constexpr std::array<const char*, 8> kNames = {"Safari", "Mail",     "Maps",    "Music",
                                               "Notes",  "Terminal", "Messages", "Słownik"};

constexpr std::array<MouseButton, 3> kButtons = {MouseButton::Left, MouseButton::Right,
                                                 MouseButton::Center};

// A point on screen, half the time within the band of the switcher's icons.
Point pointFor(std::uint8_t a, std::uint8_t b) {
    const double x = a * (1920.0 / 255);
    const double y = (b & 1) ? 460 + (b >> 1) * (160.0 / 127) : b * (1080.0 / 255);
    return {x, y};
}

class Run {
public:
    explicit Run(std::uint8_t setup) {
        const std::size_t apps = setup % 5 + (setup & 0x80 ? 4 : 0);
        for (std::size_t i = 0; i < apps; ++i)
            desktop_.addApplication(kNames[i % kNames.size()]);
        desktop_.process().setShortVersion("1.0");
        vantor::platform::Settings& settings = desktop_.settings();
        settings.setString("Current Version", "1.0");
        settings.setInteger("TriggerModifierKey", kTriggers[(setup >> 3) % kTriggers.size()]);
        settings.setBool("PressTwiceToTrigger", (setup & 0x40) != 0);
        settings.setBool("RightClick To Trigger", (setup & 0x20) == 0);
        agent_ = std::make_unique<vantor::Agent>(desktop_.platform());
        desktop_.launch([this] { agent_->applicationDidFinishLaunching(); });
    }
    ~Run() {
        agent_.reset();
    }
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    void step(std::uint8_t op, std::uint8_t a, std::uint8_t b) {
        switch (op % 16) {
            case 0: case 1: case 2: case 3: {
                const std::uint16_t key = kKeys[a % kKeys.size()];
                if (held_.contains(key)) {
                    release(key);
                } else {
                    held_.insert(key);
                    pressed_.insert(key);
                    desktop_.keyDown(key);
                }
                break;
            }
            case 4: case 5:
                if (!held_.empty()) {
                    auto it = held_.begin();
                    std::advance(it, a % held_.size());
                    release(*it);
                }
                break;
            case 6: case 7:
                desktop_.runFor(kWaits[a % kWaits.size()]);
                break;
            case 8:
                desktop_.mouseMove(pointFor(a, b));
                break;
            case 9: {
                const MouseButton button = kButtons[a % kButtons.size()];
                if (!buttons_.contains(button)) {
                    buttons_.insert(button);
                    desktop_.mouseDown(button, pointFor(static_cast<std::uint8_t>(a ^ b), b));
                }
                break;
            }
            case 10: {
                const MouseButton button = kButtons[a % kButtons.size()];
                if (buttons_.erase(button) != 0)
                    desktop_.mouseUp(button, pointFor(static_cast<std::uint8_t>(a ^ b), b));
                break;
            }
            case 11: {
                const MouseButton button = kButtons[a % kButtons.size()];
                if (buttons_.contains(button)) desktop_.mouseDrag(button, pointFor(a, b));
                break;
            }
            case 12:
                lastTapDisabled_ = desktop_.now();
                desktop_.disableTaps(a & 1 ? vantor::platform::EventType::TapDisabledByTimeout
                                           : vantor::platform::EventType::TapDisabledByUserInput);
                break;
            case 13: {
                const std::vector<std::string> order = desktop_.applicationOrder();
                if (a & 1 || order.empty()) {
                    desktop_.startApplication(kNames[b % kNames.size()]);
                } else {
                    desktop_.quitApplication(order[b % order.size()]);
                }
                break;
            }
            case 14:
                if (a % 4 != 0) break;
                if (desktop_.dockRunning()) desktop_.killDock();
                else desktop_.startDock();
                break;
            default:
                desktop_.runFor(0.0005);
                break;
        }
        checkState();
    }

    void checkState() {
        const vantor::TriggerState& state = agent_->appDelegate().triggerState();
        const std::int32_t longPress = state._longPressingKey;
        check(longPress == vantor::kNoKey || longPress == vantor::kLongPressUsedUp ||
                  (longPress >= 0 && longPress <= 0xFFFF &&
                   pressed_.contains(static_cast<std::uint16_t>(longPress))),
              "_longPressingKey is -2, -1 or a key that was pressed");
        check(state._keyupCount >= 0 && state._keyupCount <= 32, "_keyupCount is 0..32");
    }

    // Every key and button goes up, then a quiet second passes.
    void finish() {
        while (!held_.empty())
            release(*held_.begin());
        for (const MouseButton button : std::set<MouseButton>(buttons_))
            desktop_.mouseUp(button, desktop_.events().pointer());
        buttons_.clear();
        checkState();
        // A disabled tap sees nothing until the agent resets it; what went by meanwhile (the
        // releases above, say) counts from the reset on.
        if (lastTapDisabled_) {
            const double resetAt = *lastTapDisabled_ + vantor::kTapReenableDelay;
            if (resetAt > desktop_.now()) desktop_.runFor(resetAt - desktop_.now());
        }
        desktop_.runFor(1.0);
        checkState();

        vantor::AppDelegate& delegate = agent_->appDelegate();
        const vantor::TriggerState& state = delegate.triggerState();
        check(!desktop_.switcherOpening(), "no switcher is on its way after a quiet second");
        check(state._longPressingKey == vantor::kNoKey && state._lastKey == vantor::kNoKey &&
                  state._keyupCount == 0 && !state._delayedActivateKey,
              "no key state is left after a quiet second (long press " +
                  std::to_string(state._longPressingKey) + ", last key " +
                  std::to_string(state._lastKey) + ", releases " +
                  std::to_string(state._keyupCount) + ", delayed activation " +
                  state._delayedActivateKey.value_or("none") + ")");
        if (desktop_.switcherShowing()) return;
        check(!delegate.showing(), "the agent knows the switcher is closed");
        const std::string active = desktop_.active();
        if (active.empty()) return;
        desktop_.inbox(active);
        desktop_.tapKey("A");
        const std::vector<std::string> got = desktop_.inbox(active);
        const auto receivedForm = [&](const char* form) {
            return std::find(got.begin(), got.end(), form) != got.end();
        };
        check(receivedForm("key-down A") && receivedForm("key-up A"),
              "a key typed while the switcher is closed reaches the active application");
    }

private:
    void release(std::uint16_t key) {
        held_.erase(key);
        desktop_.keyUp(key);
    }

    vantor::sim::SimDesktop desktop_;
    std::unique_ptr<vantor::Agent> agent_;
    std::set<std::uint16_t> held_;
    std::set<std::uint16_t> pressed_;
    std::set<MouseButton> buttons_;
    std::optional<double> lastTapDisabled_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    Run run(data[0]);
    for (std::size_t i = 1, steps = 0; i + 2 < size && steps < kMaxSteps; i += 3, ++steps)
        run.step(data[i], data[i + 1], data[i + 2]);
    run.finish();
    return 0;
}
