// The application's controller: it starts and wires everything, owns the switcher model and
// the trigger state, keeps the overlay in step with the model, and forwards the event tap's
// commands to the model.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "input/TriggerController.h"
#include "overlay/DrawingWindow.h"
#include "platform/KeyValueObserving.h"
#include "platform/Platform.h"
#include "platform/UI.h"
#include "switcher/ProcList.h"

namespace vantor {

class AppDelegate : public TriggerController,
                    public platform::KeyValueObserver,
                    public platform::ActionTarget {
public:
    // Creates the model and observes its "showing" and "items", makes the pass-through event
    // source and sets the trigger state to its start values. Becomes gAppDelegate.
    explicit AppDelegate(platform::Platform& platform);
    ~AppDelegate() override;
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    // The startup sequence, once the application has finished launching.
    void applicationDidFinishLaunching();

    // Hint key state cleared, tap enabled, overlay content hidden, overlay ordered front.
    void reset() override;

    // Keeps the overlay in step with the model: shows it over the list with the new items, or
    // hides it and clears the key state.
    void syncProcListWithWindow();
    // Shows or hides the overlay's content; the window itself stays.
    void setWindowVisible(bool visible);

    // Bring the switcher up, and send it away clearing the key state.
    void show() override;
    void dismiss() override;

    // Commands forwarded to the model.
    void activateSelectedItem() override;
    void quitSelectedItem() override;
    void hideSelectedItem() override;
    void selectItemByKey(std::string_view key) override;
    void quitItemByKey(std::string_view key) override;
    std::int32_t getMultiplexKeyCountForKey(std::string_view key) override;
    // Activates the key's application; when that worked and `dismiss` is set, hides the
    // overlay's content and cancels the switcher.
    void activateItemByKey(std::string_view key, bool dismiss) override;

    TriggerState& triggerState() override { return _triggerState; }
    bool showing() const override { return _procList->showing(); }

    std::uint64_t triggerModifierKey() const override { return _triggerModifierKey; }
    void setTriggerModifierKey(std::uint64_t key) { _triggerModifierKey = key; }
    bool pressTwiceToTrigger() const override { return _pressTwiceToTrigger; }
    void setPressTwiceToTrigger(bool on) { _pressTwiceToTrigger = on; }
    bool rightClickToTrigger() const override { return _rightClickToTrigger; }
    void setRightClickToTrigger(bool on) { _rightClickToTrigger = on; }

    // The overlay window (not owned), set once the main layout is loaded.
    DrawingWindow* window() const { return _window; }
    void setWindow(DrawingWindow* window) { _window = window; }

    ProcList& procList() { return *_procList; }
    const platform::EventSource& passThruEventSource() const { return _passThruEventSource; }

    // Actions of the main layout's controls, by name.
    void performAction(std::string_view action, platform::View* sender) override;

private:
    void observeValueForKeyPath(std::string_view keyPath, const void* object,
                                const platform::KeyValueChange& change,
                                const void* context) override;

    platform::Platform& _platform;
    std::unique_ptr<ProcList> _procList;
    platform::EventTap _tap;
    TriggerState _triggerState;
    bool _isAXPassed = false;
    platform::ActivityToken _processActivity;
    platform::EventSource _passThruEventSource;
    bool _pressTwiceToTrigger = false;
    bool _rightClickToTrigger = false;
    std::uint64_t _triggerModifierKey = platform::kEventFlagMaskAlternate;
    DrawingWindow* _window = nullptr;
};

}  // namespace vantor
