#include "platform/sim/SimScreens.h"

namespace vantor::sim {

void SimScreens::setFirstScreenSize(double width, double height) {
    if (frames_.empty()) frames_.emplace_back();
    frames_[0] = platform::Rect{{0, 0}, {width, height}};
}

}  // namespace vantor::sim
