// The HTTP client against a cpp-httplib server on 127.0.0.1, run in a thread of this process.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/posix/CurlHttpClient.h"

namespace vantor::platform {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The main queue of these tests: blocks posted from any thread, run on the test's thread.
class MainQueue {
public:
    void post(std::function<void()> block) {
        std::lock_guard lock(mutex_);
        blocks_.push_back(std::move(block));
        posted_.notify_all();
    }
    // Runs the next block posted, waiting for it at most `timeout`; false when none came.
    bool runNext(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        if (!posted_.wait_for(lock, timeout, [this] { return !blocks_.empty(); })) return false;
        auto block = std::move(blocks_.front());
        blocks_.pop_front();
        lock.unlock();
        block();
        return true;
    }
    std::size_t size() {
        std::lock_guard lock(mutex_);
        return blocks_.size();
    }

private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> blocks_;
};

class CurlHttpClientTest : public testing::Test {
protected:
    void SetUp() override {
        server_.Get(R"(/status/(\d+))",
                    [](const httplib::Request& request, httplib::Response& response) {
                        response.status = std::stoi(request.matches[1]);
                        if (response.status == 302) response.set_header("Location", "/status/200");
                        if (response.status != 304)
                            response.set_content("body of " + request.path, "text/plain");
                    });
        server_.Get(R"(/bytes/(\d+))",
                    [](const httplib::Request& request, httplib::Response& response) {
                        response.set_content(std::string(std::stoul(request.matches[1]), 'v'),
                                             "application/octet-stream");
                    });
        // Without Content-Length: only counting the bytes as they arrive can refuse it.
        server_.Get("/chunked", [](const httplib::Request&, httplib::Response& response) {
            response.set_chunked_content_provider("application/octet-stream",
                                                  [](std::size_t offset, httplib::DataSink& sink) {
                                                      if (offset >= 2 * 1024 * 1024) {
                                                          sink.done();
                                                      } else {
                                                          const std::string piece(64 * 1024, 'c');
                                                          sink.write(piece.data(), piece.size());
                                                      }
                                                      return true;
                                                  });
        });
        // Accepts the request and answers only when the test ends.
        server_.Get("/silent", [this](const httplib::Request&, httplib::Response& response) {
            std::unique_lock lock(mutex_);
            ++silentRequests_;
            changed_.notify_all();
            changed_.wait_for(lock, 30s, [this] { return released_; });
            response.set_content("late", "text/plain");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        ASSERT_GT(port_, 0);
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running())
            std::this_thread::sleep_for(1ms);
    }

    void TearDown() override {
        {
            std::lock_guard lock(mutex_);
            released_ = true;
            changed_.notify_all();
        }
        server_.stop();
        thread_.join();
    }

    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(port_) + path;
    }

    CurlHttpClient::PostToMainQueue postToQueue() {
        return [this](std::function<void()> block) { queue_.post(std::move(block)); };
    }

    // One request through `client`, its completion run from the main queue.
    HttpResponse fetch(CurlHttpClient& client, const std::string& address) {
        std::optional<HttpResponse> answer;
        std::thread::id ranOn;
        client.get(address, [&](HttpResponse response) {
            ranOn = std::this_thread::get_id();
            answer = std::move(response);
        });
        EXPECT_TRUE(queue_.runNext(10s)) << "no completion for " << address;
        EXPECT_EQ(ranOn, std::this_thread::get_id());
        EXPECT_EQ(queue_.size(), 0u);
        return answer.value_or(HttpResponse{});
    }

