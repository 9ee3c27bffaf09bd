// The running application as a whole: its controller and the overlay window that the main
// window layout holds, connected as the application's start connects them.
#pragma once

#include <memory>

#include "app/App.h"
#include "app/AppDelegate.h"
#include "overlay/DrawingView.h"
#include "overlay/DrawingWindow.h"
#include "overlay/HintOverlay.h"
#include "platform/Platform.h"
#include "platform/UI.h"

namespace vantor {

class Agent {
public:
    // The application starts: the controller is created and the application object installed
    // (every event the application receives goes through its sendEvent), then the main layout
    // is loaded with the controller as owner and its overlay window is handed to the
    // controller.
    explicit Agent(platform::Platform& platform);
    ~Agent();
    Agent(const Agent&) = delete;
    Agent& operator=(const Agent&) = delete;

    void applicationDidFinishLaunching() { appDelegate_->applicationDidFinishLaunching(); }

    App& app() { return app_; }
    AppDelegate& appDelegate() { return *appDelegate_; }
    DrawingWindow* overlay() { return overlay_ ? overlay_->window() : nullptr; }
    DrawingView& drawingView() { return overlay_->view(); }

private:
    platform::UI& ui_;
    App app_;
    std::unique_ptr<AppDelegate> appDelegate_;
    std::unique_ptr<HintOverlay> overlay_;
};

}  // namespace vantor
