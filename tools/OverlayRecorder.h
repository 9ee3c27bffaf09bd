// Watches the agent's overlay for the scenario player: it stands between the overlay's content
// view and the agent's DrawingView, so every draw of the labels passes through it and what was
// drawn where (each string with its rectangle on screen) is kept; and it displays the overlay
// when it needs it, as the window server would at the end of a run-loop pass: when its content
// has just appeared, moved, or was marked as needing display. A notice drawn under the list is
// kept apart from the labels.
#pragma once

#include <string>
#include <vector>

#include "overlay/DrawingView.h"
#include "platform/Geometry.h"
#include "platform/UI.h"
#include "platform/sim/SimScreens.h"
#include "platform/sim/SimWindow.h"

namespace vantor::tools {

// One string a draw put on screen, its rectangle in Accessibility coordinates (origin at the
// first screen's top-left corner, y down), as the Dock's frames are.
struct DrawnString {
    std::string text;
    platform::Rect frame;
};

class OverlayRecorder final : public platform::ViewBehaviour {
public:
    enum class Change { None, Shows, Moves, Redraws, Hides };

    // Comes between `window`'s content view and `view`, the behaviour it had; the window lies on
    // `screens`, which outlive the recorder's use.
    void attach(sim::SimWindow& window, DrawingView& view, const sim::SimScreens& screens);
    // Gives the content view its own behaviour back.
    void detach();

    void drawRect(platform::Canvas& canvas, const platform::Rect& dirtyRect) override;
    bool mouseUp(platform::View& view) override;

    // Displays the overlay's content when it needs it and says what changed on screen since the
    // last call.
    Change displayIfNeeded();

    // Whether the overlay's content is on screen now.
    bool visible() const;
    // The strings of the last draw, in the order drawn; empty before the first.
    const std::vector<DrawnString>& lastDraw() const { return lastDraw_; }
    // The notice the last draw put under the list; empty when it drew none.
    const std::string& lastNotice() const { return lastNotice_; }
    // The labels of the last draw from left to right, a count joined to its character:
    // "S M T T×2".
    std::string describeLastDraw() const;

private:
    sim::SimWindow* window_ = nullptr;
    DrawingView* view_ = nullptr;
    const sim::SimScreens* screens_ = nullptr;
    std::vector<DrawnString> lastDraw_;
    std::string lastNotice_;
    bool shown_ = false;
    platform::Rect shownFrame_;
};

}  // namespace vantor::tools
