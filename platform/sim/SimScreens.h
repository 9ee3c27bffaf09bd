// The screens of the simulated desktop and their arrangement: one first screen (1920 x 1080
// points unless set) and any others around it, each with its backing scale, and the screen on
// which the Dock shows its switcher.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/Screens.h"

namespace vantor::sim {

struct SimScreen {
    // In Accessibility coordinates: origin at the first screen's top-left corner, y down.
    platform::Rect axFrame;
    double scale = 1;
};

class SimScreens final : public platform::Screens {
public:
    // Each screen's frame in screen coordinates (origin at the first screen's bottom-left, y up).
    std::vector<platform::Rect> screenFrames() override;

    // The first screen's size; its origin stays at (0, 0).
    void setFirstScreenSize(double width, double height);
    // The whole arrangement, the first screen first (at Accessibility (0, 0)); the switcher
    // goes back to the first screen.
    void setScreens(std::vector<SimScreen> screens);
    // Adds a screen to the arrangement a scenario describes: the first one replaces the default
    // screen and must be at (0, 0). A message when the screen cannot be added there (it would
    // overlap another).
    std::optional<std::string> arrange(const SimScreen& screen);
    const std::vector<SimScreen>& screens() const { return screens_; }

    // The first screen's frame, a zero rectangle when there is no screen.
    platform::Rect firstScreen() const {
        return screens_.empty() ? platform::Rect{} : screens_[0].axFrame;
    }

    // The screen (from 0) on which the Dock shows its switcher, or every screen at once (the
    // Dock's all-displays setting).
    std::size_t switcherScreen() const { return switcherScreen_; }
    void setSwitcherScreen(std::size_t index) {
        switcherScreen_ = index;
        switcherOnAll_ = false;
    }
    void setSwitcherOnAllScreens() { switcherOnAll_ = true; }
    // The Accessibility frames of the screens that show the switcher, in screen order: the
    // switcher's screen (the first screen if there is no such one), or every screen.
    std::vector<platform::Rect> switcherScreenFrames() const;

    // The screen holding most of an Accessibility rectangle (the first one when none does), as
    // the window server picks a window's screen and with it its backing scale.
    std::size_t screenOf(const platform::Rect& axRect) const;
    // The scale of the screen holding most of an Accessibility rectangle.
    double scaleOf(const platform::Rect& axRect) const;
    // The smallest Accessibility rectangle holding every screen.
    platform::Rect bounds() const;

private:
    std::vector<SimScreen> screens_{SimScreen{{{0, 0}, {1920, 1080}}, 1}};
    std::size_t switcherScreen_ = 0;
    bool switcherOnAll_ = false;
    bool arranged_ = false;
};

}  // namespace vantor::sim
