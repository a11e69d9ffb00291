#pragma once
// qxflow-sim's Modbus TCP server: serves the simulated flow monitor's register bank to any number
// of clients on real time, and takes operator commands on standard input between requests. One
// thread: a poll loop over the listening socket, the clients and standard input.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "frame/modbus/SimRegisterBank.h"
#include "platform/VirtualScheduler.h"

struct _modbus;

namespace qx::sim {

class SimServer {
  public:
    // `clock` is the device's: the server moves it to real time before each event.
    SimServer(frame::SimRegisterBank& bank, platform::VirtualScheduler& clock);
    ~SimServer();
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    // Listens on host:port (port 0: any free port); the port listened on, or -1 with errno set.
    int listen(const std::string& host, uint16_t port);
    // Serves until a command asks to quit or standard input ends; `command` handles each line.
    void run(const std::function<bool(const std::string&)>& command);

    // Ends run() after the present event.
    bool stopping = false;

    // ---- fault controls ----
    // Time from a request to its reply.
    int64_t latencyMs = 0;
    // Requests get no reply at all.
    bool muted = false;
    // The next n requests of that kind get the exception "server device failure".
    int32_t failReads = 0, failWrites = 0, failAny = 0;
    // New connections are refused (the listening socket closes) until set true again.
    void setAccepting(bool accepting);
    // Drops every client's connection.
    void dropClients();

    size_t clientCount() const { return clients_.size(); }

  private:
    static constexpr int kTickMs = 5;

    void advanceClock();
    void accept();
    // Serves one request of the client; false when the client is gone.
    bool serve(int client);
    bool takeFailure(bool isRead);

    frame::SimRegisterBank& bank_;
    platform::VirtualScheduler& clock_;
    _modbus* context_ = nullptr;
    int listener_ = -1;
    std::string host_;
    int port_ = 0;
    std::vector<int> clients_;
    std::string input_;  // standard input not yet run, up to its next line end
    int64_t startMs_;
};

}  // namespace qx::sim
