// Key down, key up and flags changed: the triggers that open the switcher, the navigation keys
// handed to it as Command keys, and the hint keys that select, activate and quit while it
// shows.
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "input/DeferredActions.h"
#include "input/HintCharacter.h"
#include "input/TapHandlers.h"
#include "input/TriggerRules.h"

namespace vantor {

using platform::TapAnswer;
using platform::TapEvent;

namespace {

// The switcher obeys its navigation keys only while Command is down, so they pass as
// Command keys (with Shift when the user holds it), whatever opened the switcher.
TapAnswer passAsCommandKey(TriggerController& controller) {
    const platform::EventFlags live =
        controller.platform().events.sourceFlagsState(platform::EventSourceStateID::HIDSystem);
    return {platform::TapAction::PassWithFlags, navigationFlags(live)};
}

// The hint character of a key that reached the switcher, by the user's current layout.
std::int32_t hintCharOfKey(TriggerController& controller, std::int32_t keyCode) {
    return hintCharForKeyCode(controller.platform().keyboardLayout,
                              static_cast<std::uint16_t>(keyCode));
}

// A hint key goes down while the switcher shows: the highlight moves to the item the run of
// presses will reach; a second key-down before the release (the key repeats, or another key
// joins) is a long press and quits that item instead, once.
TapAnswer hintKeyDown(TriggerController& controller, std::int32_t keyCode) {
    TriggerState& state = controller.triggerState();
    if (state._longPressingKey == kLongPressUsedUp) return kSwallow;

    const std::int32_t count = nextPressCount(state._lastKey, state._keyupCount, keyCode);
    const std::string key = hintKeyString(hintCharOfKey(controller, keyCode), count);
    controller.selectItemByKey(key);
    if (state._longPressingKey >= 0) {
        controller.quitItemByKey(key);
        // The quit ends the run: a wait still pending from an earlier release of it (a key
        // repeat quicker than the wait) must not activate anything afterwards.
        state.clearKeyState();
        state._longPressingKey = kLongPressUsedUp;
    } else {
        state._longPressingKey = keyCode;
    }
    return kSwallow;
}

// A hint letter is released while the switcher shows: the release either completes the
// letter's run (the last item sharing the letter is reached) and activates at once, or waits
// for a further press.
TapAnswer hintLetterUp(TriggerController& controller, std::int32_t keyCode, char letter,
                       bool alone) {
    TriggerState& state = controller.triggerState();
    state._keyupCount = nextPressCount(state._lastKey, state._keyupCount, keyCode);
    state._lastKey = keyCode;

    std::string key = hintKeyString(letter, state._keyupCount);
    if (state._keyupCount != controller.getMultiplexKeyCountForKey(std::string_view(&letter, 1))) {
        state._delayedActivateKey = std::move(key);
        const std::int32_t count = state._keyupCount;
        controller.platform().runLoop.dispatchAfter(kMultiPressWait, [count, alone] {
            if (gAppDelegate) delayedActivation(*gAppDelegate, count, alone);
        });
    } else {
        // Holding the trigger modifier alone keeps the switcher up after the activation.
        controller.activateItemByKey(key, !alone);
        state._lastKey = kNoKey;
        state._keyupCount = 0;
        state._delayedActivateKey.reset();
    }
    state._longPressingKey = kNoKey;
    return kSwallow;
}

// Tab goes down. While the switcher shows it is a navigation key; otherwise, with Command, it
// is the user's own Command-Tab: it reaches the Dock too, and the agent opens the switcher
// along with it. Out of line, like the showing case below, to keep the pass-through path short.
[[gnu::noinline]] TapAnswer tabKeyDown(TriggerController& controller, const TapEvent& event) {
    if (controller.showing()) return passAsCommandKey(controller);
    if ((event.flags & platform::kEventFlagMaskCommand) != 0) {
        controller.triggerState()._isTriggeredByCmdTab = true;
        controller.show();
    }
    return kPass;
}

// A key goes down while the switcher shows: Space, Return, the navigation keys or a hint.
[[gnu::noinline]] TapAnswer keyDownWhileShowing(TriggerController& controller,
                                                std::int32_t keyCode) {
    if (keyCode == vk::Space) {
        controller.dismiss();
        // A launch may take long: it runs once the callback has returned the key.
        platform::Workspace& workspace = controller.platform().workspace;
        controller.platform().runLoop.dispatchAfter(0, [&workspace] {
            if (const auto path =
                    workspace.urlForApplicationWithBundleIdentifier(kLaunchpadBundleIdentifier))
                workspace.launchApplication(*path);
        });
        return kSwallow;
    }
    if (keyCode == vk::Return) {
        controller.activateSelectedItem(/*dismiss=*/true);
        return kSwallow;
    }
    if (isNavigationKeyDown(keyCode)) return passAsCommandKey(controller);
    return hintKeyDown(controller, keyCode);
}

}  // namespace

TapAnswer handleKeyDown(TriggerController& controller, const TapEvent& event) {
    // Every key-down passes through here: while the switcher is closed only Tab is looked at.
    controller.rememberedTriggerState()._isTriggeredByCmdTab = false;
    if (keyCodeOf(event) == vk::Tab) return tabKeyDown(controller, event);
    if (!controller.showing()) return kPass;
    return keyDownWhileShowing(controller, keyCodeOf(event));
}

TapAnswer handleKeyUp(TriggerController& controller, const TapEvent& event) {
    if (!controller.showing()) return kPass;
    const bool alone = isAlone(controller.triggerModifierKey(), event.flags);
    TriggerState& state = controller.triggerState();
    const std::int32_t keyCode = keyCodeOf(event);

    if (isNavigationKeyUp(keyCode)) return passAsCommandKey(controller);
    if (keyCode == vk::Delete) {
        controller.quitSelectedItem();
        state._longPressingKey = kNoKey;
        return kSwallow;
    }
    if (state._longPressingKey == kLongPressUsedUp) {
        // The release of a long-pressed key activates nothing.
        state._longPressingKey = kNoKey;
        return kSwallow;
    }
    const std::optional<char> letter = hintLetterForKeyChar(hintCharOfKey(controller, keyCode));
    if (!letter) {
        state._longPressingKey = kNoKey;
        return kSwallow;
    }
    return hintLetterUp(controller, keyCode, *letter, alone);
}

TapAnswer handleFlagsChanged(TriggerController& controller, const TapEvent& event) {
    const bool alone = isAlone(controller.triggerModifierKey(), event.flags);
    const std::int32_t keyCode = keyCodeOf(event);
    if (!isTriggerModifierKey(controller.triggerModifierKey(), keyCode)) return kPass;
    TriggerState& state = controller.triggerState();

    if (!alone) {
        // The trigger modifier went up, or is down together with another modifier.
        if (state._isTriggeredByCmdTab) {
            state._isTriggeredByCmdTab = false;
            return kPass;
        }
        if (controller.showing()) {
            state._lastTriggerKeyDownTime = 0;
            return kPass;
        }
        // While the switcher it opened is on its way, the modifier's other events stay away
        // from the applications.
        return state._isTriggeredByModifierKey ? kSwallow : kPass;
    }

    TapAnswer answer = kPass;
    if (controller.showing()) {
        controller.activateSelectedItem();
    } else {
        state._isTriggeredByMouse = false;
        state._isTriggeredByModifierKey = false;
        if (controller.pressTwiceToTrigger()) {
            // The second press of the same physical key within the window opens the switcher.
            const double now = controller.platform().runLoop.absoluteTime();
            if (keyCode == state._lastModifierKey &&
                withinPressTwiceWindow(now, state._lastTriggerKeyDownTime)) {
                controller.show();
                state._isTriggeredByModifierKey = true;
                answer = kSwallow;
            }
            state._lastTriggerKeyDownTime = now;
        } else {
            controller.show();
            state._isTriggeredByModifierKey = true;
        }
    }
    state._lastModifierKey = keyCode;
    return answer;
}

}  // namespace vantor
