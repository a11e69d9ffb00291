#pragma once
// What carries Modbus requests for the worker thread: a TCP connection or a serial line. A
// transport is used by the worker thread alone. Each of its waits has one deadline and ends at
// once when the worker's stop descriptor becomes readable.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "frame/line/LineDiagnostics.h"
#include "frame/modbus/ModbusFrame.h"

namespace qx::frame {

enum class ModbusOutcome {
    Ok,
    // The device answered with an exception, the reply did not match the request in every field
    // (transaction, protocol, unit, length, function, byte count, the echo of a write, a serial
    // frame's check sum), or the whole reply did not come within the response timeout: the
    // request failed, the connection stays.
    Failed,
    // No connection: refused, not made in time, dropped by the device, or never made.
    Lost,
};

class ModbusTransport {
  public:
    virtual ~ModbusTransport() = default;

    // Makes the connection (a connection made before is closed first); false when it cannot be
    // made, with why() telling the reason.
    virtual bool open(int stopFd) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Sends one request and takes its reply, all within one response timeout. For a failed
    // request `fault` says why (timeout, exception reply, anything else malformed); a lost one
    // has closed the transport.
    virtual ModbusOutcome transact(const ModbusRequest& request, std::vector<uint16_t>& registers,
                                   JobFault& fault, int stopFd) = 0;
    // Why the connection could not be made or was lost, for the log.
    virtual std::string why() const = 0;
};

// Waiting on one descriptor for the worker: Done when it is ready (or reports an error or a
// hang-up, which the next read or write shows), TimedOut after the deadline, Lost when the
// stop descriptor becomes readable.
enum class Io { Done, TimedOut, Lost };
Io awaitReady(int fd, short events, std::chrono::steady_clock::time_point deadline, int stopFd);

inline std::chrono::steady_clock::time_point afterMs(int64_t ms) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
}

// The fault a reply check names, as the line counts it.
inline JobFault jobFault(ReplyFault fault) {
    return fault == ReplyFault::Exception ? JobFault::Exception : JobFault::Malformed;
}

}  // namespace qx::frame
