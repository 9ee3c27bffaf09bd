// One overlay window with the view that paints its hint labels: a window of the main layout,
// prepared as DrawingWindow prepares it, its content view painted by a DrawingView of its own.
#pragma once

#include <memory>

#include "overlay/DrawingView.h"
#include "overlay/DrawingWindow.h"
#include "platform/UI.h"

namespace vantor {

class HintOverlay {
public:
    // Loads the main layout with `owner` receiving its controls' actions (the preferences
    // button). Without such a layout there is no window.
    HintOverlay(platform::UI& ui, platform::ActionTarget& owner);
    ~HintOverlay();
    HintOverlay(const HintOverlay&) = delete;
    HintOverlay& operator=(const HintOverlay&) = delete;

    // The prepared window, or null when the layout could not be loaded.
    DrawingWindow* window() const { return window_.get(); }
    DrawingView& view() { return view_; }

private:
    DrawingView view_;
    platform::LoadedLayout layout_;
    std::unique_ptr<DrawingWindow> window_;
};

}  // namespace vantor
