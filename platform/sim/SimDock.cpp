#include "platform/sim/SimDock.h"

#include <fmt/format.h>

#include <algorithm>

#include "platform/sim/KeyNames.h"

namespace vantor::sim {

using platform::EventType;
using platform::TapEvent;

namespace {

constexpr platform::AXError kAXErrorActionUnsupported = -25206;

constexpr std::string_view kCreated = "AXCreated";
constexpr std::string_view kDestroyed = "AXUIElementDestroyed";
constexpr std::string_view kSelectedChildrenChanged = "AXSelectedChildrenChanged";

bool hasCommand(const TapEvent& event) {
    return (event.flags & platform::kEventFlagMaskCommand) != 0;
}

// A flags-changed event of a Command key whose flags no longer hold Command.
bool isCommandRelease(const TapEvent& event) {
    return event.type == EventType::FlagsChanged &&
           (event.keyCode == keycode::LeftCommand || event.keyCode == keycode::RightCommand) &&
           !hasCommand(event);
}

}  // namespace

SimDock::SimDock(SimRunLoop& runLoop, SimAccessibility& accessibility, SimWorkspace& workspace,
                 SimScreens& screens, SimTrace& trace)
    : runLoop_(runLoop),
      accessibility_(accessibility),
      workspace_(workspace),
      screens_(screens),
      trace_(trace) {
    workspace_.addTerminationListener(
        [this](const SimApplication& app) { applicationTerminated(app); });
}

void SimDock::start() {
    if (running_) return;
    pid_ = workspace_.startDockProcess();
    running_ = true;
    state_ = State::Idle;
    appNode_ = std::make_shared<AXNode>();
    appNode_->kind = AXNode::Kind::Application;
    appNode_->pid = pid_;
    appNode_->role = "AXApplication";
    appNode_->title = "Dock";
    accessibility_.registerApplication(
        pid_, appNode_,
        [this](AXNode& node, std::string_view action) { return performAction(node, action); });
    trace_.add(fmt::format("Dock starts (pid {})", pid_));
}

void SimDock::kill() {
    if (!running_) return;
    ++openGeneration_;
    // A process that ends posts nothing: its elements just stop answering.
    for (const Entry& entry : entries_)
        for (const auto& node : entry.nodes)
            node->alive = false;
    for (const List& list : lists_)
        list.node->alive = false;
    entries_.clear();
    lists_.clear();
    highlight_.reset();
    appNode_->children.clear();
    accessibility_.unregisterApplication(pid_);
    state_ = State::Idle;
    commitWhenOpen_ = false;
    running_ = false;
    trace_.add("Dock killed");
    workspace_.terminate(pid_);
}

void SimDock::receive(const TapEvent& event) {
    if (!running_) return;
    switch (state_) {
        case State::Idle:
            if (event.type == EventType::KeyDown && event.keyCode == keycode::Tab &&
                hasCommand(event)) {
                beginOpening();
            }
            return;
        case State::Opening:
            // Further Command-Tabs are absorbed; a quick Command release switches once open.
            if (isCommandRelease(event)) commitWhenOpen_ = true;
            return;
        case State::Showing:
            break;
    }
    if (isCommandRelease(event)) {
        if (const auto pid = highlightedPid()) traceAction("switch to", *pid);
        commit(highlightedPid());
        return;
    }
    switch (event.type) {
        case EventType::KeyDown:
            if (hasCommand(event)) handleKey(event);
            return;
        case EventType::MouseMoved:
            if (const auto index = iconAt(event.location)) setHighlight(*index);
            return;
        case EventType::LeftMouseUp:
            if (const auto index = iconAt(event.location)) {
                const std::int32_t pid = entries_[*index].pid;
                traceAction("switch to", pid);
                commit(pid);
            }
            return;
        default:
            return;
    }
}

void SimDock::handleKey(const TapEvent& event) {
    const bool shift = (event.flags & platform::kEventFlagMaskShift) != 0;
    switch (event.keyCode) {
        case keycode::Tab:
            step(shift ? -1 : 1);
            return;
        case keycode::RightArrow:
            step(1);
            return;
        case keycode::LeftArrow:
            step(-1);
            return;
        case keycode::Q:
            if (const auto pid = highlightedPid()) {
                traceAction("quit", *pid);
                workspace_.terminate(*pid);
            }
            return;
        case keycode::H:
            if (const auto pid = highlightedPid()) {
                traceAction("hide", *pid);
                workspace_.hide(*pid);
            }
            return;
        case keycode::Escape:
            trace_.add("Dock cancel");
            commit(std::nullopt);
            return;
        case keycode::Return:
            if (const auto pid = highlightedPid()) traceAction("switch to", *pid);
            commit(highlightedPid());
            return;
        default:
            return;
    }
}

void SimDock::beginOpening() {
    state_ = State::Opening;
    commitWhenOpen_ = false;
    const std::uint64_t generation = ++openGeneration_;
    trace_.add("Dock opening the switcher");
    runLoop_.schedule(kOpenDelay, [this, generation] { finishOpening(generation); });
}

void SimDock::finishOpening(std::uint64_t generation) {
    if (generation != openGeneration_ || state_ != State::Opening || !running_) return;

    std::string names;
    for (const SimApplication* app : workspace_.applications()) {
        entries_.push_back({app->pid, {}});
        names += (names.empty() ? "" : ", ") + app->ref;
    }
    appNode_->children.clear();
    for (const platform::Rect& screen : screens_.switcherScreenFrames()) {
        auto list = std::make_shared<AXNode>();
        list->kind = AXNode::Kind::List;
        list->pid = pid_;
        list->role = "AXList";
        list->subrole = "AXProcessSwitcherList";
        list->parent = appNode_;
        for (Entry& entry : entries_) {
            auto node = std::make_shared<AXNode>();
            node->kind = AXNode::Kind::Item;
            node->pid = pid_;
            node->role = "AXDockItem";
            node->subrole = "AXApplicationDockItem";
            node->title = workspace_.find(entry.pid)->name;
            node->parent = list;
            list->children.push_back(node);
            entry.nodes.push_back(std::move(node));
        }
        appNode_->children.push_back(list);
        lists_.push_back({std::move(list), {}, screen});
    }
    relayout();
    state_ = State::Showing;
    if (!entries_.empty()) {
        highlight_ = entries_.size() > 1 ? 1 : 0;
        for (std::size_t i = 0; i < lists_.size(); ++i)
            lists_[i].node->selected = entries_[*highlight_].nodes[i];
    }
    const auto highlighted = highlightedPid();
    trace_.add(fmt::format(
        "Dock switcher shows [{}], highlight {}{}", names,
        highlighted ? workspace_.find(*highlighted)->ref : "none",
        lists_.size() > 1 ? fmt::format(", on {} screens", lists_.size()) : std::string()));
    for (const List& list : lists_)
        accessibility_.postNotification(list.node, kCreated);
    if (commitWhenOpen_) {
        if (highlighted) traceAction("switch to", *highlighted);
        commit(highlighted);
    }
}

void SimDock::step(int delta) {
    if (entries_.empty()) return;
    const auto n = static_cast<std::ptrdiff_t>(entries_.size());
    const auto from = static_cast<std::ptrdiff_t>(highlight_.value_or(0));
    setHighlight(static_cast<std::size_t>(((from + delta) % n + n) % n));
}

void SimDock::setHighlight(std::size_t index) {
    if (highlight_ == index) return;
    highlight_ = index;
    traceAction("highlight", entries_[index].pid);
    for (std::size_t i = 0; i < lists_.size(); ++i) {
        lists_[i].node->selected = entries_[index].nodes[i];
        accessibility_.postNotification(lists_[i].node, kSelectedChildrenChanged);
    }
}

void SimDock::commit(std::optional<std::int32_t> pid) {
    close();
    if (pid) workspace_.activate(*pid);
}

void SimDock::close() {
    if (state_ != State::Showing) return;
    state_ = State::Idle;
    commitWhenOpen_ = false;
    for (const Entry& entry : entries_)
        for (const auto& node : entry.nodes)
            node->alive = false;
    for (const List& list : lists_)
        list.node->alive = false;
    appNode_->children.clear();
    const std::vector<List> closed = std::move(lists_);
    lists_.clear();
    entries_.clear();
    highlight_.reset();
    trace_.add("Dock switcher closes");
    for (const List& list : closed)
        accessibility_.postNotification(list.node, kDestroyed);
}

void SimDock::relayout() {
    // Each list centred on its screen, in global Accessibility coordinates.
    for (std::size_t l = 0; l < lists_.size(); ++l) {
        List& list = lists_[l];
        list.layout = SwitcherLayout::compute(entries_.size(), list.screen.size);
        list.layout.list.origin.x += list.screen.origin.x;
        list.layout.list.origin.y += list.screen.origin.y;
        list.node->frame = list.layout.list;
        for (std::size_t i = 0; i < entries_.size(); ++i)
            entries_[i].nodes[l]->frame = list.layout.iconFrame(i);
    }
}

void SimDock::applicationTerminated(const SimApplication& app) {
    // The list keeps its entries while it shows, but one that quits leaves at once.
    if (state_ != State::Showing) return;
    const auto it = std::find_if(entries_.begin(), entries_.end(),
                                 [&](const Entry& entry) { return entry.pid == app.pid; });
    if (it == entries_.end()) return;
    const auto removed = static_cast<std::size_t>(it - entries_.begin());
    const std::vector<std::shared_ptr<AXNode>> nodes = std::move(it->nodes);
    entries_.erase(it);
    for (std::size_t l = 0; l < lists_.size(); ++l) {
        nodes[l]->alive = false;
        std::erase(lists_[l].node->children, nodes[l]);
    }

    // The highlight stays on its application; on the removed one's place when that one went
    // (the last entry when it was past the end). Either way without a notification.
    if (highlight_ && *highlight_ > removed) --*highlight_;
    if (highlight_ && *highlight_ >= entries_.size()) {
        highlight_ = entries_.empty() ? std::nullopt : std::optional(entries_.size() - 1);
    }
    for (std::size_t l = 0; l < lists_.size(); ++l)
        lists_[l].node->selected =
            highlight_ ? entries_[*highlight_].nodes[l] : std::shared_ptr<AXNode>();
    relayout();
    for (const auto& node : nodes)
        accessibility_.postNotification(node, kDestroyed);
}

platform::AXError SimDock::performAction(AXNode& node, std::string_view action) {
    const auto isList = [&](const List& list) { return list.node.get() == &node; };
    if (action == "AXCancel" && std::any_of(lists_.begin(), lists_.end(), isList)) {
        trace_.add("Dock cancel");
        commit(std::nullopt);
        return platform::kAXErrorSuccess;
    }
    if (action == "AXPress" && node.kind == AXNode::Kind::Item) {
        for (const Entry& entry : entries_) {
            const auto isNode = [&](const auto& n) { return n.get() == &node; };
            if (std::none_of(entry.nodes.begin(), entry.nodes.end(), isNode)) continue;
            const std::int32_t pid = entry.pid;
            traceAction("press", pid);
            commit(pid);
            return platform::kAXErrorSuccess;
        }
    }
    return kAXErrorActionUnsupported;
}

bool SimDock::overList(platform::Point point) const {
    if (!showing()) return false;
    return std::any_of(lists_.begin(), lists_.end(),
                       [&](const List& list) { return list.layout.contains(point); });
}

std::optional<std::size_t> SimDock::iconAt(platform::Point point) const {
    for (const List& list : lists_) {
        if (const auto index = list.layout.iconAt(point)) return index;
    }
    return std::nullopt;
}

std::optional<platform::Rect> SimDock::listFrame() const {
    if (!showing() || lists_.empty()) return std::nullopt;
    return lists_.front().layout.list;
}

std::vector<platform::Rect> SimDock::listFrames() const {
    std::vector<platform::Rect> frames;
    if (!showing()) return frames;
    for (const List& list : lists_)
        frames.push_back(list.layout.list);
    return frames;
}

std::vector<std::int32_t> SimDock::entryPids() const {
    std::vector<std::int32_t> pids;
    for (const Entry& entry : entries_)
        pids.push_back(entry.pid);
    return pids;
}

std::optional<std::int32_t> SimDock::highlightedPid() const {
    if (!highlight_) return std::nullopt;
    return entries_[*highlight_].pid;
}

std::optional<platform::Rect> SimDock::iconFrame(std::int32_t pid) const {
    const std::vector<platform::Rect> frames = iconFrames(pid);
    if (frames.empty()) return std::nullopt;
    return frames.front();
}

std::vector<platform::Rect> SimDock::iconFrames(std::int32_t pid) const {
    std::vector<platform::Rect> frames;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].pid != pid) continue;
        for (const List& list : lists_)
            frames.push_back(list.layout.iconFrame(i));
    }
    return frames;
}

void SimDock::traceAction(std::string_view action, std::int32_t pid) {
    const SimApplication* app = workspace_.find(pid);
    trace_.add(fmt::format("Dock {} {}", action, app ? app->ref : std::to_string(pid)));
}

}  // namespace vantor::sim
