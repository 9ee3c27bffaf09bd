// What the simulated screens look like, side by side as arranged: the desktop, the Dock's
// switcher while it shows (a dark rounded panel over the list, each icon a coloured square with
// the application's name under it, a light frame on the highlight) and, above it, every visible
// window of the agent by level
// and order, each drawn into its own backing (title bar, toolbar, the view tree) and laid onto
// the screen at its frame with its alpha. Views with a behaviour draw themselves; the other
// controls are drawn as labelled boxes.
#pragma once

#include <memory>

#include "platform/Canvas.h"
#include "platform/posix/CairoCanvas.h"
#include "platform/sim/SimDock.h"
#include "platform/sim/SimScreens.h"
#include "platform/sim/SimUI.h"
#include "platform/sim/SimWorkspace.h"

namespace vantor::sim {

inline constexpr platform::Color kDesktopColour{0.34, 0.46, 0.56, 1};
inline constexpr platform::Color kSwitcherPanelColour{0.13, 0.13, 0.14, 0.96};
inline constexpr platform::Color kSwitcherHighlightColour{0.93, 0.93, 0.96, 1};
// Where the screens' arrangement leaves a gap in the picture.
inline constexpr platform::Color kBetweenScreensColour{0.08, 0.08, 0.08, 1};

// An application's icon colour, the same for a name on every run.
platform::Color iconColour(std::string_view applicationName);

// The switcher, on a canvas (y up) covering the Accessibility rectangle `area` (y down), the
// coordinates of the Dock's frames.
void drawSwitcher(platform::Canvas& canvas, const SimDock& dock, const SimWorkspace& workspace,
                  const platform::Rect& area);

// A window on a canvas of its frame's size: background, title bar and toolbar when titled,
// then the content view's tree. Marks the drawn views as displayed.
void drawWindow(platform::CairoCanvas& canvas, SimWindow& window);

// Every screen side by side as arranged (the gaps between them dark), at `scale` pixels per
// point times the finest screen's backing scale; each window drawn at its screen's scale.
std::unique_ptr<platform::CairoCanvas> renderScreen(const SimScreens& screens, const SimDock& dock,
                                                    const SimWorkspace& workspace, const SimUI& ui,
                                                    double scale);

}  // namespace vantor::sim
