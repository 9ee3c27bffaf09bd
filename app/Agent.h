// The running application as a whole: its controller and the overlay window that the main
// window layout holds, connected as the application's start connects them.
#pragma once

#include <memory>

#include "app/AppDelegate.h"
#include "overlay/DrawingView.h"
#include "overlay/DrawingWindow.h"
#include "platform/Platform.h"
#include "platform/UI.h"

namespace vantor {

class Agent {
public:
    // The application starts: the controller is created, then the main layout is loaded
    // with the controller as owner and its overlay window is handed to the controller.
    explicit Agent(platform::Platform& platform);
    ~Agent();
    Agent(const Agent&) = delete;
    Agent& operator=(const Agent&) = delete;

    void applicationDidFinishLaunching() { appDelegate_->applicationDidFinishLaunching(); }

    AppDelegate& appDelegate() { return *appDelegate_; }
    DrawingWindow* overlay() { return window_.get(); }
    DrawingView& drawingView() { return drawingView_; }

private:
    DrawingView drawingView_;
    platform::LoadedLayout mainMenu_;
    std::unique_ptr<DrawingWindow> window_;
    std::unique_ptr<AppDelegate> appDelegate_;
};

}  // namespace vantor
