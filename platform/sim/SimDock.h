// The Dock and its Command-Tab switcher: opening 0.05 s after a Command-Tab, the list and its
// entries in the Accessibility tree, the highlight, what the keys and the pointer do while it
// shows, and the notifications each change posts. With the switcher on every screen, each screen
// shows a list of its own with the same entries and the same highlight.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/EventServices.h"
#include "platform/sim/AXNode.h"
#include "platform/sim/SimAccessibility.h"
#include "platform/sim/SimRunLoop.h"
#include "platform/sim/SimScreens.h"
#include "platform/sim/SimTrace.h"
#include "platform/sim/SimWorkspace.h"
#include "platform/sim/SwitcherLayout.h"

namespace vantor::sim {

class SimDock {
public:
    static constexpr Nanos kOpenDelay = 50 * kMillisecond;

    SimDock(SimRunLoop& runLoop, SimAccessibility& accessibility, SimWorkspace& workspace,
            SimScreens& screens, SimTrace& trace);

    // The Dock process starts with a new pid, or ends (its switcher and elements go with it,
    // silently; the workspace announces the termination 1 ms later).
    void start();
    void kill();
    bool running() const { return running_; }
    std::int32_t pid() const { return running_ ? pid_ : 0; }

    bool opening() const { return state_ == State::Opening; }
    bool showing() const { return state_ == State::Showing; }
    // An event routed to the Dock: key, flags-changed and mouse events.
    void receive(const platform::TapEvent& event);
    // Whether a point (Accessibility coordinates) is over a list on screen.
    bool overList(platform::Point point) const;

    // While it shows: the (first) list's frame, the pids of its entries in order, the
    // highlighted one, an entry's icon frame on the first list and on every list.
    std::optional<platform::Rect> listFrame() const;
    std::vector<platform::Rect> listFrames() const;
    std::vector<std::int32_t> entryPids() const;
    std::optional<std::int32_t> highlightedPid() const;
    std::optional<platform::Rect> iconFrame(std::int32_t pid) const;
    std::vector<platform::Rect> iconFrames(std::int32_t pid) const;
    std::shared_ptr<AXNode> listNode() const {
        return lists_.empty() ? nullptr : lists_.front().node;
    }
    std::shared_ptr<AXNode> applicationNode() const { return appNode_; }

private:
    enum class State { Idle, Opening, Showing };
    // An application of the switcher, with its icon's element on each list.
    struct Entry {
        std::int32_t pid = 0;
        std::vector<std::shared_ptr<AXNode>> nodes;
    };
    // One list on one screen.
    struct List {
        std::shared_ptr<AXNode> node;
        SwitcherLayout layout;
        // The Accessibility frame of the screen it opened on.
        platform::Rect screen;
    };

    void beginOpening();
    void finishOpening(std::uint64_t generation);
    void handleKey(const platform::TapEvent& event);
    void step(int delta);
    void setHighlight(std::size_t index);
    // The entry whose icon lies under a point on any list.
    std::optional<std::size_t> iconAt(platform::Point point) const;
    // Closes the list, then brings `pid` to the front when given.
    void commit(std::optional<std::int32_t> pid);
    void close();
    void relayout();
    void applicationTerminated(const SimApplication& app);
    platform::AXError performAction(AXNode& node, std::string_view action);
    void traceAction(std::string_view action, std::int32_t pid);

    SimRunLoop& runLoop_;
    SimAccessibility& accessibility_;
    SimWorkspace& workspace_;
    SimScreens& screens_;
    SimTrace& trace_;

    bool running_ = false;
    std::int32_t pid_ = 0;
    State state_ = State::Idle;
    bool commitWhenOpen_ = false;
    std::uint64_t openGeneration_ = 0;
    std::shared_ptr<AXNode> appNode_;
    std::vector<List> lists_;
    std::vector<Entry> entries_;
    std::optional<std::size_t> highlight_;
};

}  // namespace vantor::sim
