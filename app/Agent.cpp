#include "app/Agent.h"

namespace vantor {

Agent::Agent(platform::Platform& platform)
    : ui_(platform.ui), app_(platform.ui), appDelegate_(std::make_unique<AppDelegate>(platform)) {
    ui_.setApplication(&app_);
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
    ui_.setApplication(nullptr);
}

}  // namespace vantor
