#include "app/Agent.h"

namespace vantor {

Agent::Agent(platform::Platform& platform) : appDelegate_(std::make_unique<AppDelegate>(platform)) {
    mainMenu_ = platform.ui.loadLayout("MainMenu", *appDelegate_);
    if (!mainMenu_.window) return;
    window_ = std::make_unique<DrawingWindow>(*mainMenu_.window, platform.ui);
    mainMenu_.window->contentView().setBehaviour(&drawingView_);
    drawingView_.awakeFromNib();
    window_->setDrawingView(&drawingView_);
    appDelegate_->setWindow(window_.get());
}

Agent::~Agent() {
    // The controller goes first: nothing may reach the window through it afterwards.
    appDelegate_.reset();
    if (mainMenu_.window) mainMenu_.window->contentView().setBehaviour(nullptr);
}

}  // namespace vantor
