#include "frame/modbus/RtuTransport.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>
#include <utility>

#include "frame/modbus/RtuFrame.h"

namespace qx::frame {

using Clock = std::chrono::steady_clock;

bool RtuTransport::open(int /*stopFd*/) {
    close();
    fd_ = openSerial(settings_, why_);
    lastTraffic_ = Clock::now();
    return fd_ >= 0;
}

void RtuTransport::close() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}

ModbusOutcome RtuTransport::transact(const ModbusRequest& request, std::vector<uint16_t>& registers,
                                     JobFault& fault, int stopFd) {
    auto lost = [this] {
        why_ = settings_.device + ": the device has gone";
        close();
        return ModbusOutcome::Lost;
    };
    auto failed = [&](JobFault f) {
        fault = f;
        return ModbusOutcome::Failed;
    };
    if (!discardStale()) return lost();
    if (std::exchange(timedOut_, false) && !awaitQuiet(stopFd)) return lost();
    keepSilence();
    const auto deadline = afterMs(settings_.responseTimeoutMs);
    const std::vector<uint8_t> pdu = request.pdu();
    if (const Io io = writeAll(buildRtuFrame(unitId_, pdu), deadline, stopFd); io != Io::Done)
        return io == Io::Lost ? lost() : failed(JobFault::Timeout);
    std::vector<uint8_t> reply;
    if (const Io io = readReply(reply, deadline, stopFd); io != Io::Done) {
        if (io == Io::Lost) return lost();
        timedOut_ = true;
        return failed(JobFault::Timeout);
    }
    if (!crcHolds(reply) || reply[0] != unitId_) return failed(JobFault::Malformed);
    // Past address and CRC an RTU reply is the PDU a TCP reply carries: the same checks hold.
    const auto body = std::span<const uint8_t>(reply).subspan(1, reply.size() - 3);
    const std::vector<uint8_t> frame = buildFrame(0, unitId_, body);
    if (const ReplyFault f = checkReply(frame, request, 0, unitId_, registers); f != ReplyFault::None)
        return failed(jobFault(f));
    return ModbusOutcome::Ok;
}

bool RtuTransport::awaitQuiet(int stopFd) {
    // A serial reply carries no transaction id: an answer that comes after its request gave up
    // would pass for the next request's. Whatever comes is thrown away until the line has been
    // quiet for a while.
    const auto quiet = std::chrono::milliseconds(std::min<int64_t>(settings_.responseTimeoutMs, kMaxQuietMs));
    for (auto until = Clock::now() + quiet;;) {
        const Io io = awaitReady(fd_, POLLIN, until, stopFd);
        if (io == Io::TimedOut) return true;
        if (io == Io::Lost || !discardStale()) return false;
        until = Clock::now() + quiet;
    }
}

void RtuTransport::keepSilence() {
    const auto quietUntil = lastTraffic_ + std::chrono::microseconds(rtuSilenceUs(settings_.baud));
    if (Clock::now() < quietUntil) std::this_thread::sleep_until(quietUntil);
}

bool RtuTransport::discardStale() {
    uint8_t buffer[512];
    for (int rounds = 0; rounds < 16; ++rounds) {
        const ssize_t got = read(fd_, buffer, sizeof buffer);
        if (got > 0) {
            lastTraffic_ = Clock::now();
            continue;
        }
        if (got == 0) return false;
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    }
    return true;
}

Io RtuTransport::writeAll(std::span<const uint8_t> bytes, Clock::time_point deadline, int stopFd) {
    while (!bytes.empty()) {
        const ssize_t sent = write(fd_, bytes.data(), bytes.size());
        if (sent > 0) {
            bytes = bytes.subspan(static_cast<size_t>(sent));
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (const Io io = awaitReady(fd_, POLLOUT, deadline, stopFd); io != Io::Done) return io;
        } else {
            return Io::Lost;
        }
    }
    lastTraffic_ = Clock::now();
    return Io::Done;
}

Io RtuTransport::readReply(std::vector<uint8_t>& frame, Clock::time_point deadline, int stopFd) {
    frame.clear();
    for (;;) {
        const auto size = rtuReplySize(frame);
        if (size && frame.size() >= *size) return Io::Done;
        const size_t want = size ? *size - frame.size() : size_t{1};
        uint8_t buffer[kRtuMaxFrame];
        const ssize_t got = read(fd_, buffer, std::min(want, sizeof buffer));
        if (got > 0) {
            frame.insert(frame.end(), buffer, buffer + got);
            lastTraffic_ = Clock::now();
        } else if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (const Io io = awaitReady(fd_, POLLIN, deadline, stopFd); io != Io::Done) return io;
        } else {
            return Io::Lost;  // hung up, or the device is gone
        }
    }
}

}  // namespace qx::frame
