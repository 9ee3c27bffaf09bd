// The screens on macOS: [NSScreen screens] and their frames, the first screen first.
#pragma once

#include "platform/Screens.h"

namespace vantor::mac {

class MacScreens final : public platform::Screens {
public:
    std::vector<platform::Rect> screenFrames() override;
};

}  // namespace vantor::mac
