// The screens of the system (NSScreen screens); element 0 is the first screen.
#pragma once

#include <vector>

#include "platform/Geometry.h"

namespace vantor::platform {

class Screens {
public:
    virtual ~Screens() = default;
    // [NSScreen screens], each screen's frame in screen coordinates (origin bottom-left).
    virtual std::vector<Rect> screenFrames() = 0;
};

}  // namespace vantor::platform
