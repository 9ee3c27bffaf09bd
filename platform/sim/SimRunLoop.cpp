#include "platform/sim/SimRunLoop.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace vantor::sim {

namespace {

constexpr double kAbsoluteTimeAtStart = 1000.0;

// The reference object behind a RunLoopSource handle: several references may name one source.
class SourceRef final : public RefObject {
public:
    explicit SourceRef(std::shared_ptr<RunLoopSourceState> source)
        : RefObject(RefKind::RunLoopSource), state(std::move(source)) {}
    bool equals(const RefObject& other) const override {
        return state == static_cast<const SourceRef&>(other).state;
    }
    std::shared_ptr<RunLoopSourceState> state;
};

}  // namespace

Nanos toNanos(double seconds) {
    if (!(seconds > 0)) return 0;
    return static_cast<Nanos>(std::llround(seconds * static_cast<double>(kNanosPerSecond)));
}

double toSeconds(Nanos nanos) {
    return static_cast<double>(nanos) / static_cast<double>(kNanosPerSecond);
}

ModeMask modeMask(platform::RunLoopMode mode) {
    switch (mode) {
        case platform::RunLoopMode::Default:
            return kModeDefault;
        case platform::RunLoopMode::ModalPanel:
            return kModeModalPanel;
        case platform::RunLoopMode::Common:
            return kModeCommon;
    }
    return 0;
}

SimRunLoop::SimRunLoop(RefLedger& ledger) : ledger_(ledger) {}

double SimRunLoop::absoluteTime() {
    return kAbsoluteTimeAtStart + toSeconds(now_);
}

void SimRunLoop::dispatchAfter(double seconds, std::function<void()> block) {
    enqueue(toNanos(seconds) + kMicrosecond, Task{kModeCommon, false, {}, std::move(block), true});
}

void SimRunLoop::performAfterDelay(double seconds, std::function<void()> block,
                                   std::initializer_list<platform::RunLoopMode> modes) {
    ModeMask mask = 0;
    for (platform::RunLoopMode mode : modes)
        mask |= modeMask(mode);
    if (mask == 0) mask = kModeDefault;
    enqueue(toNanos(seconds) + kMicrosecond, Task{mask, false, {}, std::move(block), true});
}

void SimRunLoop::addSource(const platform::RunLoopSource& source, platform::RunLoopMode mode) {
    const std::shared_ptr<RunLoopSourceState> state = sourceState(source);
    if (!state) return;
    if (state->modes_ == 0) added_.push_back(state);
    state->modes_ |= modeMask(mode);
    unparkSource(state);
}

void SimRunLoop::removeSource(const platform::RunLoopSource& source, platform::RunLoopMode mode) {
    const std::shared_ptr<RunLoopSourceState> state = sourceState(source);
    if (!state || state->modes_ == 0) return;
    state->modes_ &= static_cast<ModeMask>(~modeMask(mode));
    if (state->modes_ == 0) std::erase(added_, state);
}

void SimRunLoop::sleepForTimeInterval(double seconds) {
    now_ += toNanos(seconds);
}

platform::RunLoopSource SimRunLoop::createSource(std::shared_ptr<RunLoopSourceState> state) {
    return ledger_.adopt<platform::RunLoopSourceTag>(std::make_unique<SourceRef>(std::move(state)));
}

std::shared_ptr<RunLoopSourceState> SimRunLoop::sourceState(
    const platform::RunLoopSource& source) const {
    const auto* ref = ledger_.find<SourceRef>(source.get(), RefKind::RunLoopSource);
    return ref ? ref->state : nullptr;
}

bool SimRunLoop::serviced(const RunLoopSourceState& source) const {
    return (source.modes_ & currentMask()) != 0;
}

void SimRunLoop::schedule(Nanos delay, std::function<void()> task, ModeMask modes) {
    enqueue(delay, Task{modes, false, {}, std::move(task), false});
}

