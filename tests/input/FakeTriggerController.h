// A stand-in for the application controller that records the commands the tap gives it, with
// the switcher's `showing` and the letter counts set by the test. Time, the main queue, the
// live modifiers and the pointer come from a simulated desktop.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "input/TriggerController.h"
#include "platform/sim/SimDesktop.h"
#include "switcher/ProcList.h"

namespace vantor::testing {

class FakeTriggerController : public TriggerController {
public:
    explicit FakeTriggerController(sim::SimDesktop& desktop) : desktop_(desktop) {
        passThru_ = desktop.platform().events.sourceCreate(platform::EventSourceStateID::Private);
        desktop.platform().events.sourceSetUserData(passThru_, kEventMarkerUserData);
        previous_ = gAppDelegate;
        gAppDelegate = this;
    }
    ~FakeTriggerController() override { gAppDelegate = previous_; }
    FakeTriggerController(const FakeTriggerController&) = delete;
    FakeTriggerController& operator=(const FakeTriggerController&) = delete;

    // What the test sets.
    bool isShowing = false;
    std::uint64_t trigger = platform::kEventFlagMaskAlternate;
    bool pressTwice = false;
    bool middleButton = false;
    std::map<char, std::int32_t> letterCounts;

    // The commands received, in order ("show", "select AA", "activate A dismiss", ...).
    std::vector<std::string> commands;
    int resets = 0;

    TriggerState& triggerState() override { return state; }
    platform::Platform& platform() override { return desktop_.platform(); }
    bool showing() const override { return isShowing; }

    void show() override { commands.emplace_back("show"); }
    void dismiss() override {
        commands.emplace_back("dismiss");
        state.clearKeyState();
    }
    void reset() override {
        ++resets;
        state.clearKeyState();
        if (tap_) desktop_.platform().events.tapEnable(tap_, true);
    }
    void activateSelectedItem(bool dismiss) override {
        commands.emplace_back(dismiss ? "activateSelected+dismiss" : "activateSelected");
    }
    void quitSelectedItem() override { commands.emplace_back("quitSelected"); }
    void hideSelectedItem() override { commands.emplace_back("hideSelected"); }
    void selectItemByKey(std::string_view key) override {
        commands.push_back("select " + std::string(key));
    }
    void quitItemByKey(std::string_view key) override {
        commands.push_back("quit " + std::string(key));
    }
    std::int32_t getMultiplexKeyCountForKey(std::string_view key) override {
        if (key.empty()) return 0;
        const auto found = letterCounts.find(key.front());
        return found == letterCounts.end() ? 0 : found->second;
    }
    void activateItemByKey(std::string_view key, bool dismissAfter) override {
        commands.push_back("activate " + std::string(key) + (dismissAfter ? " dismiss" : ""));
    }

    std::uint64_t triggerModifierKey() const override { return trigger; }
    bool pressTwiceToTrigger() const override { return pressTwice; }
    bool rightClickToTrigger() const override { return middleButton; }

    const platform::EventTap& tap() const override { return tap_; }
    void setTap(platform::EventTap tap) override { tap_ = std::move(tap); }
    const platform::EventSource& passThruEventSource() const override { return passThru_; }
    platform::Window* overlayWindow() override { return nullptr; }

    // Commands since the last call.
    std::vector<std::string> take() {
        std::vector<std::string> taken;
        taken.swap(commands);
        return taken;
    }

    TriggerState state;

private:
    sim::SimDesktop& desktop_;
    platform::EventTap tap_;
    platform::EventSource passThru_;
    TriggerController* previous_ = nullptr;
};

}  // namespace vantor::testing
