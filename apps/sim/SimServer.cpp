#include "sim/SimServer.h"

#include <netdb.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <iostream>

#include "frame/modbus/ModbusFrame.h"

namespace qx::sim {

namespace {

using frame::ModbusFunction;

int64_t realMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Modbus exception codes.
constexpr uint8_t kIllegalFunction = 1;
constexpr uint8_t kIllegalDataValue = 3;
constexpr uint8_t kServerDeviceFailure = 4;
// The most registers one request may read or write.
constexpr uint16_t kMaxRead = 125;
constexpr uint16_t kMaxWrite = 123;
constexpr int kSendBufferBytes = 64 * 1024;

bool again() {
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
}

}  // namespace

SimServer::SimServer(frame::SimRegisterBank& bank, platform::VirtualScheduler& clock)
    : bank_(bank), clock_(clock), startMs_(realMs() - clock.nowMs()) {}

SimServer::~SimServer() {
    dropClients();
    if (listener_ >= 0) close(listener_);
}

int SimServer::listen(const std::string& host, uint16_t port) {
    host_ = host;
    port_ = port;
    listener_ = openListener();
    if (listener_ < 0) return -1;
    // Handles are handed out lowest first: those below the listener are taken already.
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        const int64_t room = static_cast<int64_t>(limit.rlim_cur) - listener_ - 1 - kSpareHandles;
        maxClients_ = static_cast<size_t>(std::max<int64_t>(room, 1));
    }
    sockaddr_storage address{};
    socklen_t size = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    const auto* bound = reinterpret_cast<const sockaddr_in*>(&address);  // the port sits alike in v4 and v6
    port_ = ntohs(bound->sin_port);
    return port_;
}

int SimServer::openListener() {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(port_);
    if (const int error = getaddrinfo(host_.c_str(), port.c_str(), &hints, &found); error != 0) {
        errno = error == EAI_SYSTEM ? errno : EADDRNOTAVAIL;
        return -1;
    }
    int fd = -1;
    for (const addrinfo* a = found; a && fd < 0; a = a->ai_next) {
        fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) continue;
        const int on = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        if (bind(fd, a->ai_addr, a->ai_addrlen) != 0 || ::listen(fd, SOMAXCONN) != 0) {
            const int error = errno;
            close(fd);
            fd = -1;
            errno = error;
        }
    }
    freeaddrinfo(found);
    return fd;
}

void SimServer::setAccepting(bool accepting) {
    if (accepting == (listener_ >= 0)) return;
    if (!accepting) {
        close(listener_);
        listener_ = -1;
        return;
    }
    listener_ = openListener();
}

void SimServer::dropClients() {
    if (serial_ && serial_->fd >= 0) {
        close(serial_->fd);
        std::string why;
        serial_->fd = frame::openSerial(serial_->settings, why);
        serial_->in.clear();
        serial_->delayed.clear();
        serial_->out.clear();
        serial_->heard = false;
        if (serial_->fd < 0) std::cerr << "qxflow-sim: " << why << std::endl;
    }
    for (auto& c : clients_)
        if (!c->gone) {
            close(c->fd);
            c->gone = true;
        }
}

void SimServer::drop(Client& client) {
    close(client.fd);
    client.gone = true;
    std::cout << "client gone" << std::endl;
}

void SimServer::advanceClock() {
    const int64_t due = realMs() - startMs_;
    if (due > clock_.nowMs()) clock_.advance(due - clock_.nowMs());
}

// Until the next thing falls due: a command on the device's clock, a delayed reply, a stalled
// client's deadline, the end of a pause in accepting. With nothing due the server sleeps until a
// client or the operator says something.
int SimServer::sleepMs(int64_t now, bool accepting) const {
    int64_t due = kLongestSleepMs;
    if (const auto next = clock_.nextDueMs()) due = std::min(due, *next - (now - startMs_));
    for (const auto& c : clients_) {
        if (!c->delayed.empty()) due = std::min(due, c->delayed.front().first - now);
        if (c->stalledSince >= 0) due = std::min(due, c->stalledSince + kClientDeadlineMs + 1 - now);
    }
    if (serial_ && !serial_->delayed.empty()) due = std::min(due, serial_->delayed.front().first - now);
    if (serial_ && !serial_->in.empty()) due = std::min(due, serial_->lastByteMs + kSerialResyncMs + 1 - now);
    if (!accepting && listener_ >= 0 && now < acceptPausedUntil_)
        due = std::min(due, acceptPausedUntil_ - now);
    return static_cast<int>(std::clamp<int64_t>(due, 0, kLongestSleepMs));
}