void SimRunLoop::scheduleForAgent(Nanos delay, std::function<void()> task, ModeMask modes) {
    enqueue(delay, Task{modes, false, {}, std::move(task), true});
}

void SimRunLoop::scheduleOnSource(const std::shared_ptr<RunLoopSourceState>& source, Nanos delay,
                                  std::function<void()> task) {
    enqueue(delay, Task{kModeAny, true, source, std::move(task), true});
}

void SimRunLoop::enqueue(Nanos delay, Task task) {
    if (task.forAgent && mainThread_.ended()) return;
    queue_.emplace(Key{now_ + std::max<Nanos>(delay, 0), nextSeq_++}, std::move(task));
}

bool SimRunLoop::runNext(Nanos limit) {
    // A modal loop stopped from outside a delivery, or whose agent ended, goes on first.
    mainThread_.resumeIfDue();
    if (settle_) settle_();
    while (!queue_.empty()) {
        const auto first = queue_.begin();
        if (first->first.first > limit) return false;
        auto node = queue_.extract(first);
        Task& task = node.mapped();
        if (task.viaSource) {
            const std::shared_ptr<RunLoopSourceState> source = task.source.lock();
            if (!source) continue;  // the source is gone, and its deliveries with it
            if (!serviced(*source)) {
                if (source->parked_.empty()) sourcesWithParked_.push_back(source);
                source->parked_.emplace_back(node.key(), std::move(task.block));
                continue;
            }
        } else if ((task.modes & currentMask()) == 0) {
            parkedTimers_.emplace_back(node.key(), std::move(task));
            continue;
        }
        now_ = std::max(now_, node.key().first);
        mainThread_.deliver(task.block);
        return true;
    }
    return false;
}

void SimRunLoop::runUntil(Nanos time) {
    while (runNext(time)) {
    }
    now_ = std::max(now_, time);
}

bool SimRunLoop::runUntilIdle(Nanos horizon) {
    const Nanos end = now_ + horizon;
    while (runNext(end)) {
    }
    if (queue_.empty()) return true;
    now_ = std::max(now_, end);
    return false;
}

void SimRunLoop::pushMode(platform::RunLoopMode mode) {
    modes_.push_back(mode);
    unpark();
}

void SimRunLoop::popMode() {
    if (modes_.size() > 1) modes_.pop_back();
    unpark();
}

void SimRunLoop::runModal() {
    if (!mainThread_.onAgentStack()) {
        throw std::logic_error(
            "a modal loop runs only inside a call launched through SimDesktop::launch");
    }
    pushMode(platform::RunLoopMode::ModalPanel);
    struct PopMode {
        SimRunLoop& loop;
        ~PopMode() { loop.popMode(); }
    } popMode{*this};
    mainThread_.runModal();
}

void SimRunLoop::agentEnded() {
    mainThread_.end();
    std::erase_if(queue_, [](const auto& entry) { return entry.second.forAgent; });
    std::erase_if(parkedTimers_, [](const auto& entry) { return entry.second.forAgent; });
    for (const auto& weak : sourcesWithParked_) {
        if (const auto source = weak.lock()) source->parked_.clear();
    }
    sourcesWithParked_.clear();
}

void SimRunLoop::unpark() {
    std::vector<std::pair<Key, Task>> timers;
    timers.swap(parkedTimers_);
    for (auto& [key, task] : timers)
        queue_.emplace(key, std::move(task));

    std::vector<std::weak_ptr<RunLoopSourceState>> sources;
    sources.swap(sourcesWithParked_);
    for (const auto& weak : sources) {
        if (const auto source = weak.lock()) unparkSource(source);
    }
}

void SimRunLoop::unparkSource(const std::shared_ptr<RunLoopSourceState>& source) {
    // Back into the queue at their old place; runNext parks them again if still not serviced.
    auto parked = std::move(source->parked_);
    source->parked_.clear();
    for (auto& [key, block] : parked) {
        queue_.emplace(key, Task{kModeAny, true, source, std::move(block), true});
    }
}

}  // namespace vantor::sim
