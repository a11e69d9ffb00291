#pragma once
// The one thread that talks to a Modbus TCP device, so the UI thread never waits on the network.
// Requests run one at a time in the order submitted; each one's outcome goes to its callback on
// the worker thread (the caller hands it on to the UI thread). The worker owns the socket; nothing
// else touches it. Every wait of the worker (making the connection, sending, the reply) has one
// deadline and ends at once when the worker is destroyed, so a device that is slow, silent or out
// of reach holds up neither a request beyond its timeout nor the program at its end. Looking up a
// host name is the one wait the system does not let us cut short: give a numeric address where a
// name server may be slow.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "frame/modbus/ModbusFrame.h"
#include "frame/modbus/ModbusSettings.h"
#include "frame/modbus/RequestPlan.h"

namespace qx::frame {

enum class ModbusOutcome {
    Ok,
    // The device answered with an exception, the reply did not match the request in every field
    // (transaction, protocol, unit, length, function, byte count, the echo of a write), or the
    // whole reply did not come within the response timeout: the request failed, the connection
    // stays.
    Failed,
    // No connection: refused, not made in time, dropped by the device, or never made.
    Lost,
};

struct ModbusResult {
    ModbusOutcome outcome = ModbusOutcome::Ok;
    std::vector<std::vector<uint16_t>> registers;  // per read request
};

// One register run to write, starting at `start`.
struct WriteRun {
    uint16_t start;
    std::vector<uint16_t> values;
};

class ModbusWorker {
  public:
    using Done = std::function<void(ModbusResult)>;

    ModbusWorker(ModbusSettings settings, uint8_t unitId);
    // Stops the thread: a connection being made or a request under way is cut short, requests
    // still queued are dropped without their callbacks.
    ~ModbusWorker();
    ModbusWorker(const ModbusWorker&) = delete;
    ModbusWorker& operator=(const ModbusWorker&) = delete;

    void connect(Done done);
    void disconnect(Done done);
    void read(std::vector<ReadRequest> requests, Done done);
    void write(std::vector<WriteRun> runs, Done done);

    // Modbus requests sent so far (reads and writes).
    uint64_t requestsSent() const { return requestsSent_; }

  private:
    enum class Kind { Connect, Disconnect, Read, Write };
    struct Request {
        Kind kind;
        std::vector<ReadRequest> reads;
        std::vector<WriteRun> writes;
        Done done;
    };
    void submit(Request request);
    void run();
    ModbusResult handle(const Request& request);
    ModbusResult doConnect();
    ModbusResult doRead(const std::vector<ReadRequest>& requests);
    ModbusResult doWrite(const std::vector<WriteRun>& runs);
    // Sends one request and takes its reply, all within one response timeout.
    ModbusOutcome transact(const ModbusRequest& request, std::vector<uint16_t>& registers);
    enum class Io { Done, TimedOut, Lost };
    Io sendAll(std::span<const uint8_t> bytes, std::chrono::steady_clock::time_point deadline);
    Io receive(std::span<uint8_t> bytes, std::chrono::steady_clock::time_point deadline);
    // Waits until the socket is ready for `events`; TimedOut after the deadline, Lost when the
    // worker stops.
    Io await(short events, std::chrono::steady_clock::time_point deadline);
    // Throws away what came after its request had given up on it (a late reply, the rest of a
    // broken one), so that the next request reads its own reply; false when the peer has closed.
    bool discardStale();
    void closeSocket();

    const ModbusSettings settings_;
    const uint8_t unitId_;
    int socket_ = -1;
    uint16_t transaction_ = 0;
    // Readable once the worker stops: every wait watches it.
    const int stopFd_;
    std::atomic<uint64_t> requestsSent_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Request> queue_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace qx::frame
