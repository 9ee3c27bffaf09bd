// The running application as a whole: its controller and the overlay window that the main
// window layout holds, connected as the application's start connects them.
#pragma once

#include <memory>

#include "app/App.h"
#include "app/AppDelegate.h"
#include "overlay/DrawingView.h"
#include "overlay/DrawingWindow.h"
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
    DrawingWindow* overlay() { return window_.get(); }
    DrawingView& drawingView() { return drawingView_; }

private:
    platform::UI& ui_;
    App app_;
    DrawingView drawingView_;
    platform::LoadedLayout mainMenu_;
    std::unique_ptr<DrawingWindow> window_;
    std::unique_ptr<AppDelegate> appDelegate_;
};

}  // namespace vantor
