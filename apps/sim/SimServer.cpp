#include "sim/SimServer.h"

#include <modbus/modbus.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <thread>

namespace qx::sim {

namespace {

int64_t realMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

uint16_t word(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] << 8 | bytes[1]);
}

}  // namespace

SimServer::SimServer(frame::SimRegisterBank& bank, platform::VirtualScheduler& clock)
    : bank_(bank), clock_(clock), startMs_(realMs() - clock.nowMs()) {}

SimServer::~SimServer() {
    dropClients();
    if (listener_ >= 0) close(listener_);
    if (context_) modbus_free(context_);
}

int SimServer::listen(const std::string& host, uint16_t port) {
    host_ = host;
    context_ = modbus_new_tcp(host.c_str(), port);
    if (!context_) return -1;
    listener_ = modbus_tcp_listen(context_, 8);
    if (listener_ < 0) return -1;
    sockaddr_in address{};
    socklen_t size = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    return port_;
}

void SimServer::setAccepting(bool accepting) {
    if (accepting == (listener_ >= 0)) return;
    if (!accepting) {
        close(listener_);
        listener_ = -1;
        return;
    }
    modbus_free(context_);
    context_ = modbus_new_tcp(host_.c_str(), port_);
    listener_ = modbus_tcp_listen(context_, 8);
}

void SimServer::dropClients() {
    for (int fd : clients_) close(fd);
    clients_.clear();
}

void SimServer::advanceClock() {
    const int64_t due = realMs() - startMs_;
    if (due > clock_.nowMs()) clock_.advance(due - clock_.nowMs());
}

void SimServer::run(const std::function<bool(const std::string&)>& command) {
    bool inputOpen = true;
    while (!stopping) {
        std::vector<pollfd> fds;
        fds.push_back({inputOpen ? STDIN_FILENO : -1, POLLIN, 0});
        fds.push_back({listener_, POLLIN, 0});
        for (int fd : clients_) fds.push_back({fd, POLLIN, 0});
        // Commands scheduled on the device's clock run within kTickMs of their time.
        if (poll(fds.data(), fds.size(), kTickMs) < 0) continue;
        advanceClock();
        // Read straight from the descriptor: a stream's buffer would hide lines from poll().
        if (fds[0].revents) {
            char buffer[4096];
            const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
            if (got <= 0) inputOpen = false;  // no operator: the server runs until it is stopped
            input_.append(buffer, got > 0 ? static_cast<size_t>(got) : 0);
            for (size_t end; (end = input_.find('\n')) != std::string::npos;) {
                const std::string line = input_.substr(0, end);
                input_.erase(0, end + 1);
                if (!command(line)) return;
            }
        }
        if (fds[1].revents && listener_ >= 0) accept();
        for (size_t i = 2; i < fds.size(); ++i) {
            if (!fds[i].revents) continue;
            const int fd = fds[i].fd;
            if (!serve(fd)) {
                close(fd);
                std::erase(clients_, fd);
                std::cout << "client gone" << std::endl;
            }
        }
    }
}

void SimServer::accept() {
    const int fd = ::accept(listener_, nullptr, nullptr);
    if (fd < 0) return;
    clients_.push_back(fd);
    std::cout << "client connected" << std::endl;
}

bool SimServer::takeFailure(bool isRead) {
    for (int32_t* count : {isRead ? &failReads : &failWrites, &failAny})
        if (*count > 0) {
            --*count;
            return true;
        }
    return false;
}

bool SimServer::serve(int client) {
    uint8_t query[MODBUS_TCP_MAX_ADU_LENGTH];
    modbus_set_socket(context_, client);
    const int length = modbus_receive(context_, query);
    if (length <= 0) return length == 0;  // 0: a request for another unit, ignored
    if (muted) return true;
    if (latencyMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(latencyMs));
    advanceClock();

    const int offset = modbus_get_header_length(context_);
    const uint8_t function = query[offset];
    const uint16_t start = word(query + offset + 1);
    auto fail = [&](int code) {
        return modbus_reply_exception(context_, query, static_cast<unsigned>(code)) >= 0;
    };
    const bool isRead =
        function == MODBUS_FC_READ_HOLDING_REGISTERS || function == MODBUS_FC_READ_INPUT_REGISTERS;
    const bool isWrite =
        function == MODBUS_FC_WRITE_SINGLE_REGISTER || function == MODBUS_FC_WRITE_MULTIPLE_REGISTERS;
    if (!isRead && !isWrite) return fail(MODBUS_EXCEPTION_ILLEGAL_FUNCTION);
    if (takeFailure(isRead)) return fail(MODBUS_EXCEPTION_SLAVE_OR_SERVER_FAILURE);

    frame::SimRegisterBank::Reply reply;
    std::vector<uint16_t> registers;
    if (isRead) {
        const uint16_t count = word(query + offset + 3);
        if (count == 0 || count > MODBUS_MAX_READ_REGISTERS) return fail(MODBUS_EXCEPTION_ILLEGAL_DATA_VALUE);
        const auto table = function == MODBUS_FC_READ_HOLDING_REGISTERS ? frame::RegisterTable::Holding
                                                                        : frame::RegisterTable::Input;
        reply = bank_.read(table, start, count, registers);
    } else if (function == MODBUS_FC_WRITE_SINGLE_REGISTER) {
        registers.push_back(word(query + offset + 3));
        reply = bank_.write(start, registers);
    } else {
        const uint16_t count = word(query + offset + 3);
        if (count == 0 || count > MODBUS_MAX_WRITE_REGISTERS || length < offset + 6 + 2 * count)
            return fail(MODBUS_EXCEPTION_ILLEGAL_DATA_VALUE);
        for (uint16_t i = 0; i < count; ++i) registers.push_back(word(query + offset + 6 + 2 * i));
        reply = bank_.write(start, registers);
    }
    if (reply != frame::SimRegisterBank::Reply::Ok) return fail(static_cast<int>(reply));

    // libmodbus builds the reply from a mapping that holds just the registers asked for.
    modbus_mapping_t* mapping =
        modbus_mapping_new_start_address(0, 0, 0, 0, start, static_cast<unsigned>(registers.size()), start,
                                         static_cast<unsigned>(registers.size()));
    std::copy(registers.begin(), registers.end(), mapping->tab_registers);
    std::copy(registers.begin(), registers.end(), mapping->tab_input_registers);
    const bool sent = modbus_reply(context_, query, length, mapping) >= 0;
    modbus_mapping_free(mapping);
    return sent;
}

}  // namespace qx::sim
