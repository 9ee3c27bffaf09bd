// The Accessibility permission prompt's controller (a window controller of the "AXAlert"
// layout). While the process lacks the permission it shows the prompt modally and polls every
// 0.3 s until the permission is there; the prompt's buttons ask the platform for the
// permission ("allow:") or end the application ("quit:").
#pragma once

#include <memory>
#include <string_view>

#include "permission/AXAlert.h"
#include "platform/Platform.h"
#include "platform/UI.h"

namespace vantor {

class AXAlertController : public platform::ActionTarget {
public:
    // Seconds between two polls while the prompt is up.
    static constexpr double kPollInterval = 0.3;

    // initWithWindowNibName: "AXAlert"; the window loads when it is first needed.
    explicit AXAlertController(platform::Platform& platform);
    // A poll still scheduled finds the controller gone and does nothing.
    ~AXAlertController() override;
    AXAlertController(const AXAlertController&) = delete;
    AXAlertController& operator=(const AXAlertController&) = delete;

    // One poll: without the permission the next poll follows in 0.3 s; with it, the log line
    // "AXAlertController: PASS", the modal loop stops and the window closes.
    void pollCheckAX();
    // With the permission already there, returns at once and shows nothing. Otherwise the
    // first poll is due at once and the window runs modally; returns once a poll has stopped
    // the modal loop.
    void showWindow();
    // Asks the platform to request the permission from the user, on every press; the polling
    // notices when it arrives.
    void allow();
    // Ends the application.
    void quit();

    void performAction(std::string_view action, platform::View* sender) override;

    // The prompt's window, loaded (and styled) on first use.
    platform::Window& window();
    // The window's own class, once loaded.
    const AXAlert* alert() const { return _alert.get(); }

private:
    // pollCheckAX after `delay` seconds, in the default and the modal-panel modes.
    void schedulePoll(double delay);

    platform::Platform& _platform;
    platform::LoadedLayout _layout;
    std::unique_ptr<AXAlert> _alert;
    // Scheduled polls hold it weakly.
    std::shared_ptr<AXAlertController*> _self;
};

}  // namespace vantor
