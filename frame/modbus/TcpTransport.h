#pragma once
// Modbus TCP on a socket of its own: MBAP framing, one transaction id per request. Looking up a
// host name is the one wait the system does not let us cut short: give a numeric address where a
// name server may be slow.
#include <span>

#include "frame/modbus/ModbusSettings.h"
#include "frame/modbus/ModbusTransport.h"

namespace qx::frame {

class TcpTransport : public ModbusTransport {
  public:
    TcpTransport(ModbusSettings settings, uint8_t unitId) : settings_(std::move(settings)), unitId_(unitId) {}
    ~TcpTransport() override { close(); }
    TcpTransport(const TcpTransport&) = delete;
    TcpTransport& operator=(const TcpTransport&) = delete;

    bool open(int stopFd) override;
    void close() override;
    bool isOpen() const override { return socket_ >= 0; }
    ModbusOutcome transact(const ModbusRequest& request, std::vector<uint16_t>& registers, JobFault& fault,
                           int stopFd) override;
    std::string why() const override { return why_; }

  private:
    Io sendAll(std::span<const uint8_t> bytes, std::chrono::steady_clock::time_point deadline, int stopFd);
    Io receive(std::span<uint8_t> bytes, std::chrono::steady_clock::time_point deadline, int stopFd);
    // Throws away what came after its request had given up on it (a late reply, the rest of a
    // broken one), so that the next request reads its own reply; false when the peer has closed.
    bool discardStale();

    const ModbusSettings settings_;
    const uint8_t unitId_;
    int socket_ = -1;
    uint16_t transaction_ = 0;
    std::string why_;
};

}  // namespace qx::frame
