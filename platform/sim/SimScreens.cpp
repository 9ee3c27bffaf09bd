#include "platform/sim/SimScreens.h"

#include <fmt/format.h>

#include <algorithm>
#include <utility>

namespace vantor::sim {

namespace {

double overlapArea(const platform::Rect& a, const platform::Rect& b) {
    const double w = std::min(a.origin.x + a.size.width, b.origin.x + b.size.width) -
                     std::max(a.origin.x, b.origin.x);
    const double h = std::min(a.origin.y + a.size.height, b.origin.y + b.size.height) -
                     std::max(a.origin.y, b.origin.y);
    return w > 0 && h > 0 ? w * h : 0;
}

}  // namespace

std::vector<platform::Rect> SimScreens::screenFrames() {
    const double firstHeight = firstScreen().size.height;
    std::vector<platform::Rect> frames;
    frames.reserve(screens_.size());
    for (const SimScreen& screen : screens_) {
        const platform::Rect& r = screen.axFrame;
        frames.push_back({{r.origin.x, firstHeight - r.origin.y - r.size.height}, r.size});
    }
    return frames;
}

void SimScreens::setFirstScreenSize(double width, double height) {
    if (screens_.empty()) screens_.emplace_back();
    screens_[0].axFrame = platform::Rect{{0, 0}, {width, height}};
}

void SimScreens::setScreens(std::vector<SimScreen> screens) {
    screens_ = std::move(screens);
    switcherScreen_ = 0;
    switcherOnAll_ = false;
}

std::vector<platform::Rect> SimScreens::switcherScreenFrames() const {
    std::vector<platform::Rect> frames;
    if (switcherOnAll_) {
        for (const SimScreen& screen : screens_)
            frames.push_back(screen.axFrame);
    }
    if (frames.empty())
        frames.push_back(switcherScreen_ < screens_.size() ? screens_[switcherScreen_].axFrame
                                                           : firstScreen());
    return frames;
}

std::optional<std::string> SimScreens::arrange(const SimScreen& screen) {
    if (!arranged_) {
        if (screen.axFrame.origin.x != 0 || screen.axFrame.origin.y != 0)
            return std::string(
                "the first screen is the primary one: its top-left corner is at 0 0");
        screens_ = {screen};
        arranged_ = true;
        return std::nullopt;
    }
    for (std::size_t i = 0; i < screens_.size(); ++i) {
        if (overlapArea(screens_[i].axFrame, screen.axFrame) > 0)
            return fmt::format("the screen overlaps screen {}", i + 1);
    }
    screens_.push_back(screen);
    return std::nullopt;
}

std::size_t SimScreens::screenOf(const platform::Rect& axRect) const {
    std::size_t best = 0;
    double bestArea = 0;
    for (std::size_t i = 0; i < screens_.size(); ++i) {
        const double area = overlapArea(screens_[i].axFrame, axRect);
        if (area > bestArea) {
            best = i;
            bestArea = area;
        }
    }
    return best;
}

double SimScreens::scaleOf(const platform::Rect& axRect) const {
    return screens_.empty() ? 1 : screens_[screenOf(axRect)].scale;
}

platform::Rect SimScreens::bounds() const {
    if (screens_.empty()) return {};
    double left = screens_[0].axFrame.origin.x, top = screens_[0].axFrame.origin.y;
    double right = left + screens_[0].axFrame.size.width;
    double bottom = top + screens_[0].axFrame.size.height;
    for (const SimScreen& screen : screens_) {
        const platform::Rect& r = screen.axFrame;
        left = std::min(left, r.origin.x);
        top = std::min(top, r.origin.y);
        right = std::max(right, r.origin.x + r.size.width);
        bottom = std::max(bottom, r.origin.y + r.size.height);
    }
    return {{left, top}, {right - left, bottom - top}};
}

}  // namespace vantor::sim
