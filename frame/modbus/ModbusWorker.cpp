#include "frame/modbus/ModbusWorker.h"

#include <netdb.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace qx::frame {

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point after(int64_t ms) {
    return Clock::now() + std::chrono::milliseconds(ms);
}

int makeStopFd() {
    const int fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (fd < 0) throw std::runtime_error("no event descriptor for the Modbus worker");
    return fd;
}

}  // namespace

ModbusWorker::ModbusWorker(ModbusSettings settings, uint8_t unitId)
    : settings_(std::move(settings)), unitId_(unitId), stopFd_(makeStopFd()), thread_([this] { run(); }) {}

ModbusWorker::~ModbusWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    const uint64_t one = 1;
    // Cannot fail short of a full counter; the thread also looks at stopping_ between requests.
    [[maybe_unused]] const ssize_t written = ::write(stopFd_, &one, sizeof one);
    thread_.join();
    close(stopFd_);
}

void ModbusWorker::connect(Done done) {
    submit({Kind::Connect, {}, {}, std::move(done)});
}

void ModbusWorker::disconnect(Done done) {
    submit({Kind::Disconnect, {}, {}, std::move(done)});
}

void ModbusWorker::read(std::vector<ReadRequest> requests, Done done) {
    submit({Kind::Read, std::move(requests), {}, std::move(done)});
}

void ModbusWorker::write(std::vector<WriteRun> runs, Done done) {
    submit({Kind::Write, {}, std::move(runs), std::move(done)});
}

void ModbusWorker::submit(Request request) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(request));
    }
    wake_.notify_one();
}

void ModbusWorker::run() {
    for (;;) {
        Request request;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_) break;
            request = std::move(queue_.front());
            queue_.pop_front();
        }
        ModbusResult result = handle(request);
        if (request.done) request.done(std::move(result));
    }
    closeSocket();
}

ModbusResult ModbusWorker::handle(const Request& request) {
    switch (request.kind) {
        case Kind::Connect:
            return doConnect();
        case Kind::Disconnect:
            closeSocket();
            return {};
        case Kind::Read:
            return socket_ >= 0 ? doRead(request.reads) : ModbusResult{ModbusOutcome::Lost, {}};
        case Kind::Write:
            return socket_ >= 0 ? doWrite(request.writes) : ModbusResult{ModbusOutcome::Lost, {}};
    }
    return {ModbusOutcome::Failed, {}};
}

