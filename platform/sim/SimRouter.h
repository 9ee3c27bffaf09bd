// Where an event goes once it has passed every tap: to the Dock's switcher while it opens or
// shows, a Command-Tab to the Dock, other keys to the active application and mouse events to
// the frontmost one. Each receiver keeps the printed form of what it received.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/EventServices.h"
#include "platform/sim/SimDock.h"
#include "platform/sim/SimWorkspace.h"

namespace vantor::sim {

class SimRouter {
public:
    SimRouter(SimDock& dock, SimWorkspace& workspace) : dock_(dock), workspace_(workspace) {}

    void route(const platform::TapEvent& event);

    // What `receiver` ("Dock", "Vantor", an application's ref) received, pointer moves aside.
    const std::vector<std::string>& received(std::string_view receiver) const;
    // What it received since the last call for it.
    std::vector<std::string> inbox(std::string_view receiver);
    // Key events that reach the agent ("Vantor") while it is active also go here (to its
    // windows, see SimUI::agentKeyEvent).
    void setAgentKeys(std::function<void(const platform::TapEvent&)> agentKeys) {
        agentKeys_ = std::move(agentKeys);
    }
    // Stops keeping received events (long soaks); routing goes on.
    void setKeeping(bool keeping) { keeping_ = keeping; }

private:
    struct Inbox {
        std::vector<std::string> events;
        std::size_t read = 0;
    };
    void deliver(const std::string& receiver, const platform::TapEvent& event);
    void toDock(const platform::TapEvent& event);

    SimDock& dock_;
    SimWorkspace& workspace_;
    std::map<std::string, Inbox, std::less<>> inboxes_;
    bool tabToDock_ = false;
    bool keeping_ = true;
    std::function<void(const platform::TapEvent&)> agentKeys_;
};

}  // namespace vantor::sim
