// qxflow-sim on a serial line: the same register bank and faults as over TCP, in RTU frames. A
// request is whole when its function code and byte count say so; one with a broken CRC or for
// another unit gets no reply, as on a shared bus; one cut short is given up after a silence. The
// first bytes after the device is opened print "client connected", as a TCP client's connection
// does.
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <utility>

#include "frame/modbus/ModbusFrame.h"
#include "frame/modbus/RtuFrame.h"
#include "sim/SimServer.h"

namespace qx::sim {

bool SimServer::listenRtu(const frame::SerialSettings& settings, std::string& why) {
    Serial serial;
    serial.settings = settings;
    serial.fd = frame::openSerial(settings, why);
    if (serial.fd < 0) return false;
    serial_ = std::move(serial);
    return true;
}

void SimServer::receiveSerial(int64_t now) {
    uint8_t buffer[512];
    const ssize_t got = read(serial_->fd, buffer, sizeof buffer);
    if (got <= 0) {
        if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
            // The far end hung up: nobody to answer until the device is opened again.
            std::cout << "serial gone" << std::endl;
            close(serial_->fd);
            serial_->fd = -1;
        }
        return;
    }
    if (!std::exchange(serial_->heard, true)) std::cout << "client connected" << std::endl;
    if (!serial_->in.empty() && now - serial_->lastByteMs > kSerialResyncMs) serial_->in.clear();
    serial_->in.insert(serial_->in.end(), buffer, buffer + got);
    serial_->lastByteMs = now;
    auto& in = serial_->in;
    while (const auto size = frame::rtuRequestSize(in)) {
        if (*size > frame::kRtuMaxFrame) {
            in.clear();
            break;
        }
        if (in.size() < *size) break;
        std::vector<uint8_t> request(in.begin(), in.begin() + static_cast<ptrdiff_t>(*size));
        in.erase(in.begin(), in.begin() + static_cast<ptrdiff_t>(*size));
        if (muted) continue;
        serial_->delayed.emplace_back(now + latencyMs, std::move(request));
    }
}

void SimServer::serveSerial(int64_t now) {
    Serial& s = *serial_;
    if (!s.in.empty() && now - s.lastByteMs > kSerialResyncMs) s.in.clear();
    while (!s.delayed.empty() && s.delayed.front().first <= now) {
        const std::vector<uint8_t> request = std::move(s.delayed.front().second);
        s.delayed.pop_front();
        if (auto reply = answerRtu(request)) s.out.insert(s.out.end(), reply->begin(), reply->end());
    }
    if (s.out.empty()) return;
    const ssize_t sent = write(s.fd, s.out.data(), s.out.size());
    if (sent > 0) s.out.erase(s.out.begin(), s.out.begin() + sent);
}

std::optional<std::vector<uint8_t>> SimServer::answerRtu(std::span<const uint8_t> request) {
    const uint8_t unit = bank_.map().unitId;
    if (!frame::crcHolds(request) || request[0] != unit) return std::nullopt;
    const auto pdu = request.subspan(1, request.size() - 3);
    // The TCP answer to the same PDU, its header taken off again.
    const std::vector<uint8_t> tcp = answer(frame::buildFrame(0, unit, pdu));
    auto reply = frame::buildRtuFrame(unit, std::span(tcp).subspan(frame::kMbapSize));
    if (garble > 0) {
        --garble;
        reply.back() ^= 0x5A;
    }
    return reply;
}

}  // namespace qx::sim
