#include "permission/AXAlertController.h"

namespace vantor {

AXAlertController::AXAlertController(platform::Platform& platform)
    : _platform(platform), _self(std::make_shared<AXAlertController*>(this)) {}

AXAlertController::~AXAlertController() {
    _self.reset();
}

platform::Window& AXAlertController::window() {
    if (!_layout.window) {
        _layout = _platform.ui.loadLayout("AXAlert", *this);
        _alert = std::make_unique<AXAlert>(*_layout.window, _platform.ui);
        _alert->awakeFromNib();
    }
    return *_layout.window;
}

void AXAlertController::schedulePoll(double delay) {
    std::weak_ptr<AXAlertController*> weak = _self;
    _platform.runLoop.performAfterDelay(
        delay,
        [weak] {
            if (const auto self = weak.lock()) (*self)->pollCheckAX();
        },
        {platform::RunLoopMode::Default, platform::RunLoopMode::ModalPanel});
}

void AXAlertController::pollCheckAX() {
    if (!_platform.accessibility.isProcessTrusted()) {
        schedulePoll(kPollInterval);
        return;
    }
    _platform.log.log("AXAlertController: PASS");
    _platform.ui.stopModal();
    window().close();
}

void AXAlertController::showWindow() {
    if (_platform.accessibility.isProcessTrusted()) return;
    schedulePoll(0.0);
    _platform.ui.runModal(window());
}

void AXAlertController::allow() {
    // The answer is not used: the polling notices when the permission arrives.
    (void)_platform.accessibility.isProcessTrustedWithOptions(true);
}

void AXAlertController::quit() {
    _platform.process.terminate();
}

void AXAlertController::performAction(std::string_view action, platform::View*) {
    if (action == "allow:") {
        allow();
    } else if (action == "quit:") {
        quit();
    }
}

}  // namespace vantor
