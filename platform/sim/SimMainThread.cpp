#include "platform/sim/SimMainThread.h"

#include <stdexcept>
#include <utility>

namespace vantor::sim {

SimMainThread::~SimMainThread() {
    try {
        unwind();
    } catch (...) {
        // Whatever else ended the parked call has nowhere to go now.
    }
    if (thread_.joinable()) thread_.join();
}

bool SimMainThread::onAgentStack() const {
    return !finished_ && std::this_thread::get_id() == agentId_;
}

void SimMainThread::launch(std::function<void()> call) {
    if (!finished_) throw std::logic_error("the agent's main thread is still in a modal loop");
    if (thread_.joinable()) thread_.join();
    finished_ = false;
    error_ = nullptr;
    thread_ = std::thread([this, call = std::move(call)] {
        {
            std::unique_lock lock(mutex_);
            turnChanged_.wait(lock, [this] { return turn_ == Turn::Agent; });
        }
        try {
            call();
        } catch (const SimTermination&) {
            // The agent's process ended: its code has been unwound.
        } catch (...) {
            error_ = std::current_exception();
        }
        const std::lock_guard lock(mutex_);
        finished_ = true;
        turn_ = Turn::Driver;
        turnChanged_.notify_all();
    });
    agentId_ = thread_.get_id();
    handOver(nullptr);
}

void SimMainThread::deliver(const std::function<void()>& work) {
    resumeIfDue();
    if (onAgentStack()) {
        // Already above the modal loop: a termination unwinds the loop with everything else.
        work();
    } else if (parked()) {
        handOver(&work);
    } else {
        try {
            work();
        } catch (const SimTermination&) {
            // The agent's code that this delivery ran has been unwound.
        }
    }
}

void SimMainThread::runModal() {
    if (!onAgentStack()) {
        throw std::logic_error(
            "a modal loop runs only inside a call launched through SimDesktop::launch");
    }
    stopped_.push_back(false);
    struct Pop {
        std::vector<bool>& stopped;
        ~Pop() { stopped.pop_back(); }
    } pop{stopped_};
    for (;;) {
        if (ended_) throw SimTermination{};
        if (stopped_.back()) return;
        if (const std::function<void()>* work = park()) (*work)();
    }
}

void SimMainThread::stopModal() {
    if (!stopped_.empty()) stopped_.back() = true;
}

void SimMainThread::resumeIfDue() {
    if (!parked() || onAgentStack()) return;
    if (ended_ || (!stopped_.empty() && stopped_.back())) handOver(nullptr);
}

void SimMainThread::unwind() {
    ended_ = true;
    if (parked() && !onAgentStack()) handOver(nullptr);
}

void SimMainThread::handOver(const std::function<void()>* work) {
    std::unique_lock lock(mutex_);
    work_ = work;
    turn_ = Turn::Agent;
    turnChanged_.notify_all();
    turnChanged_.wait(lock, [this] { return turn_ == Turn::Driver; });
    work_ = nullptr;
    if (!finished_) return;
    lock.unlock();
    thread_.join();
    if (error_) std::rethrow_exception(std::exchange(error_, nullptr));
}

const std::function<void()>* SimMainThread::park() {
    std::unique_lock lock(mutex_);
    turn_ = Turn::Driver;
    turnChanged_.notify_all();
    turnChanged_.wait(lock, [this] { return turn_ == Turn::Agent; });
    return work_;
}

}  // namespace vantor::sim
