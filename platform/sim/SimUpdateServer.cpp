#include "platform/sim/SimUpdateServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fmt/format.h>

#include <array>
#include <mutex>
#include <thread>
#include <utility>

namespace vantor::sim {

namespace {

std::string loopbackAddress(int port) {
    return "http://127.0.0.1:" + std::to_string(port);
}

#ifdef MSG_NOSIGNAL
constexpr int kSendFlags = MSG_NOSIGNAL;
#else
constexpr int kSendFlags = 0;  // macOS: the socket is marked SO_NOSIGPIPE instead
#endif

// Keeps the descriptor to this process: nothing it might start inherits it.
bool setCloseOnExec(int fd) {
    return ::fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

// A TCP socket of this process only.
int closeOnExecSocket() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd >= 0 && !setCloseOnExec(fd)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// A peer that hangs up early must not kill the process with SIGPIPE.
void ignoreBrokenPipe([[maybe_unused]] int fd) {
#ifdef SO_NOSIGPIPE
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof on);
#endif
}

// Binds `fd` to an ephemeral port of 127.0.0.1; the port, or 0 on failure.
int bindLoopback(int fd) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

// Reads a request's head (up to its blank line) within a second; empty when none arrived.
std::string readRequestHead(int fd) {
    constexpr std::size_t kMaxHead = 16 * 1024;
    std::string head;
    std::array<char, 2048> buffer{};
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxHead) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, 1000) <= 0) return {};
        const ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
        if (n <= 0) return {};
        head.append(buffer.data(), static_cast<std::size_t>(n));
    }
    return head;
}

void sendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::send(fd, bytes.data(), bytes.size(), kSendFlags);
        if (n <= 0) return;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

}  // namespace

struct SimUpdateServer::State {
    int listener = -1;
    std::array<int, 2> wake{-1, -1};  // written to once, to stop the serving thread
    std::thread thread;
    int port = 0;
    mutable std::mutex mutex;
    int status = 200;  // guarded by mutex
    std::string body;  // guarded by mutex
    int requests = 0;  // guarded by mutex

    void serve();
    void answer(int connection);
};

void SimUpdateServer::State::serve() {
    for (;;) {
        std::array<pollfd, 2> ready{{{listener, POLLIN, 0}, {wake[0], POLLIN, 0}}};
        if (::poll(ready.data(), ready.size(), -1) < 0) continue;
        if (ready[1].revents != 0) return;
        if ((ready[0].revents & POLLIN) == 0) continue;
        const int connection = ::accept(listener, nullptr, nullptr);
        if (connection < 0) continue;
        ignoreBrokenPipe(connection);
        answer(connection);
        ::close(connection);
    }
}

// One request per connection: GET of the latest-version path gets the chosen answer, any other
// path 404, anything but GET 405.
void SimUpdateServer::State::answer(int connection) {
    const std::string head = readRequestHead(connection);
    if (head.empty()) return;
    const std::string_view requestLine = std::string_view(head).substr(0, head.find("\r\n"));
    const std::size_t pathStart = requestLine.find(' ') + 1;
    const std::size_t pathEnd = requestLine.find(' ', pathStart);
    const std::string_view method = requestLine.substr(0, pathStart - 1);
    const std::string_view target = requestLine.substr(pathStart, pathEnd - pathStart);
    const std::string_view path = target.substr(0, target.find('?'));  // the query aside

    int answerStatus = 404;
    std::string answerBody;
    if (method != "GET") {
        answerStatus = 405;
    } else if (path == kLatestVersionPath) {
        const std::lock_guard lock(mutex);
        ++requests;
        answerStatus = status;
        answerBody = body;
    }
    sendAll(connection, fmt::format("HTTP/1.1 {} Answer\r\nContent-Type: application/json\r\n"
                                    "Content-Length: {}\r\nConnection: close\r\n\r\n",
                                    answerStatus, answerBody.size()));
    sendAll(connection, answerBody);
}

SimUpdateServer::SimUpdateServer(int status, std::string body) : state_(std::make_unique<State>()) {
    State& state = *state_;
    state.status = status;
    state.body = std::move(body);
    state.listener = closeOnExecSocket();
    if (state.listener < 0) return;
    const int port = bindLoopback(state.listener);
    if (port == 0 || ::listen(state.listener, 16) != 0 || ::pipe(state.wake.data()) != 0 ||
        !setCloseOnExec(state.wake[0]) || !setCloseOnExec(state.wake[1]))
        return;
    // Listening already: a request sent from now on waits in the backlog until it is served.
    state.port = port;
    state.thread = std::thread([&state] { state.serve(); });
}

SimUpdateServer::~SimUpdateServer() {
    State& state = *state_;
    if (state.thread.joinable()) {
        const char stop = 1;
        (void)!::write(state.wake[1], &stop, 1);
        state.thread.join();
    }
    for (const int fd : {state.listener, state.wake[0], state.wake[1]})
        if (fd >= 0) ::close(fd);
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
    const int fd = closeOnExecSocket();
    if (fd < 0) return;
    // Bound without listen: the kernel answers every connection attempt with a reset.
    const int port = bindLoopback(fd);
    if (port == 0) {
        ::close(fd);
        return;
    }
    socket_ = fd;
    port_ = port;
}

RefusingLoopbackPort::~RefusingLoopbackPort() {
    if (socket_ >= 0) ::close(socket_);
}

std::string RefusingLoopbackPort::baseAddress() const {
    return socket_ >= 0 ? loopbackAddress(port_) : std::string();
}

}  // namespace vantor::sim
