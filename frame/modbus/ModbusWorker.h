#pragma once
// The one thread that talks to a Modbus TCP device, so the UI thread never waits on the network.
// Requests run one at a time in the order submitted; each one's outcome goes to its callback on
// the worker thread (the caller hands it on to the UI thread). The worker owns the libmodbus
// context; nothing else touches it.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "frame/modbus/ModbusSettings.h"
#include "frame/modbus/RequestPlan.h"

struct _modbus;  // libmodbus's context, kept out of this header

namespace qx::frame {

enum class ModbusOutcome {
    Ok,
    // The device answered with an exception, the reply did not match the request, or no reply
    // came in time: the request failed, the connection stays.
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
    // Stops the thread: a request under way is cut short by shutting the socket.
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
    ModbusOutcome failure();
    void closeContext();

    const ModbusSettings settings_;
    const uint8_t unitId_;
    _modbus* context_ = nullptr;
    std::atomic<int> socket_{-1};
    std::atomic<uint64_t> requestsSent_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Request> queue_;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace qx::frame
