#include "frame/modbus/ModbusWorker.h"

#include <modbus/modbus.h>
#include <sys/socket.h>

#include <cerrno>

namespace qx::frame {

namespace {

void setTimeout(modbus_t* context, int64_t ms) {
    modbus_set_response_timeout(context, static_cast<uint32_t>(ms / 1000),
                                static_cast<uint32_t>(ms % 1000 * 1000));
}

}  // namespace

ModbusWorker::ModbusWorker(ModbusSettings settings, uint8_t unitId)
    : settings_(std::move(settings)), unitId_(unitId), thread_([this] { run(); }) {}

ModbusWorker::~ModbusWorker() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    if (const int fd = socket_.load(); fd >= 0) shutdown(fd, SHUT_RDWR);
    thread_.join();
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
    closeContext();
}

ModbusResult ModbusWorker::handle(const Request& request) {
    switch (request.kind) {
        case Kind::Connect:
            return doConnect();
        case Kind::Disconnect:
            closeContext();
            return {};
        case Kind::Read:
            return context_ ? doRead(request.reads) : ModbusResult{ModbusOutcome::Lost, {}};
        case Kind::Write:
            return context_ ? doWrite(request.writes) : ModbusResult{ModbusOutcome::Lost, {}};
    }
    return {ModbusOutcome::Failed, {}};
}

ModbusResult ModbusWorker::doConnect() {
    closeContext();
    const std::string port = std::to_string(settings_.port);
    context_ = modbus_new_tcp_pi(settings_.host.c_str(), port.c_str());
    if (!context_) return {ModbusOutcome::Lost, {}};
    modbus_set_slave(context_, unitId_);
    // libmodbus bounds its connect by the response timeout.
    setTimeout(context_, settings_.connectTimeoutMs);
    if (modbus_connect(context_) != 0) {
        closeContext();
        return {ModbusOutcome::Lost, {}};
    }
    setTimeout(context_, settings_.responseTimeoutMs);
    socket_ = modbus_get_socket(context_);
    return {};
}

ModbusResult ModbusWorker::doRead(const std::vector<ReadRequest>& requests) {
    ModbusResult result;
    for (const ReadRequest& r : requests) {
        std::vector<uint16_t> registers(r.count);
        ++requestsSent_;
        const int got = r.table == RegisterTable::Holding
                            ? modbus_read_registers(context_, r.start, r.count, registers.data())
                            : modbus_read_input_registers(context_, r.start, r.count, registers.data());
        if (got != r.count) return {got < 0 ? failure() : ModbusOutcome::Failed, {}};
        result.registers.push_back(std::move(registers));
    }
    return result;
}

ModbusResult ModbusWorker::doWrite(const std::vector<WriteRun>& runs) {
    for (const WriteRun& run : runs) {
        ++requestsSent_;
        const int count = static_cast<int>(run.values.size());
        const int done = count == 1 ? modbus_write_register(context_, run.start, run.values.front())
                                    : modbus_write_registers(context_, run.start, count, run.values.data());
        if (done != count) return {done < 0 ? failure() : ModbusOutcome::Failed, {}};
    }
    return {};
}

// What the error of the last libmodbus call means for the job: a broken connection is lost (and
// closed here), anything else fails the request only.
ModbusOutcome ModbusWorker::failure() {
    const int error = errno;
    if (error == ECONNRESET || error == EPIPE || error == ENOTCONN || error == EBADF ||
        error == ECONNABORTED || error == ESHUTDOWN) {
        closeContext();
        return ModbusOutcome::Lost;
    }
    return ModbusOutcome::Failed;
}

void ModbusWorker::closeContext() {
    if (!context_) return;
    socket_ = -1;
    modbus_close(context_);
    modbus_free(context_);
    context_ = nullptr;
}

}  // namespace qx::frame
