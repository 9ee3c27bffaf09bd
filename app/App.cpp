#include "app/App.h"

namespace vantor {

App::App(platform::UI& ui)
    : ui_(ui), cmds_{{"x", "cut:"},  {"c", "copy:"}, {"v", "paste:"},
                     {"z", "undo:"}, {"Z", "redo:"}, {"a", "selectAll:"}} {}

void App::sendEvent(const platform::AppEvent& event) {
    if (event.type == platform::AppEventType::KeyDown) {
        const std::uint64_t flags = event.modifierFlags & kDeviceIndependentFlagsMask;
        if (flags == kCommand || flags == kCommandShift) {
            const auto it = cmds_.find(event.charactersIgnoringModifiers);
            if (it != cmds_.end() && sendCmd(it->second)) return;
        }
    }
    ui_.dispatchEvent(event);
}

bool App::sendCmd(std::string_view action) {
    return ui_.sendAction(action);
}

}  // namespace vantor
