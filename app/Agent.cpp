#include "app/Agent.h"

#include <array>

#include "overlay/LabelGeometry.h"
#include "platform/TextTransforms.h"

namespace vantor {

namespace {

// The fonts of the hint labels on the switcher's icons at their full size (128 points, as long
// as the switcher is not crowded enough to shrink them): the key's character and the count.
std::array<platform::Font, 2> hintLabelFonts() {
    constexpr double kFullIconSize = 128;
    const LabelGeometry g = labelGeometry({{0, 0}, {kFullIconSize, kFullIconSize}}, 2);
    return {platform::Font::systemFontOfSize(g.letterFontSize),
            platform::Font::systemFontOfSize(g.countFontSize)};
}

}  // namespace

Agent::Agent(platform::Platform& platform)
    : ui_(platform.ui), app_(platform.ui), appDelegate_(std::make_unique<AppDelegate>(platform)) {
    ui_.setApplication(&app_);
    // Font start-up is paid here rather than by the first overlay the user waits for.
    ui_.prepareTextDrawingInFonts(hintLabelFonts());
    // Likewise the Mandarin readings of the hint letters, loaded before the first scan needs one.
    platform::prepareMandarinReadings();
    overlay_ = std::make_unique<HintOverlay>(platform.ui, *appDelegate_);
    appDelegate_->setWindow(overlay_->window());
}

Agent::~Agent() {
    // The controller goes first: nothing may reach the window through it afterwards.
    appDelegate_.reset();
    overlay_.reset();
    ui_.setApplication(nullptr);
}

}  // namespace vantor
