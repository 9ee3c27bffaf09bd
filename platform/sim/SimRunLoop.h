// The main run loop on a virtual clock: integer nanoseconds, one queue of timed tasks in
// deterministic order, run-loop modes and sources. Everything of the simulated desktop that
// happens later (the Dock's timers, key repeat, notifications, the agent's delayed blocks)
// is a task here.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/RunLoop.h"
#include "platform/sim/RefLedger.h"
#include "platform/sim/SimMainThread.h"

namespace vantor::sim {

using Nanos = std::int64_t;
inline constexpr Nanos kNanosPerSecond = 1'000'000'000;
inline constexpr Nanos kMicrosecond = 1'000;
inline constexpr Nanos kMillisecond = 1'000'000;

// Seconds to whole nanoseconds, rounded; negative and NaN delays count as 0.
Nanos toNanos(double seconds);
double toSeconds(Nanos nanos);

// The modes a task or source runs in, as bits.
using ModeMask = std::uint8_t;
inline constexpr ModeMask kModeDefault = 0x01;
inline constexpr ModeMask kModeModalPanel = 0x02;
inline constexpr ModeMask kModeCommon = kModeDefault | kModeModalPanel;
// Tasks of the simulated world (other processes, the hardware): they run whatever the agent's
// loop is doing.
inline constexpr ModeMask kModeAny = 0xFF;
ModeMask modeMask(platform::RunLoopMode mode);

class SimRunLoop;

// A run-loop source: the modes it has been added to, and the deliveries that fell due while
// it was not serviced.
class RunLoopSourceState {
public:
    explicit RunLoopSourceState(std::string name) : name_(std::move(name)) {}
    const std::string& name() const { return name_; }
    ModeMask modes() const { return modes_; }

private:
    friend class SimRunLoop;
    std::string name_;
    ModeMask modes_ = 0;
    std::vector<std::pair<std::pair<Nanos, std::uint64_t>, std::function<void()>>> parked_;
};

class SimRunLoop final : public platform::RunLoop {
public:
    explicit SimRunLoop(RefLedger& ledger);

    // CFAbsoluteTimeGetCurrent: 1000 s plus the virtual time.
    double absoluteTime() override;
    // Runs 1 µs after the deadline, in every common mode.
    void dispatchAfter(double seconds, std::function<void()> block) override;
    // Runs 1 µs after the deadline, only in the given modes (the default mode when none).
    void performAfterDelay(double seconds, std::function<void()> block,
                           std::initializer_list<platform::RunLoopMode> modes) override;
    void addSource(const platform::RunLoopSource& source, platform::RunLoopMode mode) override;
    void removeSource(const platform::RunLoopSource& source, platform::RunLoopMode mode) override;
    // Moves the clock on without running anything: the main thread is blocked.
    void sleepForTimeInterval(double seconds) override;

    // Sources. A new handle (one reference) for a source state.
    platform::RunLoopSource createSource(std::shared_ptr<RunLoopSourceState> state);
    // The state behind a handle of this desktop; null for an empty or foreign handle.
    std::shared_ptr<RunLoopSourceState> sourceState(const platform::RunLoopSource& source) const;
    // Whether the source is added in the mode the loop is running in.
    bool serviced(const RunLoopSourceState& source) const;

    // Schedules a task `delay` from now. Tasks run in order of due time, then of scheduling.
    void schedule(Nanos delay, std::function<void()> task, ModeMask modes = kModeAny);
    // Schedules a delivery to the agent's code (a notification, a completion): like schedule,
    // but dropped once the agent has ended, as are the agent's own delayed blocks and messages
    // and every delivery through a source.
    void scheduleForAgent(Nanos delay, std::function<void()> task, ModeMask modes = kModeAny);
    // Schedules a delivery through a source: it runs when due and the source is serviced in
    // the current mode; until then it waits, keeping its place in the order.
    void scheduleOnSource(const std::shared_ptr<RunLoopSourceState>& source, Nanos delay,
                          std::function<void()> task);

    // The clock.
    Nanos now() const { return now_; }
    // Runs every task due up to `time` (inclusive), then sets the clock to `time`.
    void runUntil(Nanos time);
    void runFor(Nanos duration) { runUntil(now_ + duration); }
    // Runs tasks until none is left to run or the next is due after now + horizon (then the
    // clock stops at the horizon). True when the loop became idle. Guards against tasks that
    // reschedule themselves for ever (key repeat, retries).
    bool runUntilIdle(Nanos horizon);
    // Runs the next task due no later than `limit`, if any; the building block of nested
    // loops (a modal loop runs it in its own mode).
    bool runNext(Nanos limit);
    // Tasks waiting in the queue (not those parked for another mode).
    std::size_t pendingTasks() const { return queue_.size(); }

    // Work outside the loop (HTTP requests in flight) that must be settled before the loop runs
    // anything further, so that virtual time never moves past it.
    void setSettle(std::function<void()> settle) { settle_ = std::move(settle); }

    // Modes: the loop runs in the default mode; a nested loop pushes its own.
    platform::RunLoopMode currentMode() const { return modes_.back(); }
    void pushMode(platform::RunLoopMode mode);
    void popMode();

    // The agent's main thread (see SimMainThread): a call that may run a modal loop is launched
    // on a stack of its own; every task runs as a delivery, so above a parked modal loop.
    SimMainThread& mainThread() { return mainThread_; }
    void launch(std::function<void()> call) { mainThread_.launch(std::move(call)); }
    void deliver(const std::function<void()>& work) { mainThread_.deliver(work); }
    // A modal loop in the modal-panel mode: returns once stopModal has been called (throws
    // SimTermination when the agent ends meanwhile). Only on the main thread's helper stack.
    void runModal();
    void stopModal() { mainThread_.stopModal(); }
    // The agent's process has ended: its delayed blocks and messages, the deliveries through
    // sources and those scheduled for it are dropped, now and from now on; a parked modal loop
    // unwinds at the next step.
    void agentEnded();

private:
    using Key = std::pair<Nanos, std::uint64_t>;
    struct Task {
        ModeMask modes = kModeAny;
        bool viaSource = false;
        std::weak_ptr<RunLoopSourceState> source;
        std::function<void()> block;
        bool forAgent = false;  // dropped once the agent has ended
    };

    ModeMask currentMask() const { return modeMask(currentMode()); }
    void enqueue(Nanos delay, Task task);
    // Puts parked tasks that can now run back into the queue at their old place.
    void unpark();
    void unparkSource(const std::shared_ptr<RunLoopSourceState>& source);

    RefLedger& ledger_;
    Nanos now_ = 0;
    std::uint64_t nextSeq_ = 0;
    std::map<Key, Task> queue_;
    std::vector<std::pair<Key, Task>> parkedTimers_;
    std::vector<std::weak_ptr<RunLoopSourceState>> sourcesWithParked_;
    // The run loop keeps the sources added to it alive, as CFRunLoopAddSource retains them.
    std::vector<std::shared_ptr<RunLoopSourceState>> added_;
    std::vector<platform::RunLoopMode> modes_{platform::RunLoopMode::Default};
    std::function<void()> settle_;
    // Last: a modal loop still parked unwinds while the queue and the modes still exist.
    SimMainThread mainThread_;
};

}  // namespace vantor::sim
