#include "prefs/PrefController.h"

#include <fmt/format.h>

#include "prefs/SettingsKeys.h"

namespace vantor {

namespace {

bool isOn(const platform::View& control) {
    return control.state() == platform::ControlState::On;
}

}  // namespace

PrefController::PrefController(platform::Platform& platform, TriggerSettings& triggerSettings)
    : _platform(platform),
      _triggerSettings(triggerSettings),
      _self(std::make_shared<PrefController*>(this)) {}

PrefController::~PrefController() {
    if (_layout.window) _layout.window->setDelegate(nullptr);
    if (linkLabel) linkLabel->setBehaviour(nullptr);
}

void PrefController::showWindow() {
    if (!_layout.window) {
        _layout = _platform.ui.loadLayout("PrefWindow", *this);
        if (!_layout.window) return;
        _layout.window->setDelegate(this);
        settingsView = _layout.viewWithIdentifier("settingsView");
        aboutView = _layout.viewWithIdentifier("aboutView");
        linkLabel = _layout.viewWithIdentifier("linkLabel");
        labelVersion = _layout.viewWithIdentifier("labelVersion");
        if (linkLabel) _linkBehaviour.awakeFromNib(*linkLabel);
        awakeFromNib();
    }
    _layout.window->makeKeyAndOrderFront();
    _platform.ui.activateIgnoringOtherApps(true);
}

void PrefController::awakeFromNib() {
    _layout.window->setLevel(_platform.ui.windowLevelForKey(kFloatingWindowLevelKey));
    if (labelVersion) {
        labelVersion->setStringValue(
            fmt::format("版本 {}", _platform.process.infoValue(kShortVersionInfoKey)));
    }
    selectTab(_initialTab ? std::string_view(*_initialTab) : kSettingsTab);
    applyUserDefaults();
}

platform::View* PrefController::settingsControl(std::string_view identifier) const {
    if (!settingsView) return nullptr;
    for (platform::View* view : settingsView->subviews()) {
        if (!view->identifier().empty() && view->identifier() == identifier) return view;
    }
    return nullptr;
}

void PrefController::applyUserDefaults() {
    platform::Settings& settings = _platform.settings;
    const auto onOff = [](bool on) {
        return on ? platform::ControlState::On : platform::ControlState::Off;
    };
    if (platform::View* check = settingsControl("check_auto_launch"))
        check->setState(onOff(settings.boolForKey(kLaunchAtStartupKey)));
    if (platform::View* group = settingsControl("group_trigger_key")) {
        const std::int64_t stored = settings.integerForKey(kTriggerModifierKeyKey);
        for (platform::View* radio : group->subviews()) {
            if (radio->tag() == stored) {
                radio->setState(platform::ControlState::On);
                break;
            }
        }
    }
    if (platform::View* check = settingsControl("check_press_twice")) {
        const bool on = !settings.hasKey(kPressTwiceToTriggerKey) ||
                        settings.boolForKey(kPressTwiceToTriggerKey);
        check->setState(onOff(on));
    }
    if (platform::View* check = settingsControl("check_rightclick_trigger"))
        check->setState(onOff(_triggerSettings.rightClickToTrigger()));
}

void PrefController::toggleAutoLaunch(platform::View& sender) {
    const bool on = isOn(sender);
    if (!_platform.process.loginItemSetEnabled(kLoginItemBundleIdentifier, on))
        _platform.log.log("PrefController: SMLoginItemSetEnabled FAIL");
    _platform.settings.setBool(kLaunchAtStartupKey, on);
}

void PrefController::chooseTriggerKey(platform::View& sender) {
    const std::int64_t value = sender.tag();
    _triggerSettings.setTriggerModifierKey(static_cast<std::uint64_t>(value));
    _platform.settings.setInteger(kTriggerModifierKeyKey, value);
}

void PrefController::toggleTapTwiceTrigger(platform::View& sender) {
    const bool on = isOn(sender);
    _platform.settings.setBool(kPressTwiceToTriggerKey, on);
    _triggerSettings.setPressTwiceToTrigger(on);
}

void PrefController::toggleRightClickTrigger(platform::View& sender) {
    const bool on = isOn(sender);
    _platform.settings.setBool(kRightClickToTriggerKey, on);
    _triggerSettings.setRightClickToTrigger(on);
}

void PrefController::selectTab(std::string_view tabId) {
    if (platform::Toolbar* toolbar = _layout.window ? _layout.window->toolbar() : nullptr)
        toolbar->setSelectedItemIdentifier(tabId);
    showTabView(tabViewForTabId(tabId));
}

void PrefController::switchTab(platform::View& sender) {
    showTabView(tabViewForTabId(sender.identifier()));
}

platform::View* PrefController::tabViewForTabId(std::string_view tabId) const {
    if (tabId == kSettingsTab) return settingsView;
    if (tabId == kAboutTab) return aboutView;
    return nullptr;
}

void PrefController::showTabView(platform::View* page) {
    // No page for that identifier: the window stays as it is.
    if (!page || !_layout.window) return;
    platform::Window& window = *_layout.window;
    const platform::Size content = window.contentView().frame().size;
    const platform::Size wanted = page->frame().size;
    const double dw = wanted.width - content.width;
    const double dh = wanted.height - content.height;
    platform::Rect frame = window.frame();
    frame.origin.y -= dh;
    frame.size.width += dw;
    frame.size.height += dh;
    if (_currentPage) _currentPage->removeFromSuperview();
    window.setFrame(frame, true, true);
    window.contentView().addSubview(*page);
    _currentPage = page;
}

void PrefController::quitApp() {
    _platform.process.terminate();
}

void PrefController::visitLink(platform::View& sender) {
    // A second click within half a second is ignored.
    sender.setEnabled(false);
    std::weak_ptr<PrefController*> weak = _self;
    platform::View* link = &sender;
    _platform.runLoop.dispatchAfter(0.5, [weak, link] {
        // The link lives as long as the window, which this controller holds.
        if (weak.lock()) link->setEnabled(true);
    });
    if (sender.tag() != kProductPageTag) return;
    const std::string server = _platform.process.infoValue(kWebServerInfoKey);
    if (!server.empty()) _platform.workspace.openURL(server + "/projects/vantor");
}

void PrefController::windowWillClose(platform::Window&) {
    _platform.settings.synchronize();
    _platform.log.log("windowWillClose");
    if (_delegate) _delegate->prefControllerDidClose();
}

void PrefController::performAction(std::string_view action, platform::View* sender) {
    if (action == "quitApp:") return quitApp();
    if (!sender) return;
    if (action == "toggleAutoLaunch:") return toggleAutoLaunch(*sender);
    if (action == "chooseTriggerKey:") return chooseTriggerKey(*sender);
    if (action == "toggleTapTwiceTrigger:") return toggleTapTwiceTrigger(*sender);
    if (action == "toggleRightClickTrigger:") return toggleRightClickTrigger(*sender);
    if (action == "switchTab:") return switchTab(*sender);
    if (action == "visitLink:") return visitLink(*sender);
}

}  // namespace vantor