    void waitForSilentRequest() {
        std::unique_lock lock(mutex_);
        ASSERT_TRUE(changed_.wait_for(lock, 10s, [this] { return silentRequests_ > 0; }));
    }

    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
    MainQueue queue_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool released_ = false;
    int silentRequests_ = 0;
};

TEST_F(CurlHttpClientTest, EveryStatusArrivesWithItsBodyAndNoRedirectIsFollowed) {
    CurlHttpClient client(postToQueue());
    for (const int status : {200, 201, 302, 304, 404, 500}) {
        SCOPED_TRACE(status);
        const std::string path = "/status/" + std::to_string(status);
        const HttpResponse response = fetch(client, url(path));
        EXPECT_EQ(response.statusCode, status);
        EXPECT_EQ(response.body, status == 304 ? "" : "body of " + path);
        EXPECT_EQ(response.error, std::nullopt);
    }
}

TEST_F(CurlHttpClientTest, ABodyOverOneMebibyteIsAnError) {
    CurlHttpClient client(postToQueue());
    const HttpResponse exact = fetch(client, url("/bytes/1048576"));
    EXPECT_EQ(exact.error, std::nullopt);
    EXPECT_EQ(exact.body.size(), 1048576u);

    for (const char* path : {"/bytes/1048577", "/bytes/2097152", "/chunked"}) {
        SCOPED_TRACE(path);
        const HttpResponse response = fetch(client, url(path));
        EXPECT_EQ(response.error, "the response body is larger than 1 MiB");
        EXPECT_EQ(response.body, "");
    }
}

TEST_F(CurlHttpClientTest, AServerThatNeverAnswersEndsAtTheTotalTimeout) {
    CurlHttpClient client(postToQueue(), {.connect = 1s, .total = 1s});
    const auto start = Clock::now();
    const HttpResponse response = fetch(client, url("/silent"));
    const auto elapsed = Clock::now() - start;
    EXPECT_EQ(response.statusCode, 0);
    ASSERT_TRUE(response.error.has_value());
    EXPECT_NE(response.error->find("timed out"), std::string::npos) << *response.error;
    EXPECT_GE(elapsed, 900ms);
    EXPECT_LT(elapsed, 5s);
}

TEST_F(CurlHttpClientTest, ARefusedConnectionAndAForeignSchemeAreErrorsAtOnce) {
    // A loopback port that is bound but not listening refuses connections, and no other
    // program can take it while the test holds it.
    const int socketFd = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(socketFd, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(socketFd, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(::getsockname(socketFd, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const std::string refused = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));

    CurlHttpClient client(postToQueue());
    for (const std::string& target : {refused + "/", std::string("file:///etc/hostname")}) {
        SCOPED_TRACE(target);
        const auto start = Clock::now();
        const HttpResponse response = fetch(client, target);
        EXPECT_LT(Clock::now() - start, 2s);
        EXPECT_EQ(response.statusCode, 0);
        EXPECT_TRUE(response.error.has_value());
        EXPECT_EQ(response.body, "");
    }
    ::close(socketFd);
}

TEST_F(CurlHttpClientTest, ConcurrentRequestsEachCompleteOnceOnTheMainQueue) {
    CurlHttpClient client(postToQueue());
    std::vector<long> statuses;
    for (int round = 0; round < 2; ++round) {
        for (const int status : {200, 201, 500}) {
            client.get(url("/status/" + std::to_string(status)),
                       [&](HttpResponse response) { statuses.push_back(response.statusCode); });
        }
        ASSERT_TRUE(client.waitUntilIdle(10s));
        // Handed over, not run: completions run only from the main queue.
        EXPECT_EQ(statuses.size(), static_cast<std::size_t>(round) * 3);
        while (queue_.runNext(0ms)) {
        }
    }
    std::sort(statuses.begin(), statuses.end());
    EXPECT_EQ(statuses, (std::vector<long>{200, 200, 201, 201, 500, 500}));
}

TEST_F(CurlHttpClientTest, DestroyingTheClientAbandonsARequestInFlightPromptly) {
    bool completed = false;
    const auto start = Clock::now();
    {
        CurlHttpClient client(postToQueue());  // the default 15 s total timeout
        client.get(url("/silent"), [&](HttpResponse) { completed = true; });
        waitForSilentRequest();
    }
    EXPECT_LT(Clock::now() - start, 4s);
    EXPECT_EQ(queue_.size(), 0u);
    EXPECT_FALSE(completed);
}

}  // namespace
}  // namespace vantor::platform
