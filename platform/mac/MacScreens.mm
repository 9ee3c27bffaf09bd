#include "platform/mac/MacScreens.h"

#include "platform/mac/MacConversions.h"

namespace vantor::mac {

std::vector<platform::Rect> MacScreens::screenFrames() {
    std::vector<platform::Rect> frames;
    for (NSScreen* screen in [NSScreen screens])
        frames.push_back(rectOf(screen.frame));
    return frames;
}

}  // namespace vantor::mac