void SimServer::run(const std::function<bool(const std::string&)>& command) {
    bool inputOpen = true;
    while (!stopping) {
        int64_t now = realMs();
        std::vector<pollfd> fds;
        fds.push_back({inputOpen ? STDIN_FILENO : -1, POLLIN, 0});
        const bool accepting = listener_ >= 0 && now >= acceptPausedUntil_ && clients_.size() < maxClients_;
        fds.push_back({accepting ? listener_ : -1, POLLIN, 0});
        for (const auto& c : clients_) {
            // A client reads its replies before it is heard again; one with many requests waiting
            // for the latency is not read meanwhile either.
            const short events = !c->out.empty()                   ? short{POLLOUT}
                                 : c->delayed.size() < kMaxDelayed ? short{POLLIN}
                                                                   : short{0};
            fds.push_back({c->fd, events, 0});
        }
        const bool serial = serial_ && serial_->fd >= 0;
        if (serial)
            fds.push_back(
                {serial_->fd, static_cast<short>(POLLIN | (serial_->out.empty() ? 0 : POLLOUT)), 0});
        if (poll(fds.data(), fds.size(), sleepMs(now, accepting)) < 0 && errno != EINTR) {
            std::cerr << "qxflow-sim: cannot wait for clients: " << std::strerror(errno) << std::endl;
            break;
        }
        advanceClock();
        now = realMs();
        if (fds[0].revents) readInput(inputOpen, command);
        if (stopping) break;
        if (fds[1].revents && listener_ >= 0) acceptClients(now);
        // Clients accepted just now have no entry in fds yet; the next round polls them.
        if (serial && (fds.back().revents & (POLLIN | POLLHUP | POLLERR)) != 0) receiveSerial(now);
        if (serial_ && serial_->fd >= 0) serveSerial(now);
        for (size_t i = 2; i < fds.size() - (serial ? 1 : 0); ++i) {
            Client& c = *clients_[i - 2];
            if (c.gone) continue;
            if (fds[i].revents & (POLLIN | POLLERR | POLLHUP)) receive(c, now);
            while (!c.gone && !c.delayed.empty() && c.delayed.front().first <= now) {
                const std::vector<uint8_t> request = std::move(c.delayed.front().second);
                c.delayed.pop_front();
                const auto reply = answer(request);
                c.out.insert(c.out.end(), reply.begin(), reply.end());
            }
            if (!c.gone && !c.out.empty()) flush(c, now);
            if (!c.gone && c.stalledSince >= 0 && now - c.stalledSince > kClientDeadlineMs) drop(c);
        }
        std::erase_if(clients_, [](const auto& c) { return c->gone; });
    }
}

void SimServer::readInput(bool& inputOpen, const std::function<bool(const std::string&)>& command) {
    // Read straight from the descriptor: a stream's buffer would hide lines from poll().
    char buffer[4096];
    const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
    if (got <= 0) inputOpen = false;  // no operator: the server runs until it is stopped
    input_.append(buffer, got > 0 ? static_cast<size_t>(got) : 0);
    for (size_t end; (end = input_.find('\n')) != std::string::npos;) {
        const std::string line = input_.substr(0, end);
        input_.erase(0, end + 1);
        if (!command(line)) {
            stopping = true;
            return;
        }
    }
}

void SimServer::acceptClients(int64_t now) {
    // A bounded number per round, so that a stream of connections does not starve the clients.
    for (int i = 0; i < 64 && clients_.size() < maxClients_; ++i) {
        const int fd = accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd >= 0) {
            // Replies are small: a fixed buffer keeps a client that does not read them from
            // holding megabytes of the kernel's memory before its deadline starts.
            const int size = kSendBufferBytes;
            setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &size, sizeof size);
            acceptPauseMs_ = 0;
            clients_.push_back(std::make_unique<Client>(Client{fd, {}, {}, {}, -1, false}));
            std::cout << "client connected" << std::endl;
            continue;
        }
        if (again() || errno == ECONNABORTED) {
            if (errno == EAGAIN || errno == EWOULDBLOCK) return;
            continue;
        }
        // Out of file handles or memory: the connection waits in the backlog, and the listening
        // socket stays readable; without a pause the loop would spin on it.
        if (acceptPauseMs_ == 0)
            std::cerr << "qxflow-sim: cannot accept a client: " << std::strerror(errno) << "\n";
        acceptPauseMs_ = std::clamp<int64_t>(acceptPauseMs_ * 2, 10, kMaxAcceptPauseMs);
        acceptPausedUntil_ = now + acceptPauseMs_;
        return;
    }
}

