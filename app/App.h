// The application object: turns the Command-key editing shortcuts (Command-X, -C, -V, -Z,
// -Shift-Z, -A) into the standard edit actions and sends them to whatever has the keyboard
// focus, so that they work in the agent's text fields although it has no Edit menu.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "platform/UI.h"

namespace vantor {

class App final : public platform::ApplicationEvents {
public:
    // The device-independent modifier bits, and the two combinations that select a shortcut.
    static constexpr std::uint64_t kDeviceIndependentFlagsMask = 0xFFFF0000;
    static constexpr std::uint64_t kCommand = 0x100000;
    static constexpr std::uint64_t kCommandShift = 0x120000;

    explicit App(platform::UI& ui);

    // A key-down with Command alone or Command and Shift whose characters name an edit action
    // that a responder takes is consumed; every other event goes on to the normal dispatch.
    void sendEvent(const platform::AppEvent& event) override;
    // Offers the action to the first responder chain; true when some responder took it.
    bool sendCmd(std::string_view action);

    // Key character (exact, case matters) to the name of its edit action.
    const std::map<std::string, std::string, std::less<>>& cmds() const { return cmds_; }

private:
    platform::UI& ui_;
    const std::map<std::string, std::string, std::less<>> cmds_;
};

}  // namespace vantor
