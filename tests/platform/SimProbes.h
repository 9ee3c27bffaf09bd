// Probes the simulator's tests attach to a desktop the way the agent would: an event tap that
// records what it sees and answers as told, and an Accessibility observer on the Dock that
// records the notifications it receives.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/sim/SimDesktop.h"

namespace vantor::sim::testing {

struct SeenEvent {
    Nanos time = 0;
    platform::TapEvent event;
};

class TapProbe {
public:
    using Handler = std::function<platform::TapAnswer(platform::EventTapProxy proxy,
                                                      const platform::TapEvent& event)>;

    explicit TapProbe(SimDesktop& desktop, platform::EventMask mask = ~platform::EventMask{0})
        : desktop_(desktop) {
        auto& events = desktop.platform().events;
        tap = events.tapCreate(platform::EventTapLocation::HID, mask, &TapProbe::callback, this);
        source = events.tapCreateRunLoopSource(tap);
        desktop.platform().runLoop.addSource(source, platform::RunLoopMode::Common);
    }

    platform::EventTap tap;
    platform::RunLoopSource source;
    std::vector<SeenEvent> seen;
    Handler handler;

    std::vector<std::string> printed() const {
        std::vector<std::string> forms;
        for (const SeenEvent& s : seen)
            forms.push_back(printEvent(s.event));
        return forms;
    }

private:
    static platform::TapAnswer callback(platform::EventTapProxy proxy,
                                        const platform::TapEvent& event, void* userInfo) {
        auto* self = static_cast<TapProbe*>(userInfo);
        self->seen.push_back({self->desktop_.nowNanos(), event});
        return self->handler ? self->handler(proxy, event) : platform::TapAnswer{};
    }

    SimDesktop& desktop_;
};

struct Notification {
    Nanos time = 0;
    std::string name;
    platform::AXElement element;
};

class DockObserverProbe {
public:
    // Observes the running Dock for the three switcher notifications; `addSource` puts the
    // observer's source into the default mode.
    explicit DockObserverProbe(SimDesktop& desktop, bool addSource = true) : desktop_(desktop) {
        auto& ax = desktop.platform().accessibility;
        dock = ax.createApplication(desktop.dockPid());
        ax.observerCreate(desktop.dockPid(), &DockObserverProbe::callback, observer);
        for (const char* name :
             {"AXCreated", "AXUIElementDestroyed", "AXSelectedChildrenChanged"}) {
            ax.observerAddNotification(observer, dock, name, this);
        }
        source = ax.observerGetRunLoopSource(observer);
        if (addSource) desktop.platform().runLoop.addSource(source, platform::RunLoopMode::Default);
    }

    platform::AXElement dock;
    platform::AXObserver observer;
    platform::RunLoopSource source;
    std::vector<Notification> received;

    std::vector<std::string> names() const {
        std::vector<std::string> list;
        for (const Notification& n : received)
            list.push_back(n.name);
        return list;
    }

private:
    static void callback(const platform::AXObserver& /*observer*/,
                         const platform::AXElement& element, std::string_view notification,
                         void* refcon) {
        auto* self = static_cast<DockObserverProbe*>(refcon);
        self->received.push_back({self->desktop_.nowNanos(), std::string(notification), element});
    }

    SimDesktop& desktop_;
};

// The user holds Command and presses Tab once; Command stays down. The switcher opens 0.05 s
// after the Tab key-down, which this waits for.
inline void holdCommandTab(SimDesktop& desktop) {
    desktop.keyDown("LeftCommand");
    desktop.keyDown("Tab");
    desktop.keyUp("Tab");
    desktop.runFor(0.05);
}

inline platform::AXElement listElement(SimDesktop& desktop) {
    return desktop.accessibility().elementFor(desktop.dock().listNode());
}

}  // namespace vantor::sim::testing