ModbusResult ModbusWorker::doConnect() {
    closeSocket();
    const auto deadline = after(settings_.connectTimeoutMs);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(settings_.port);
    if (getaddrinfo(settings_.host.c_str(), port.c_str(), &hints, &found) != 0)
        return {ModbusOutcome::Lost, {}};
    for (const addrinfo* a = found; a && socket_ < 0; a = a->ai_next) {
        socket_ = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (socket_ < 0) continue;
        if (::connect(socket_, a->ai_addr, a->ai_addrlen) == 0) break;
        int error = errno;
        if (error == EINPROGRESS) {
            if (await(POLLOUT, deadline) != Io::Done) {
                closeSocket();
                break;  // out of time, or the worker stops: no other address gets a chance either
            }
            socklen_t size = sizeof error;
            if (getsockopt(socket_, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
        }
        if (error != 0) closeSocket();
    }
    freeaddrinfo(found);
    transaction_ = 0;
    return {socket_ >= 0 ? ModbusOutcome::Ok : ModbusOutcome::Lost, {}};
}

ModbusResult ModbusWorker::doRead(const std::vector<ReadRequest>& requests) {
    ModbusResult result;
    for (const ReadRequest& r : requests) {
        const auto function =
            r.table == RegisterTable::Holding ? ModbusFunction::ReadHolding : ModbusFunction::ReadInput;
        std::vector<uint16_t> registers;
        const ModbusOutcome outcome = transact({function, r.start, r.count, {}}, registers);
        if (outcome != ModbusOutcome::Ok) return {outcome, {}};
        result.registers.push_back(std::move(registers));
    }
    return result;
}

ModbusResult ModbusWorker::doWrite(const std::vector<WriteRun>& runs) {
    for (const WriteRun& run : runs) {
        const auto function =
            run.values.size() == 1 ? ModbusFunction::WriteSingle : ModbusFunction::WriteMultiple;
        std::vector<uint16_t> none;
        const ModbusOutcome outcome =
            transact({function, run.start, static_cast<uint16_t>(run.values.size()), run.values}, none);
        if (outcome != ModbusOutcome::Ok) return {outcome, {}};
    }
    return {};
}

ModbusOutcome ModbusWorker::transact(const ModbusRequest& request, std::vector<uint16_t>& registers) {
    auto lost = [this] {
        closeSocket();
        return ModbusOutcome::Lost;
    };
    if (!discardStale()) return lost();
    const uint16_t transaction = ++transaction_;
    const auto deadline = after(settings_.responseTimeoutMs);
    ++requestsSent_;
    auto outcome = [&](Io io) { return io == Io::Lost ? lost() : ModbusOutcome::Failed; };
    if (const Io sent = sendAll(buildFrame(transaction, unitId_, request.pdu()), deadline); sent != Io::Done)
        return outcome(sent);

    std::vector<uint8_t> frame(kMbapSize);
    if (const Io got = receive(frame, deadline); got != Io::Done) return outcome(got);
    const MbapHeader header = parseMbap(frame);
    if (checkReplyHeader(header, request, transaction, unitId_) != ReplyFault::None)
        return ModbusOutcome::Failed;
    frame.resize(header.frameSize());
    if (const Io got = receive(std::span(frame).subspan(kMbapSize), deadline); got != Io::Done)
        return outcome(got);
    return checkReply(frame, request, transaction, unitId_, registers) == ReplyFault::None
               ? ModbusOutcome::Ok
               : ModbusOutcome::Failed;
}

bool ModbusWorker::discardStale() {
    // A peer that floods the line is not read dry here: what comes after this fails the request.
    uint8_t buffer[4096];
    for (int rounds = 0; rounds < 16; ++rounds) {
        const ssize_t got = recv(socket_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got == 0) return false;
        if (got < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    }
    return true;
}

ModbusWorker::Io ModbusWorker::sendAll(std::span<const uint8_t> bytes, Clock::time_point deadline) {
    while (!bytes.empty()) {
        const ssize_t sent = send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes = bytes.subspan(static_cast<size_t>(sent));
        } else if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
            if (const Io io = await(POLLOUT, deadline); io != Io::Done) return io;
        } else {
            return Io::Lost;
        }
    }
    return Io::Done;
}

ModbusWorker::Io ModbusWorker::receive(std::span<uint8_t> bytes, Clock::time_point deadline) {
    while (!bytes.empty()) {
        const ssize_t got = recv(socket_, bytes.data(), bytes.size(), 0);
        if (got > 0) {
            bytes = bytes.subspan(static_cast<size_t>(got));
        } else if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            if (const Io io = await(POLLIN, deadline); io != Io::Done) return io;
        } else {
            return Io::Lost;  // closed by the peer, or reset
        }
    }
    return Io::Done;
}

ModbusWorker::Io ModbusWorker::await(short events, Clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return Io::TimedOut;
        pollfd fds[] = {{socket_, events, 0}, {stopFd_, POLLIN, 0}};
        const int ready = poll(fds, 2, static_cast<int>(std::min<int64_t>(left, 60'000)));
        if (ready < 0 && errno != EINTR) return Io::Lost;
        if (fds[1].revents) return Io::Lost;
        // An error or hang-up shows in the next send or receive.
        if (fds[0].revents) return Io::Done;
    }
}

void ModbusWorker::closeSocket() {
    if (socket_ < 0) return;
    close(socket_);
    socket_ = -1;
}

}  // namespace qx::frame
