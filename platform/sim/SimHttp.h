// HTTP on the simulated desktop: real requests through the Linux client (only ever to the
// loopback server a scenario or test starts), made deterministic in virtual time: a request in
// flight completes before virtual time moves on, and its completion runs at the virtual time
// the request started.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Http.h"
#include "platform/posix/CurlHttpClient.h"
#include "platform/sim/SimRunLoop.h"
#include "platform/sim/SimTrace.h"

namespace vantor::sim {

class SimHttp final : public platform::HttpClient {
public:
    SimHttp(SimRunLoop& runLoop, SimTrace& trace);
    ~SimHttp() override;

    void get(std::string_view url, platform::HttpCompletion completion) override;

    // Waits in real time (bounded by the requests' own timeouts) for every request in flight,
    // then queues their completions on the main queue at the current virtual time. The run
    // loop calls it before it runs anything.
    void settle();

    // Every address requested so far, in order.
    const std::vector<std::string>& requests() const { return requests_; }

private:
    SimRunLoop& runLoop_;
    SimTrace& trace_;
    std::vector<std::string> requests_;
    std::atomic<int> inFlight_{0};
    std::mutex mutex_;
    std::vector<std::function<void()>> arrived_;  // guarded by mutex_
    platform::CurlHttpClient client_;
};

}  // namespace vantor::sim
