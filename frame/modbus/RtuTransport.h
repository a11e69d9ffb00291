#pragma once
// Modbus RTU on a serial device: one request at a time on the bus, each frame ending in a CRC,
// and at least three and a half characters of silence before the next request so that every
// device on the bus sees where a frame ends. A reply counts only when its CRC holds, it comes
// from the unit asked and its PDU answers the request in every field (as a TCP reply's does).
// A device that goes away (a hang-up, an adapter pulled out) ends the connection.
#include <span>

#include "frame/modbus/ModbusTransport.h"
#include "frame/modbus/SerialPort.h"

namespace qx::frame {

class RtuTransport : public ModbusTransport {
  public:
    RtuTransport(SerialSettings settings, uint8_t unitId)
        : settings_(std::move(settings)), unitId_(settings_.unit.value_or(unitId)) {}
    ~RtuTransport() override { close(); }
    RtuTransport(const RtuTransport&) = delete;
    RtuTransport& operator=(const RtuTransport&) = delete;

    bool open(int stopFd) override;
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }
    ModbusOutcome transact(const ModbusRequest& request, std::vector<uint16_t>& registers, JobFault& fault,
                           int stopFd) override;
    std::string why() const override { return why_; }

  private:
    Io writeAll(std::span<const uint8_t> bytes, std::chrono::steady_clock::time_point deadline, int stopFd);
    // Reads the reply until it is whole; a hang-up is Lost.
    Io readReply(std::vector<uint8_t>& frame, std::chrono::steady_clock::time_point deadline, int stopFd);
    // Throws away what came in between requests (a late reply); false when the device is gone.
    bool discardStale();
    void keepSilence();
    // After a request timed out: waits until nothing has come for a while; false when the device
    // is gone or the worker stops.
    bool awaitQuiet(int stopFd);

    // The longest quiet wait after a timeout.
    static constexpr int64_t kMaxQuietMs = 1000;

    const SerialSettings settings_;
    const uint8_t unitId_;
    int fd_ = -1;
    std::chrono::steady_clock::time_point lastTraffic_{};
    std::string why_;
    bool timedOut_ = false;
};

}  // namespace qx::frame
