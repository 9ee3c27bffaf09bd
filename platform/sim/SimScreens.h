// The screens of the simulated desktop: one first screen, 1920 x 1080 points unless set.
#pragma once

#include <utility>
#include <vector>

#include "platform/Screens.h"

namespace vantor::sim {

class SimScreens final : public platform::Screens {
public:
    std::vector<platform::Rect> screenFrames() override { return frames_; }

    // The first screen's size; its origin stays at (0, 0).
    void setFirstScreenSize(double width, double height);
    void setScreens(std::vector<platform::Rect> frames) { frames_ = std::move(frames); }
    // The first screen's frame, a zero rectangle when there is no screen.
    platform::Rect firstScreen() const { return frames_.empty() ? platform::Rect{} : frames_[0]; }

private:
    std::vector<platform::Rect> frames_{platform::Rect{{0, 0}, {1920, 1080}}};
};

}  // namespace vantor::sim
