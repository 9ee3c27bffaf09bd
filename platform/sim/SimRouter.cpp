#include "platform/sim/SimRouter.h"

#include "platform/sim/KeyNames.h"

namespace vantor::sim {

using platform::EventType;

void SimRouter::route(const platform::TapEvent& event) {
    const bool key = isKeyEvent(event.type);
    const bool mouse = isMouseEvent(event.type);
    if (!key && !mouse) return;

    if (dock_.opening() || dock_.showing()) {
        if (key || dock_.overList(event.location)) {
            if (event.type == EventType::KeyUp && event.keyCode == keycode::Tab) tabToDock_ = false;
            toDock(event);
            return;
        }
    }
    if (key && event.keyCode == keycode::Tab) {
        // A Command-Tab, and the key-up of its Tab, belong to the Dock.
        if (event.type == EventType::KeyDown &&
            (event.flags & platform::kEventFlagMaskCommand) != 0) {
            tabToDock_ = true;
            toDock(event);
            return;
        }
        if (event.type == EventType::KeyUp && tabToDock_) {
            tabToDock_ = false;
            toDock(event);
            return;
        }
    }
    if (key) {
        const std::string active = workspace_.activeRef();
        if (!active.empty()) deliver(active, event);
        if (active == SimWorkspace::kAgentName && agentKeys_) agentKeys_(event);
        return;
    }
    if (const SimApplication* front = workspace_.front()) deliver(front->ref, event);
}

void SimRouter::toDock(const platform::TapEvent& event) {
    if (!dock_.running()) return;
    deliver("Dock", event);
    dock_.receive(event);
}

void SimRouter::deliver(const std::string& receiver, const platform::TapEvent& event) {
    if (!keeping_ || event.type == EventType::MouseMoved) return;
    auto it = inboxes_.find(receiver);
    if (it == inboxes_.end()) it = inboxes_.emplace(receiver, Inbox{}).first;
    it->second.events.push_back(printEvent(event));
}

const std::vector<std::string>& SimRouter::received(std::string_view receiver) const {
    static const std::vector<std::string> kNothing;
    const auto it = inboxes_.find(receiver);
    return it == inboxes_.end() ? kNothing : it->second.events;
}

std::vector<std::string> SimRouter::inbox(std::string_view receiver) {
    const auto it = inboxes_.find(receiver);
    if (it == inboxes_.end()) return {};
    Inbox& box = it->second;
    std::vector<std::string> unread(box.events.begin() + static_cast<std::ptrdiff_t>(box.read),
                                    box.events.end());
    box.read = box.events.size();
    return unread;
}

}  // namespace vantor::sim
