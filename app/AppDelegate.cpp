#include "app/AppDelegate.h"

#include "input/EventTapCallback.h"
#include "overlay/SecureInputNotice.h"
#include "permission/AXAlertController.h"
#include "permission/RelaunchCommand.h"
#include "update/UpdateCheck.h"

namespace vantor {

namespace {

// Shows an overlay's content over a list (screen coordinates) with these items, redrawn, and
// the notice under the list.
void layOverList(DrawingWindow& window, const ProcList::ItemMap& items,
                 const platform::Rect& listFrame, const std::string& notice) {
    window.setCells(&items);
    platform::View& content = window.window().contentView();
    content.setNeedsDisplay(true);
    content.setHidden(false);
    window.placeOver(listFrame, notice);
}

// Identify the controller's two observations of the model.
const int kShowingContext = 0;
const int kItemsContext = 0;

}  // namespace

AppDelegate::AppDelegate(platform::Platform& platform) : _platform(platform) {
    gAppDelegate = this;
    _procList = std::make_unique<ProcList>(platform);
    _procList->addObserver(*this, "showing", platform::kKeyValueObservingOptionNew,
                           &kShowingContext);
    _procList->addObserver(*this, "items", platform::kKeyValueObservingOptionNew, &kItemsContext);
    _passThruEventSource = platform.events.sourceCreate(platform::EventSourceStateID::Private);
    platform.events.sourceSetUserData(_passThruEventSource, kEventMarkerUserData);
}

AppDelegate::~AppDelegate() {
    _procList->removeObserver(*this, "showing");
    _procList->removeObserver(*this, "items");
    if (gAppDelegate == this) gAppDelegate = nullptr;
}

void AppDelegate::applicationDidFinishLaunching() {
    _processActivity =
        _platform.process.beginActivity(platform::kActivityLatencyCritical, "Latency Critical");
    // Without the permission the process ends in there, and nothing below may run.
    checkAx();
    if (!_isAXPassed) return;
    applyUserDefaults();
    beginCheckForUpdate();
    installEventTap(*this);
    reset();
}

void AppDelegate::checkAx() {
    if (_platform.accessibility.isProcessTrusted()) {
        _isAXPassed = true;
        return;
    }
    // Blocks in the prompt's modal loop until the permission has been granted; a quit from the
    // prompt ends the process in there.
    AXAlertController alertController(_platform);
    alertController.showWindow();
    // A new process starts with the permission; this one ends.
    _platform.process.launchTask("/bin/sh",
                                 {"-c", relaunchCommand(_platform.process.processIdentifier(),
                                                        _platform.process.bundlePath())});
    _platform.process.terminate();
}

bool AppDelegate::applicationShouldHandleReopen(bool) {
    if (_isAXPassed) showPref();
    return true;
}

void AppDelegate::observeValueForKeyPath(std::string_view, const void*,
                                         const platform::KeyValueChange&, const void* context) {
    // Any other observation would go to the superclass, which has nothing to do with it.
    if (context == &kShowingContext || context == &kItemsContext) syncProcListWithWindow();
}

void AppDelegate::reset() {
    _triggerState.clearKeyState();
    if (_tap) _platform.events.tapEnable(_tap, true);
    setWindowVisible(false);
    if (_window) _window->window().makeKeyAndOrderFront();
}

void AppDelegate::setWindowVisible(bool visible) {
    if (_window) _window->window().contentView().setHidden(!visible);
    if (!visible) syncOtherOverlays(false, {});
}

void AppDelegate::syncProcListWithWindow() {
    if (_procList->showing() && !_procList->listStalled()) {
        // Secure Input is looked at here, at every show and redraw, never per event.
        const std::string notice = secureInputNotice(_platform.events, _platform.workspace);
        if (_window) layOverList(*_window, _procList->items(), _procList->frame(), notice);
        syncOtherOverlays(true, notice);
    } else {
        setWindowVisible(false);
        _triggerState.clearKeyState();
    }
}

void AppDelegate::syncOtherOverlays(bool visible, const std::string& notice) {
    const std::vector<ProcList::OtherList>& lists = _procList->otherLists();
    const std::size_t shown = visible ? lists.size() : 0;
    while (_otherOverlays.size() < shown) {
        auto overlay = std::make_unique<HintOverlay>(_platform.ui, *this);
        if (DrawingWindow* window = overlay->window()) window->window().makeKeyAndOrderFront();
        _otherOverlays.push_back(std::move(overlay));
    }
    for (std::size_t i = 0; i < _otherOverlays.size(); ++i) {
        DrawingWindow* window = _otherOverlays[i]->window();
        if (!window) continue;
        platform::View& content = window->window().contentView();
        if (i >= shown) {
            // The items it painted belong to a list that has gone.
            window->setCells(nullptr);
            content.setHidden(true);
            continue;
        }
        layOverList(*window, lists[i].items, lists[i].frame, notice);
    }
}

void AppDelegate::show() {
    _procList->show();
}

void AppDelegate::dismiss() {
    _procList->dismiss();
    _triggerState.clearKeyState();
}

// Activations start or switch applications, which may take long: they run once the tap's
// callback has returned, from the main queue. What to activate is read at once, while the
// switcher still shows.
void AppDelegate::activateSelectedItem(bool dismiss) {
    if (_procList->listStalled()) {
        // Which icon is highlighted cannot be read: the switcher itself switches to it.
        _procList->switchToSelectedItem();
        return;
    }
    std::optional<ProcList::SelectedItem> selected = _procList->selectedItem();
    if (!selected && !dismiss) return;
    std::weak_ptr<AppDelegate*> weak = _self;
    _platform.runLoop.dispatchAfter(0, [weak, selected = std::move(selected), dismiss] {
        const auto self = weak.lock();
        if (!self) return;
        if (selected) (*self)->_procList->activateItem(*selected);
        if (dismiss) (*self)->dismiss();
    });
}
void AppDelegate::quitSelectedItem() {
    _procList->quitSelectedItem();
}
void AppDelegate::hideSelectedItem() {
    _procList->hideSelectedItem();
}
void AppDelegate::selectItemByKey(std::string_view key) {
    _procList->selectItemByKey(key);
}
void AppDelegate::quitItemByKey(std::string_view key) {
    _procList->quitItemForKey(key);
}

std::int32_t AppDelegate::getMultiplexKeyCountForKey(std::string_view key) {
    return _procList->getMultiplexCountForKey(key);
}

void AppDelegate::activateItemByKey(std::string_view key, bool dismiss) {
    std::weak_ptr<AppDelegate*> weak = _self;
    _platform.runLoop.dispatchAfter(0, [weak, key = std::string(key), dismiss] {
        const auto self = weak.lock();
        if (!self) return;
        AppDelegate& app = **self;
        if (app._procList->activateItemForKey(key) && dismiss) {
            app.setWindowVisible(false);
            app._procList->dismiss();
        }
    });
}

void AppDelegate::beginCheckForUpdate() {
    std::weak_ptr<AppDelegate*> weak = _self;
    vantor::beginCheckForUpdate(
        _platform, [weak](const nlohmann::json& version, const nlohmann::json& whatsNew) {
            if (const auto self = weak.lock()) (*self)->handleVersionInfo(version, whatsNew);
        });
}

void AppDelegate::handleVersionInfo(const nlohmann::json& version, const nlohmann::json& whatsNew) {
    if (!shouldAnnounceVersion(_platform, version, whatsNew, _newVerCtrl != nullptr)) return;
    _newVerCtrl = std::make_unique<NewVersionWindowController>(
        _platform, NewVersionWindowController::kWindowNibName, version.get<std::string>(),
        whatsNew.get<std::string>());
    // The controller goes when its window closes; it never outlives this controller.
    _newVerCtrl->setOnClosed([this] { _newVerCtrl.reset(); });
    _newVerCtrl->showWindow();
}

void AppDelegate::performAction(std::string_view action, platform::View*) {
    if (action == "showPref:") showPref();
}

}  // namespace vantor
