#include "platform/sim/SimHttp.h"

#include <fmt/format.h>

namespace vantor::sim {

SimHttp::SimHttp(SimRunLoop& runLoop, SimTrace& trace)
    : runLoop_(runLoop), trace_(trace), client_([this](std::function<void()> completion) {
          const std::lock_guard lock(mutex_);
          arrived_.push_back(std::move(completion));
      }) {}

SimHttp::~SimHttp() = default;

void SimHttp::get(std::string_view url, platform::HttpCompletion completion) {
    requests_.emplace_back(url);
    trace_.add(fmt::format("http get {}", url));
    ++inFlight_;
    client_.get(url, [this, completion = std::move(completion)](platform::HttpResponse response) {
        trace_.add(response.error ? fmt::format("http fails: {}", *response.error)
                                  : fmt::format("http answers {}", response.statusCode));
        completion(std::move(response));
    });
}

void SimHttp::settle() {
    if (inFlight_.load() == 0) return;
    // Each request ends within its total timeout; allow a little more for the thread to post.
    client_.waitUntilIdle(std::chrono::seconds(20));
    std::vector<std::function<void()>> arrived;
    {
        const std::lock_guard lock(mutex_);
        arrived.swap(arrived_);
    }
    inFlight_ -= static_cast<int>(arrived.size());
    for (auto& completion : arrived)
        runLoop_.scheduleForAgent(0, std::move(completion));
}

}  // namespace vantor::sim
