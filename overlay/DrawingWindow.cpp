#include "overlay/DrawingWindow.h"

namespace vantor {

DrawingWindow::DrawingWindow(platform::Window& window, platform::UI& ui)
    : window_(window), ui_(ui) {
    window_.setOpaque(false);
    window_.setBackgroundColor(platform::Color::clearColor());
    window_.setLevel(ui_.windowLevelForKey(kAssistiveTechHighWindowLevelKey));
    window_.setIgnoresMouseEvents(true);
}

void DrawingWindow::setCells(const ProcList::ItemMap* items) {
    window_.setLevel(ui_.windowLevelForKey(kAssistiveTechHighWindowLevelKey));
    window_.setAlphaValue(1.0);
    if (drawingView_) drawingView_->setItems(items);
}

}  // namespace vantor
