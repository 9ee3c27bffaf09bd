#include "overlay/HintOverlay.h"

namespace vantor {

HintOverlay::HintOverlay(platform::UI& ui, platform::ActionTarget& owner)
    : layout_(ui.loadLayout("MainMenu", owner)) {
    if (!layout_.window) return;
    window_ = std::make_unique<DrawingWindow>(*layout_.window, ui);
    layout_.window->contentView().setBehaviour(&view_);
    view_.awakeFromNib();
    window_->setDrawingView(&view_);
}

HintOverlay::~HintOverlay() {
    if (layout_.window) layout_.window->contentView().setBehaviour(nullptr);
}

}  // namespace vantor
