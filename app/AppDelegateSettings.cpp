// The controller's side of the user's settings: applying them at start, and the preferences
// window it opens and closes.
#include "app/AppDelegate.h"
#include "prefs/SettingsKeys.h"

namespace vantor {

namespace {

constexpr std::uint64_t kNoTriggerModifier = ~std::uint64_t{0};

bool isTriggerModifier(std::int64_t value) {
    return value == 0x20000 || value == 0x40000 || value == 0x80000 || value == 0x100000;
}

}  // namespace

void AppDelegate::applyUserDefaults() {
    platform::Settings& settings = _platform.settings;

    _platform.process.loginItemSetEnabled(kLoginItemBundleIdentifier,
                                          settings.boolForKey(kLaunchAtStartupKey));

    const std::int64_t modifier = settings.integerForKey(kTriggerModifierKeyKey);
    if (isTriggerModifier(modifier)) {
        setTriggerModifierKey(static_cast<std::uint64_t>(modifier));
    } else if (modifier == -1) {
        setTriggerModifierKey(kNoTriggerModifier);
    } else {
        // Absent or not one of the accepted values: the current one is written back.
        settings.setInteger(kTriggerModifierKeyKey, static_cast<std::int64_t>(_triggerModifierKey));
    }

    setPressTwiceToTrigger(!settings.hasKey(kPressTwiceToTriggerKey) ||
                           settings.boolForKey(kPressTwiceToTriggerKey));
    setRightClickToTrigger(!settings.hasKey(kRightClickToTriggerKey) ||
                           settings.boolForKey(kRightClickToTriggerKey));

    // The first start, and the first start of every new version, open the preferences.
    const std::string version = _platform.process.infoValue(kShortVersionInfoKey);
    if (settings.stringForKey(kCurrentVersionKey) != version) {
        settings.setString(kCurrentVersionKey, version);
        showPref();
    }
}

void AppDelegate::showPref() {
    if (_prefController) {
        _platform.ui.activateIgnoringOtherApps(true);
        return;
    }
    setWindowVisible(false);
    _prefController = std::make_unique<PrefController>(_platform, *this);
    _prefController->setDelegate(this);
    _prefController->showWindow();
}

void AppDelegate::prefControllerDidClose() {
    // Called from the closing window's own delegate call: the controller and its window go
    // once that call has returned.
    _closedPrefController = std::move(_prefController);
    std::weak_ptr<AppDelegate*> weak = _self;
    _platform.runLoop.dispatchAfter(0, [weak] {
        if (auto self = weak.lock()) (*self)->_closedPrefController.reset();
    });
}

}  // namespace vantor
