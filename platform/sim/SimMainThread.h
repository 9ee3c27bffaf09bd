// The agent's main thread as far as a modal loop needs one.
//
// [NSApp runModalForWindow:] does not return to its caller until the modal loop is stopped,
// yet the simulated desktop is driven from outside: a test or the scenario player moves
// virtual time with runFor or wait. So a call into the agent that may run a modal loop (the
// application's launch) runs on a stack of its own, a helper thread. When its modal loop waits
// for something to happen it parks there and hands control back to the driver, which goes on
// running the run loop as before; the loop's current mode is then the modal-panel mode, so only
// what is scheduled in that mode runs. While a modal loop is parked, everything the desktop
// delivers to the agent (run-loop tasks, clicks, keyboard and mouse input) runs on the helper
// stack above the modal loop, as a real modal loop dispatches it. When a delivery has stopped
// the modal loop, runModal returns to its caller right after that delivery, and the agent's
// code goes on until it finishes or parks again; only then does the driver get control back.
// A modal loop stopped from outside any delivery (a test calling the agent directly) goes on at
// the driver's next run-loop step. Exactly one of the two threads runs at any time, handing
// over under a mutex, so everything stays deterministic and single-threaded in effect.
//
// Termination: the simulated process's terminate throws SimTermination, which unwinds the
// agent's code to the simulator. On the helper stack it unwinds everything up to the start of
// the launched call (a parked modal loop included); elsewhere up to the delivery that ran the
// agent's code. Only destructors of the unwound frames run on the way, so no agent code runs
// after the termination. A modal loop still parked when the desktop goes away is unwound the
// same way; the locals of its frames must then reach nothing the driver has already destroyed.
#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace vantor::sim {

// Thrown by the simulated process's terminate. Deliberately not a std::exception, so that no
// handler of the agent's own takes it.
class SimTermination {};

class SimMainThread {
public:
    SimMainThread() = default;
    // Unwinds a modal loop that is still parked.
    ~SimMainThread();
    SimMainThread(const SimMainThread&) = delete;
    SimMainThread& operator=(const SimMainThread&) = delete;

    // Runs `call` on the helper stack. Returns when it has finished (a termination inside it
    // ends it quietly) or when it parks in a modal loop. Another exception from it is rethrown
    // here. Throws std::logic_error while an earlier call is still parked.
    void launch(std::function<void()> call);
    // Runs `work`, which reaches the agent's code, as the main thread runs what reaches it now:
    // above a parked modal loop, else right here. A termination inside it ends it quietly.
    void deliver(const std::function<void()>& work);

    // Whether the caller runs on the helper stack: only there can a modal loop run.
    bool onAgentStack() const;
    // A launched call is parked in a modal loop (asked by the driver).
    bool parked() const { return !finished_; }

    // On the helper stack: runs a modal loop, parking whenever nothing is delivered, until
    // stopModal ends it. Throws SimTermination once the agent has ended.
    void runModal();
    // The innermost modal loop ends; its runModal returns at the loop's next turn.
    void stopModal();
    // Gives a parked modal loop its turn now when it has been stopped from outside a delivery
    // or the agent has ended meanwhile. The run loop calls it before each step.
    void resumeIfDue();

    // The agent's process has ended: modal loops unwind at their next turn.
    void end() { ended_ = true; }
    bool ended() const { return ended_; }
    // Ends the agent and unwinds a parked modal loop now.
    void unwind();

private:
    // The driver's side: hands the turn (and `work`, which may be null) to the helper stack and
    // waits until the turn is back; joins the helper once the launched call has finished.
    void handOver(const std::function<void()>* work);
    // The helper's side: hands the turn back and waits for the next one; the work delivered
    // with it, or null.
    const std::function<void()>* park();

    enum class Turn { Driver, Agent };

    std::mutex mutex_;
    std::condition_variable turnChanged_;
    Turn turn_ = Turn::Driver;
    std::thread thread_;
    std::thread::id agentId_;
    const std::function<void()>* work_ = nullptr;
    bool finished_ = true;
    bool ended_ = false;
    std::exception_ptr error_;
    std::vector<bool> stopped_;  // one per running modal loop, innermost last
};

}  // namespace vantor::sim
