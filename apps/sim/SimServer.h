#pragma once
// qxflow-sim's Modbus TCP server: serves the simulated flow monitor's register bank to any number
// of clients on real time, and takes operator commands on standard input between requests. One
// thread: a poll loop over the listening socket, the clients and standard input. Nothing in it
// waits on a client: sockets do not block, each client has its own buffers, and a client that
// leaves a request or a reply half way for longer than kClientDeadlineMs is dropped, so a client
// that stalls, trickles or never reads holds up nobody but itself.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "frame/modbus/SerialPort.h"
#include "frame/modbus/SimRegisterBank.h"
#include "platform/VirtualScheduler.h"

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
    // Serves on a serial device as well (Modbus RTU, the map's unit address); false with `why`
    // set when the device cannot be opened.
    bool listenRtu(const frame::SerialSettings& settings, std::string& why);
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
    // Drops every client's connection; a serial device is closed and opened again (a restart).
    void dropClients();
    // The next n replies on the serial line carry a broken CRC.
    int32_t garble = 0;

  private:
    int sleepMs(int64_t now, bool accepting) const;

    // The longest the server sleeps without looking at its clock (a safety net, not a tick).
    static constexpr int64_t kLongestSleepMs = 1000;
    // How long a client may take to send the rest of a request it has started, or to take a
    // reply: generous for any client on a network, short enough that stalled ones do not pile up.
    static constexpr int64_t kClientDeadlineMs = 1000;
    // Requests of one client waiting for their answer under `latency`; more are left unread.
    static constexpr size_t kMaxDelayed = 64;
    // The longest pause before accepting again after accept failed (out of file handles).
    static constexpr int64_t kMaxAcceptPauseMs = 1000;
    // File handles kept free of clients, for what the server itself opens (a file, a pipe of the
    // runtime): with them gone, such a call fails in the middle of serving.
    static constexpr int64_t kSpareHandles = 8;

    struct Client {
        int fd;
        std::vector<uint8_t> in;   // a request not yet whole
        std::vector<uint8_t> out;  // replies the client has not taken yet
        // Requests answered at their time when a latency is set: due time and request.
        std::deque<std::pair<int64_t, std::vector<uint8_t>>> delayed;
        // Since when the client has left a request or a reply half way; -1 when it has not.
        int64_t stalledSince = -1;
        bool gone = false;
    };

    void advanceClock();
    int openListener();
    void acceptClients(int64_t now);
    void readInput(bool& inputOpen, const std::function<bool(const std::string&)>& command);
    // Takes what the client sent; answers (or queues) every whole request.
    void receive(Client& client, int64_t now);
    void flush(Client& client, int64_t now);
    void drop(Client& client);
    // The reply frame to one request frame.
    std::vector<uint8_t> answer(std::span<const uint8_t> request);
    bool takeFailure(bool isRead);

    // ---- the serial line (SimSerial.cpp) ----
    struct Serial {
        frame::SerialSettings settings;
        int fd = -1;
        std::vector<uint8_t> in;  // a request not yet whole
        int64_t lastByteMs = 0;
        std::deque<std::pair<int64_t, std::vector<uint8_t>>> delayed;  // requests under `latency`
        std::vector<uint8_t> out;                                      // replies not yet written
        bool heard = false;  // a master has spoken since the device was opened
    };
    void receiveSerial(int64_t now);
    void serveSerial(int64_t now);
    // The reply frame to one request frame of the serial line; none for a request not for us.
    std::optional<std::vector<uint8_t>> answerRtu(std::span<const uint8_t> request);
    std::optional<Serial> serial_;
    // A request cut short is given up after this much silence: the next byte starts a frame.
    static constexpr int64_t kSerialResyncMs = 100;

    frame::SimRegisterBank& bank_;
    platform::VirtualScheduler& clock_;
    int listener_ = -1;
    // The clients the process's file handles leave room for; more wait until one goes.
    size_t maxClients_ = SIZE_MAX;
    std::string host_;
    uint16_t port_ = 0;
    std::vector<std::unique_ptr<Client>> clients_;
    std::string input_;  // standard input not yet run, up to its next line end
    int64_t startMs_;
    // After accept failed: no accepting before this time; the pause doubles while it fails.
    int64_t acceptPausedUntil_ = 0;
    int64_t acceptPauseMs_ = 0;
};

}  // namespace qx::sim
