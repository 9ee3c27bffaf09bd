// Conversions between Accessibility coordinates (origin top-left of the first screen, y down)
// and screen coordinates (origin bottom-left, y up).
#pragma once

#include "platform/Geometry.h"

namespace vantor {

// (x, y, w, h) in Accessibility coordinates becomes (x, H - y - h, w, h) in screen coordinates,
// H being the first screen's height. The same formula converts back.
inline platform::Rect flipRect(const platform::Rect& r, double screenHeight) {
    return {{r.origin.x, screenHeight - r.origin.y - r.size.height}, r.size};
}

// A child's Accessibility frame as a frame relative to the list's lower-left corner, y up,
// given the list's frame in screen coordinates.
inline platform::Rect frameRelativeToList(const platform::Rect& axFrame, double screenHeight,
                                          const platform::Rect& listScreenFrame) {
    platform::Rect r = flipRect(axFrame, screenHeight);
    r.origin.x -= listScreenFrame.origin.x;
    r.origin.y -= listScreenFrame.origin.y;
    return r;
}

}  // namespace vantor
