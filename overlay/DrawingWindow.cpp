#include "overlay/DrawingWindow.h"

#include <optional>
#include <utility>

namespace vantor {

DrawingWindow::DrawingWindow(platform::Window& window, platform::UI& ui)
    : window_(window), ui_(ui) {
    window_.setOpaque(false);
    window_.setBackgroundColor(platform::Color::clearColor());
    window_.setLevel(ui_.windowLevelForKey(kAssistiveTechHighWindowLevelKey));
    window_.setIgnoresMouseEvents(true);
    listInView_ = {{0, 0}, window_.frame().size};
    prefButton_ = platform::findViewWithIdentifier(window_.contentView(), "prefBtn");
}

void DrawingWindow::placeOver(const platform::Rect& listFrame, std::string notice) {
    const OverlayPlacement placement = overlayPlacement(listFrame, !notice.empty());
    if (drawingView_) {
        drawingView_->setNotice(std::move(notice));
        drawingView_->setPlacement(placement);
    }
    if (window_.frame() == placement.windowFrame) return;
    const std::optional<platform::Rect> button =
        prefButton_ ? std::optional(prefButton_->frame()) : std::nullopt;
    window_.setFrame(placement.windowFrame, true);
    if (button) {
        // Moved with the list's top-right corner, wherever the window's edges went.
        const platform::Rect& was = listInView_;
        const platform::Rect& now = placement.listInView;
        platform::Rect moved = *button;
        moved.origin.x += (now.origin.x + now.size.width) - (was.origin.x + was.size.width);
        moved.origin.y += (now.origin.y + now.size.height) - (was.origin.y + was.size.height);
        prefButton_->setFrame(moved);
    }
    listInView_ = placement.listInView;
}

void DrawingWindow::setCells(const ProcList::ItemMap* items) {
    window_.setLevel(ui_.windowLevelForKey(kAssistiveTechHighWindowLevelKey));
    window_.setAlphaValue(1.0);
    if (drawingView_) drawingView_->setItems(items);
}

}  // namespace vantor
