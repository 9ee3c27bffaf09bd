#include "update/NewVersionWindowController.h"

#include <fmt/format.h>

#include <utility>

#include "update/UpdateCheck.h"

namespace vantor {

NewVersionWindowController::NewVersionWindowController(platform::Platform& platform,
                                                       std::string_view windowNibName,
                                                       std::string newVersion, std::string whatsNew)
    : _platform(platform),
      _windowNibName(windowNibName),
      _ver(std::move(newVersion)),
      _whatsNew(std::move(whatsNew)) {}

NewVersionWindowController::~NewVersionWindowController() {
    // The window goes with the layout; it must not call back into what is left of this.
    if (_layout.window) _layout.window->setDelegate(nullptr);
    _platform.log.log("NewVersionCtroller.dealloc");
}

void NewVersionWindowController::showWindow() {
    if (!_layout.window) {
        _layout = _platform.ui.loadLayout(_windowNibName, *this);
        if (!_layout.window) return;
        _layout.window->setDelegate(this);
        _txtVersion = _layout.viewWithIdentifier("txtVersion");
        _txtWhatsNew = _layout.viewWithIdentifier("txtWhatsNew");
        windowDidLoad();
    }
    _layout.window->makeKeyAndOrderFront();
}

void NewVersionWindowController::windowDidLoad() {
    platform::Window& window = *_layout.window;
    window.setTitlebarAppearsTransparent(true);
    window.setTitleVisibility(platform::kWindowTitleHidden);
    window.setOpaque(false);
    window.setLevel(_platform.ui.windowLevelForKey(kFloatingWindowLevelKey));
    if (_txtWhatsNew) _txtWhatsNew->setTextContainerInset(kNotesInset);
    if (_txtVersion) {
        _txtVersion->setStringValue(
            fmt::format("{} \u2192 {}", _platform.process.infoValue(kRunningVersionInfoKey), _ver));
    }
    if (_txtWhatsNew) _txtWhatsNew->setStringValue(_whatsNew);
}

void NewVersionWindowController::windowWillClose(platform::Window&) {
    // onClosed may release this controller, and the block with it: call a copy.
    if (const std::function<void()> onClosed = _onClosed) onClosed();
}

void NewVersionWindowController::skipThisVersion() {
    _platform.settings.setString(kSkipVersionKey, _ver);
    closeWindow();
}

void NewVersionWindowController::mindLater() {
    closeWindow();
}

void NewVersionWindowController::download() {
    _platform.workspace.openURL(_platform.process.infoValue(kUpdateServerInfoKey) +
                                std::string(kProductPagePath));
    closeWindow();
}

void NewVersionWindowController::closeWindow() {
    // Nothing of this controller is touched after close: windowWillClose may have released it.
    if (platform::Window* window = _layout.window.get()) window->close();
}

void NewVersionWindowController::performAction(std::string_view action, platform::View*) {
    if (action == "skipThisVersion:") return skipThisVersion();
    if (action == "mindLater:") return mindLater();
    if (action == "download:") return download();
}

}  // namespace vantor
