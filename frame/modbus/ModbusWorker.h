#pragma once
// The one thread that talks to a Modbus device, so the UI thread never waits on the network or the
// serial line. Requests run one at a time in the order submitted; each one's outcome goes to its
// callback on the worker thread (the caller hands it on to the UI thread). The worker owns the
// transport; nothing else touches it. Every wait of the worker (making the connection, sending, the reply)
// has one deadline and ends at once when the worker is destroyed, so a device that is slow, silent or out of
// reach holds up neither a request beyond its timeout nor the program at its end.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "frame/modbus/ModbusFrame.h"
#include "frame/modbus/ModbusSettings.h"
#include "frame/modbus/ModbusTransport.h"
#include "frame/modbus/RequestPlan.h"

namespace qx::frame {

struct ModbusResult {
    ModbusOutcome outcome = ModbusOutcome::Ok;
    std::vector<std::vector<uint16_t>> registers;  // per read request
    JobFault fault = JobFault::None;               // why a request failed
    std::string why;                               // why the connection could not be made or was lost
};

// One register run to write, starting at `start`.
struct WriteRun {
    uint16_t start;
    std::vector<uint16_t> values;
};

class ModbusWorker {
  public:
    using Done = std::function<void(ModbusResult)>;

    // Modbus TCP to the settings' host and port.
    ModbusWorker(ModbusSettings settings, uint8_t unitId);
    explicit ModbusWorker(std::unique_ptr<ModbusTransport> transport);
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
    ModbusOutcome transact(const ModbusRequest& request, std::vector<uint16_t>& registers,
                           ModbusResult& result);

    std::unique_ptr<ModbusTransport> transport_;
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
