#include "frame/modbus/TcpTransport.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace qx::frame {

using Clock = std::chrono::steady_clock;

Io awaitReady(int fd, short events, Clock::time_point deadline, int stopFd) {
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return Io::TimedOut;
        pollfd fds[] = {{fd, events, 0}, {stopFd, POLLIN, 0}};
        const int ready = poll(fds, 2, static_cast<int>(std::min<int64_t>(left, 60'000)));
        if (ready < 0 && errno != EINTR) return Io::Lost;
        if (fds[1].revents) return Io::Lost;
        if (fds[0].revents) return Io::Done;
    }
}

bool TcpTransport::open(int stopFd) {
    close();
    const auto deadline = afterMs(settings_.connectTimeoutMs);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(settings_.port);
    if (const int error = getaddrinfo(settings_.host.c_str(), port.c_str(), &hints, &found); error != 0) {
        why_ = settings_.host + ": " + gai_strerror(error);
        return false;
    }
    why_ = "no address";
    for (const addrinfo* a = found; a && socket_ < 0; a = a->ai_next) {
        socket_ = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (socket_ < 0) continue;
        if (::connect(socket_, a->ai_addr, a->ai_addrlen) == 0) break;
        int error = errno;
        if (error == EINPROGRESS) {
            if (awaitReady(socket_, POLLOUT, deadline, stopFd) != Io::Done) {
                why_ = "no connection within " + std::to_string(settings_.connectTimeoutMs) + " ms";
                close();
                break;  // out of time, or the worker stops: no other address gets a chance either
            }
            socklen_t size = sizeof error;
            if (getsockopt(socket_, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
        }
        if (error != 0) {
            why_ = std::strerror(error);
            close();
        }
    }
    freeaddrinfo(found);
    transaction_ = 0;
    return socket_ >= 0;
}

void TcpTransport::close() {
    if (socket_ < 0) return;
    ::close(socket_);
    socket_ = -1;
}

ModbusOutcome TcpTransport::transact(const ModbusRequest& request, std::vector<uint16_t>& registers,
                                     JobFault& fault, int stopFd) {
    auto lost = [this] {
        why_ = "the device closed the connection";
        close();
        return ModbusOutcome::Lost;
    };
    if (!discardStale()) return lost();
    const uint16_t transaction = ++transaction_;
    const auto deadline = afterMs(settings_.responseTimeoutMs);
    auto outcome = [&](Io io) {
        if (io == Io::Lost) return lost();
        fault = JobFault::Timeout;
        return ModbusOutcome::Failed;
    };
    auto refused = [&](ReplyFault f) {
        fault = jobFault(f);
        return ModbusOutcome::Failed;
    };
    if (const Io sent = sendAll(buildFrame(transaction, unitId_, request.pdu()), deadline, stopFd);
        sent != Io::Done)
        return outcome(sent);

    std::vector<uint8_t> frame(kMbapSize);
    if (const Io got = receive(frame, deadline, stopFd); got != Io::Done) return outcome(got);
    const MbapHeader header = parseMbap(frame);
    if (const ReplyFault f = checkReplyHeader(header, request, transaction, unitId_); f != ReplyFault::None)
        return refused(f);
    frame.resize(header.frameSize());
    if (const Io got = receive(std::span(frame).subspan(kMbapSize), deadline, stopFd); got != Io::Done)
        return outcome(got);
    if (const ReplyFault f = checkReply(frame, request, transaction, unitId_, registers);
        f != ReplyFault::None)
        return refused(f);
    return ModbusOutcome::Ok;
}

bool TcpTransport::discardStale() {
    // A peer that floods the line is not read dry here: what comes after this fails the request.
    uint8_t buffer[4096];
    for (int rounds = 0; rounds < 16; ++rounds) {
        const ssize_t got = recv(socket_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got == 0) return false;
        if (got < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    }
    return true;
}

Io TcpTransport::sendAll(std::span<const uint8_t> bytes, Clock::time_point deadline, int stopFd) {
    while (!bytes.empty()) {
        const ssize_t sent = send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes = bytes.subspan(static_cast<size_t>(sent));
        } else if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
            if (const Io io = awaitReady(socket_, POLLOUT, deadline, stopFd); io != Io::Done) return io;
        } else {
            return Io::Lost;
        }
    }
    return Io::Done;
}

Io TcpTransport::receive(std::span<uint8_t> bytes, Clock::time_point deadline, int stopFd) {
    while (!bytes.empty()) {
        const ssize_t got = recv(socket_, bytes.data(), bytes.size(), 0);
        if (got > 0) {
            bytes = bytes.subspan(static_cast<size_t>(got));
        } else if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (const Io io = awaitReady(socket_, POLLIN, deadline, stopFd); io != Io::Done) return io;
        } else {
            return Io::Lost;  // closed by the peer, or reset
        }
    }
    return Io::Done;
}

}  // namespace qx::frame