void SimServer::receive(Client& c, int64_t now) {
    uint8_t buffer[4096];
    const ssize_t got = recv(c.fd, buffer, sizeof buffer, 0);
    if (got == 0 || (got < 0 && !again())) return drop(c);
    if (got < 0) return;
    c.in.insert(c.in.end(), buffer, buffer + got);
    while (c.in.size() >= frame::kMbapSize) {
        const frame::MbapHeader header = frame::parseMbap(c.in);
        // Past a frame that is no Modbus frame the stream cannot be split into requests again.
        if (header.protocol != 0 || header.length < 2 || header.frameSize() > frame::kMaxFrameSize)
            return drop(c);
        if (c.in.size() < header.frameSize()) break;
        std::vector<uint8_t> request(c.in.begin(), c.in.begin() + static_cast<ptrdiff_t>(header.frameSize()));
        c.in.erase(c.in.begin(), c.in.begin() + static_cast<ptrdiff_t>(header.frameSize()));
        c.stalledSince = -1;
        if (muted) continue;
        if (latencyMs > 0) {
            c.delayed.emplace_back(now + latencyMs, std::move(request));
        } else {
            const auto reply = answer(request);
            c.out.insert(c.out.end(), reply.begin(), reply.end());
        }
    }
    if (!c.in.empty() && c.stalledSince < 0) c.stalledSince = now;
}

void SimServer::flush(Client& c, int64_t now) {
    const ssize_t sent = send(c.fd, c.out.data(), c.out.size(), MSG_NOSIGNAL);
    if (sent < 0 && !again()) return drop(c);
    if (sent > 0) c.out.erase(c.out.begin(), c.out.begin() + sent);
    if (c.out.empty()) {
        if (c.in.empty()) c.stalledSince = -1;
    } else if (c.stalledSince < 0) {
        c.stalledSince = now;
    }
}

bool SimServer::takeFailure(bool isRead) {
    for (int32_t* count : {isRead ? &failReads : &failWrites, &failAny})
        if (*count > 0) {
            --*count;
            return true;
        }
    return false;
}

std::vector<uint8_t> SimServer::answer(std::span<const uint8_t> request) {
    const frame::MbapHeader header = frame::parseMbap(request);
    const auto pdu = request.subspan(frame::kMbapSize);
    const uint8_t function = pdu[0];
    auto reply = [&](std::span<const uint8_t> body) {
        return frame::buildFrame(header.transaction, header.unit, body);
    };
    auto fail = [&](uint8_t code) {
        const uint8_t body[] = {static_cast<uint8_t>(function | frame::kExceptionBit), code};
        return reply(body);
    };
    const bool isRead = function == static_cast<uint8_t>(ModbusFunction::ReadHolding) ||
                        function == static_cast<uint8_t>(ModbusFunction::ReadInput);
    const bool isSingle = function == static_cast<uint8_t>(ModbusFunction::WriteSingle);
    const bool isMultiple = function == static_cast<uint8_t>(ModbusFunction::WriteMultiple);
    if (!isRead && !isSingle && !isMultiple) return fail(kIllegalFunction);
    if (pdu.size() < 5) return fail(kIllegalDataValue);
    if (takeFailure(isRead)) return fail(kServerDeviceFailure);

    const uint16_t start = frame::wordAt(pdu, 1);
    const uint16_t count = frame::wordAt(pdu, 3);
    std::vector<uint16_t> registers;
    frame::SimRegisterBank::Reply outcome;
    if (isRead) {
        if (pdu.size() != 5 || count == 0 || count > kMaxRead) return fail(kIllegalDataValue);
        const auto table = function == static_cast<uint8_t>(ModbusFunction::ReadHolding)
                               ? frame::RegisterTable::Holding
                               : frame::RegisterTable::Input;
        outcome = bank_.read(table, start, count, registers);
    } else if (isSingle) {
        if (pdu.size() != 5) return fail(kIllegalDataValue);
        registers.push_back(count);  // the value written
        outcome = bank_.write(start, registers);
    } else {
        if (count == 0 || count > kMaxWrite || pdu.size() != 6u + 2u * count || pdu[5] != 2 * count)
            return fail(kIllegalDataValue);
        for (size_t i = 0; i < count; ++i) registers.push_back(frame::wordAt(pdu, 6 + 2 * i));
        outcome = bank_.write(start, registers);
    }
    if (outcome != frame::SimRegisterBank::Reply::Ok) return fail(static_cast<uint8_t>(outcome));

    if (isSingle) return reply(pdu);
    std::vector<uint8_t> body(pdu.begin(), pdu.begin() + 5);  // function, start, count
    if (isRead) {
        body.resize(2);
        body[1] = static_cast<uint8_t>(2 * count);
        for (uint16_t r : registers) {
            body.push_back(static_cast<uint8_t>(r >> 8));
            body.push_back(static_cast<uint8_t>(r));
        }
    }
    return reply(body);
}

}  // namespace qx::sim
