// The overlay window that lies exactly over the system switcher's list and shows the hint
// labels its DrawingView paints. It never takes the mouse and is never ordered out: its
// content is shown and hidden instead.
#pragma once

#include <string>

#include "overlay/DrawingView.h"
#include "platform/UI.h"
#include "switcher/ProcList.h"

namespace vantor {

// The window level key of the assistive-technology high level (kCGAssistiveTechHighWindowLevelKey).
inline constexpr std::int32_t kAssistiveTechHighWindowLevelKey = 20;

class DrawingWindow {
public:
    // Prepares the window the main layout made: not opaque, a clear background, the
    // assistive-technology high level, ignoring the mouse.
    DrawingWindow(platform::Window& window, platform::UI& ui);

    // Raises the level again, resets the alpha to 1 and hands the items to the view; the
    // caller asks for the redraw.
    void setCells(const ProcList::ItemMap* items);

    // Lies over the list at `listFrame` (screen coordinates), with room under it for the
    // notice's strip when there is one, and hands the notice to the view. The layout's controls
    // keep their place at the list's top-right corner.
    void placeOver(const platform::Rect& listFrame, std::string notice);

    DrawingView* drawingView() const { return drawingView_; }
    void setDrawingView(DrawingView* view) { drawingView_ = view; }

    platform::Window& window() const { return window_; }

private:
    platform::Window& window_;
    platform::UI& ui_;
    DrawingView* drawingView_ = nullptr;
    // The list's frame in the content view as last placed; at first the whole layout.
    platform::Rect listInView_;
    // The preferences button of the layout, if it has one.
    platform::View* prefButton_ = nullptr;
};

}  // namespace vantor
