// The maker's web server as the simulator and the tests stand it in: a small HTTP/1.1 server on
// 127.0.0.1 in a thread of this process that answers the update check with a chosen status and
// body; and a loopback address where nothing listens, for the case of a server that cannot be
// reached.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace vantor::sim {

class SimUpdateServer {
public:
    // The path that answers with the chosen status and body, whatever its query; every other
    // path is 404.
    static constexpr std::string_view kLatestVersionPath = "/projects/latestVersion";

    // Starts listening on an ephemeral port of 127.0.0.1 and returns once it accepts requests.
    explicit SimUpdateServer(int status = 200, std::string body = {});
    // Stops the server and joins its thread.
    ~SimUpdateServer();
    SimUpdateServer(const SimUpdateServer&) = delete;
    SimUpdateServer& operator=(const SimUpdateServer&) = delete;

    // "http://127.0.0.1:PORT": the base address the agent's bundle names; empty when no port
    // of 127.0.0.1 could be bound.
    std::string baseAddress() const;
    // The answer to the next requests; may change at any time.
    void setAnswer(int status, std::string body);

    // How many requests for kLatestVersionPath arrived so far.
    int requestCount() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// A port of 127.0.0.1 that is bound and not listening: a connection to it is refused at once.
// The port stays taken while this object lives, so no other program can start answering on it.
class RefusingLoopbackPort {
public:
    RefusingLoopbackPort();
    ~RefusingLoopbackPort();
    RefusingLoopbackPort(const RefusingLoopbackPort&) = delete;
    RefusingLoopbackPort& operator=(const RefusingLoopbackPort&) = delete;

    // "http://127.0.0.1:PORT"; empty when no socket could be bound.
    std::string baseAddress() const;

private:
    int socket_ = -1;
    int port_ = 0;
};

}  // namespace vantor::sim
