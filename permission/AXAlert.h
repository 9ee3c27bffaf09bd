// The permission prompt's window (class "AXAlert" of the "AXAlert" layout): a plain titled
// window styled as one translucent panel, which can take the keyboard and be the main window.
#pragma once

#include <cstdint>

#include "platform/UI.h"

namespace vantor {

// CGWindowLevelKey of ordinary windows (kCGNormalWindowLevelKey).
inline constexpr std::int32_t kNormalWindowLevelKey = 4;

class AXAlert {
public:
    AXAlert(platform::Window& window, platform::UI& ui) : _window(window), _ui(ui) {}

    // Once the window is loaded: transparent title bar, hidden title, the normal window level,
    // and a content view always shown active in the light material.
    void awakeFromNib();
    bool canBecomeKeyWindow() const { return true; }
    bool canBecomeMainWindow() const { return true; }

    platform::Window& window() const { return _window; }

private:
    platform::Window& _window;
    platform::UI& _ui;
};

}  // namespace vantor
