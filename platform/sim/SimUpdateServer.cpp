#include "platform/sim/SimUpdateServer.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <utility>

namespace vantor::sim {

namespace {

std::string loopbackAddress(int port) {
    return "http://127.0.0.1:" + std::to_string(port);
}

}  // namespace

struct SimUpdateServer::State {
    httplib::Server server;
    std::thread thread;
    int port = 0;
    mutable std::mutex mutex;
    int status = 200;  // guarded by mutex
    std::string body;  // guarded by mutex
    int requests = 0;  // guarded by mutex
};

SimUpdateServer::SimUpdateServer(int status, std::string body) : state_(std::make_unique<State>()) {
    State& state = *state_;
    state.status = status;
    state.body = std::move(body);
    state.server.Get(std::string(kLatestVersionPath),
                     [&state](const httplib::Request&, httplib::Response& response) {
                         const std::lock_guard lock(state.mutex);
                         ++state.requests;
                         response.status = state.status;
                         response.set_content(state.body, "application/json");
                     });
    state.port = state.server.bind_to_any_port("127.0.0.1");
    if (state.port <= 0) return;
    state.thread = std::thread([&state] { state.server.listen_after_bind(); });
    // The socket already accepts connections; wait until the server also serves them.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!state.server.is_running() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

SimUpdateServer::~SimUpdateServer() {
    state_->server.stop();
    if (state_->thread.joinable()) state_->thread.join();
}

std::string SimUpdateServer::baseAddress() const {
    return state_->port > 0 ? loopbackAddress(state_->port) : std::string();
}

void SimUpdateServer::setAnswer(int status, std::string body) {
    const std::lock_guard lock(state_->mutex);
    state_->status = status;
    state_->body = std::move(body);
}

int SimUpdateServer::requestCount() const {
    const std::lock_guard lock(state_->mutex);
    return state_->requests;
}

RefusingLoopbackPort::RefusingLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    // Bound without listen: the kernel answers every connection attempt with a reset.
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        return;
    }
    socket_ = fd;
    port_ = ntohs(address.sin_port);
}

RefusingLoopbackPort::~RefusingLoopbackPort() {
    if (socket_ >= 0) ::close(socket_);
}

std::string RefusingLoopbackPort::baseAddress() const {
    return socket_ >= 0 ? loopbackAddress(port_) : std::string();
}

}  // namespace vantor::sim
