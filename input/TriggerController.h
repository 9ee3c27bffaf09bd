// What the event tap callback and the deferred routines reach the application controller
// through: its trigger state, the commands they give the switcher, and the trigger settings.
#pragma once

#include <cstdint>
#include <string_view>

#include "input/TriggerState.h"
#include "platform/Platform.h"

namespace vantor {

class TriggerController {
public:
    TriggerController() = default;
    virtual ~TriggerController() = default;
    TriggerController(const TriggerController&) = delete;
    TriggerController& operator=(const TriggerController&) = delete;

    // The controller's trigger state: one object for the controller's whole life.
    virtual TriggerState& triggerState() = 0;
    // The same object, remembered after the first call, so that the tap's path of every key-down
    // reaches it without a virtual call.
    TriggerState& rememberedTriggerState() {
        if (!rememberedState_) rememberedState_ = &triggerState();
        return *rememberedState_;
    }
    // The platform the controller was made with.
    virtual platform::Platform& platform() = 0;
    // The switcher model's `showing`.
    virtual bool showing() const = 0;

    // Bring the switcher up (a synthetic Command-Tab) and send it away (clearing the key
    // state).
    virtual void show() = 0;
    virtual void dismiss() = 0;
    // Enables the tap again and clears the key state.
    virtual void reset() = 0;

    // Commands forwarded to the switcher model. The activations run after the tap's callback
    // has returned; `dismiss` then sends the switcher away.
    virtual void activateSelectedItem(bool dismiss = false) = 0;
    virtual void quitSelectedItem() = 0;
    virtual void hideSelectedItem() = 0;
    virtual void selectItemByKey(std::string_view key) = 0;
    virtual void quitItemByKey(std::string_view key) = 0;
    virtual std::int32_t getMultiplexKeyCountForKey(std::string_view key) = 0;
    virtual void activateItemByKey(std::string_view key, bool dismiss) = 0;

    // The trigger settings: the modifier flag bit (all bits set: none), press twice, and the
    // middle-button hold.
    virtual std::uint64_t triggerModifierKey() const = 0;
    virtual bool pressTwiceToTrigger() const = 0;
    virtual bool rightClickToTrigger() const = 0;

    // The keyboard and mouse event tap (empty until it has been created).
    virtual const platform::EventTap& tap() const = 0;
    virtual void setTap(platform::EventTap tap) = 0;
    // The source of the events the tap posts itself; they carry the event marker.
    virtual const platform::EventSource& passThruEventSource() const = 0;
    // The overlay window, whose content view takes the clicks made on the switcher; none
    // before the main layout has been loaded.
    virtual platform::Window* overlayWindow() = 0;

private:
    TriggerState* rememberedState_ = nullptr;
};

// The one application controller, as the tap callback and the deferred routines see it.
extern TriggerController* gAppDelegate;

}  // namespace vantor
