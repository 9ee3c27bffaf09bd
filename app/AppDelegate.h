// The application's controller: it starts and wires everything, owns the switcher model and
// the trigger state, keeps the overlay in step with the model, and forwards the event tap's
// commands to the model.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "input/TriggerController.h"
#include "overlay/DrawingWindow.h"
#include "overlay/HintOverlay.h"
#include "platform/KeyValueObserving.h"
#include "platform/Platform.h"
#include "platform/UI.h"
#include "prefs/PrefController.h"
#include "switcher/ProcList.h"
#include "update/NewVersionWindowController.h"

namespace vantor {

class AppDelegate : public TriggerController,
                    public TriggerSettings,
                    public PrefControllerDelegate,
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
    // The user opens the running application again: opens the preferences window when the
    // Accessibility permission was there at start. Answers true.
    bool applicationShouldHandleReopen(bool hasVisibleWindows);

    // Returns when the process holds the Accessibility permission. Otherwise shows the prompt
    // until the permission is granted, then relaunches the application and terminates; or the
    // user quits from the prompt. Either way it does not come back.
    void checkAx();
    // The permission was there at start.
    bool isAXPassed() const { return _isAXPassed; }

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
    void activateSelectedItem(bool dismiss) override;
    void quitSelectedItem() override;
    void hideSelectedItem() override;
    void selectItemByKey(std::string_view key) override;
    void quitItemByKey(std::string_view key) override;
    std::int32_t getMultiplexKeyCountForKey(std::string_view key) override;
    // Activates the key's application; when that worked and `dismiss` is set, hides the
    // overlay's content and cancels the switcher.
    void activateItemByKey(std::string_view key, bool dismiss) override;

    TriggerState& triggerState() override { return _triggerState; }
    platform::Platform& platform() override { return _platform; }
    bool showing() const override { return _procList->showing(); }

    std::uint64_t triggerModifierKey() const override { return _triggerModifierKey; }
    void setTriggerModifierKey(std::uint64_t key) override { _triggerModifierKey = key; }
    bool pressTwiceToTrigger() const override { return _pressTwiceToTrigger; }
    void setPressTwiceToTrigger(bool on) override { _pressTwiceToTrigger = on; }
    bool rightClickToTrigger() const override { return _rightClickToTrigger; }
    void setRightClickToTrigger(bool on) override { _rightClickToTrigger = on; }

    // Applies the stored settings at start: the login item, the trigger settings (repairing a
    // stored trigger modifier it cannot use), and the preferences window on a first start or
    // a new version.
    void applyUserDefaults();

    // The overlay window (not owned), set once the main layout is loaded.
    DrawingWindow* window() const { return _window; }
    void setWindow(DrawingWindow* window) { _window = window; }

    platform::Window* overlayWindow() override { return _window ? &_window->window() : nullptr; }
    // The overlays of the lists shown beside the current one on other displays, made as the
    // first such list appears and kept; those past the number of lists hide their content.
    const std::vector<std::unique_ptr<HintOverlay>>& otherOverlays() const {
        return _otherOverlays;
    }

    const platform::EventTap& tap() const override { return _tap; }
    void setTap(platform::EventTap tap) override { _tap = std::move(tap); }

    ProcList& procList() { return *_procList; }
    const platform::EventSource& passThruEventSource() const override {
        return _passThruEventSource;
    }

    // Opens the preferences window (the overlay's preferences button, the application opened
    // again, a first start), or brings the application forward when it is open.
    void showPref();
    void prefControllerDidClose() override;
    // The open preferences window's controller, or none.
    PrefController* prefController() const { return _prefController.get(); }

    // Starts the update check; a usable answer reaches handleVersionInfo ten seconds later.
    void beginCheckForUpdate();
    // Announces the version when it is newer than the running one and not skipped, unless an
    // announcement is open.
    void handleVersionInfo(const nlohmann::json& version, const nlohmann::json& whatsNew);
    // The open update announcement's controller, or none.
    NewVersionWindowController* newVerCtrl() const { return _newVerCtrl.get(); }

    // Actions of the main layout's controls, by name.
    void performAction(std::string_view action, platform::View* sender) override;

private:
    void observeValueForKeyPath(std::string_view keyPath, const void* object,
                                const platform::KeyValueChange& change,
                                const void* context) override;
    // Lays an overlay over each list the model shows beside the current one, with `notice`
    // under it; none when `visible` is off.
    void syncOtherOverlays(bool visible, const std::string& notice);

    platform::Platform& _platform;
    std::unique_ptr<NewVersionWindowController> _newVerCtrl;
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
    std::vector<std::unique_ptr<HintOverlay>> _otherOverlays;
    std::unique_ptr<PrefController> _prefController;
    std::unique_ptr<PrefController> _closedPrefController;
    // Blocks scheduled on the main queue (the update check's) hold a weak reference to this.
    std::shared_ptr<AppDelegate*> _self = std::make_shared<AppDelegate*>(this);
};

}  // namespace vantor
