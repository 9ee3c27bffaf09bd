// The agent's user interface on macOS: window layouts read from the bundle's resources and
// built into AppKit windows, views and controls, window levels, activation, the modal loop,
// and the application class's event dispatch and action sending.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/LayoutFile.h"
#include "platform/UI.h"

namespace vantor::mac {

class MacUI final : public platform::UI {
public:
    MacUI();

    // Reads NAME.json from the main bundle's resources. A layout that is missing or malformed
    // gives an empty borderless window named NAME, and NSLog says what was wrong.
    platform::LoadedLayout loadLayout(std::string_view name,
                                      platform::ActionTarget& owner) override;
    std::int64_t windowLevelForKey(std::int32_t key) override;
    void activateIgnoringOtherApps(bool flag) override;
    void runModal(platform::Window& window) override;
    void stopModal() override;
    // Installs the application object in NSApp, which must be of the class `App`.
    void setApplication(platform::ApplicationEvents* application) override;
    bool sendAction(std::string_view action) override;
    void dispatchEvent(const platform::AppEvent& event) override;
    // Draws the hint characters once in the system font into a small offscreen bitmap.
    void prepareTextDrawing() override;

    // Builds a layout already read, its window named `name`.
    static platform::LoadedLayout build(std::string_view name, const platform::Layout& layout,
                                        platform::ActionTarget& owner);
};

}  // namespace vantor::mac
