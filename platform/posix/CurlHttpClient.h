// The HTTP client of the Linux build: each request runs libcurl's easy interface in a worker
// thread of its own, and its completion is handed to the main queue through a function the
// owner provides.
//
// A request connects within 5 s and ends within 15 s (both can be set, for tests); follows no
// redirect (a 3xx answer is delivered as its status, as any other); speaks only http and https;
// and refuses a body over 1 MiB with an error. The proxy of the environment (http_proxy,
// no_proxy …) is used, except for the loopback addresses. Nothing is logged: a failed request
// is only an error in the completion.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "platform/Http.h"

namespace vantor::platform {

// How long a request may take to connect, and in all.
struct HttpTimeouts {
    std::chrono::milliseconds connect{5000};
    std::chrono::milliseconds total{15000};
};

class CurlHttpClient final : public HttpClient {
public:
    // Queues a block on the main queue (dispatch_async to the main queue). Called from the
    // worker threads, so it must be safe to call from any thread.
    using PostToMainQueue = std::function<void(std::function<void()>)>;

    using Timeouts = HttpTimeouts;

    static constexpr std::size_t kMaxBodySize = 1024 * 1024;

    explicit CurlHttpClient(PostToMainQueue postToMainQueue, Timeouts timeouts = {});
    // Abandons the requests still running: each stops at its next progress check (within about
    // a second) and posts nothing; the worker threads are joined before this returns, so
    // postToMainQueue is never called afterwards.
    ~CurlHttpClient() override;
    CurlHttpClient(const CurlHttpClient&) = delete;
    CurlHttpClient& operator=(const CurlHttpClient&) = delete;

    void get(std::string_view url, HttpCompletion completion) override;

    // Blocks until every request started has handed its completion to postToMainQueue, at most
    // `timeout`; true when none is left. For whoever waits in real time for the answers (the
    // simulator, tests).
    bool waitUntilIdle(std::chrono::milliseconds timeout);

private:
    struct Request {
        std::thread thread;
        std::atomic<bool> finished{false};
    };

    // Runs in the worker thread.
    void perform(const std::string& url, HttpCompletion& completion);
    // Joins the threads of requests that have finished.
    void joinFinished();

    PostToMainQueue postToMainQueue_;
    Timeouts timeouts_;
    std::atomic<bool> abandoning_{false};
    std::list<std::unique_ptr<Request>> requests_;  // touched on the main thread only
    std::mutex mutex_;
    std::condition_variable idle_;
    std::size_t pending_ = 0;  // guarded by mutex_
};

}  // namespace vantor::platform
