#include "frame/modbus/ModbusWorker.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <stdexcept>

#include "frame/modbus/TcpTransport.h"

namespace qx::frame {

namespace {

int makeStopFd() {
    const int fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (fd < 0) throw std::runtime_error("no event descriptor for the Modbus worker");
    return fd;
}

}  // namespace

ModbusWorker::ModbusWorker(ModbusSettings settings, uint8_t unitId)
    : ModbusWorker(std::make_unique<TcpTransport>(std::move(settings), unitId)) {}

ModbusWorker::ModbusWorker(std::unique_ptr<ModbusTransport> transport)
    : transport_(std::move(transport)), stopFd_(makeStopFd()), thread_([this] { run(); }) {}

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
    transport_->close();
}

ModbusResult ModbusWorker::handle(const Request& request) {
    switch (request.kind) {
        case Kind::Connect:
            return doConnect();
        case Kind::Disconnect:
            transport_->close();
            return {};
        case Kind::Read:
            return transport_->isOpen() ? doRead(request.reads)
                                        : ModbusResult{ModbusOutcome::Lost, {}, {}, {}};
        case Kind::Write:
            return transport_->isOpen() ? doWrite(request.writes)
                                        : ModbusResult{ModbusOutcome::Lost, {}, {}, {}};
    }
    return {ModbusOutcome::Failed, {}, JobFault::Local, {}};
}

ModbusResult ModbusWorker::doConnect() {
    if (transport_->open(stopFd_)) return {};
    return {ModbusOutcome::Lost, {}, {}, transport_->why()};
}

ModbusResult ModbusWorker::doRead(const std::vector<ReadRequest>& requests) {
    ModbusResult result;
    for (const ReadRequest& r : requests) {
        const auto function =
            r.table == RegisterTable::Holding ? ModbusFunction::ReadHolding : ModbusFunction::ReadInput;
        std::vector<uint16_t> registers;
        const ModbusOutcome outcome = transact({function, r.start, r.count, {}}, registers, result);
        if (outcome != ModbusOutcome::Ok) return result;
        result.registers.push_back(std::move(registers));
    }
    return result;
}

ModbusResult ModbusWorker::doWrite(const std::vector<WriteRun>& runs) {
    ModbusResult result;
    for (const WriteRun& run : runs) {
        const auto function =
            run.values.size() == 1 ? ModbusFunction::WriteSingle : ModbusFunction::WriteMultiple;
        std::vector<uint16_t> none;
        const ModbusOutcome outcome = transact(
            {function, run.start, static_cast<uint16_t>(run.values.size()), run.values}, none, result);
        if (outcome != ModbusOutcome::Ok) return result;
    }
    return result;
}

ModbusOutcome ModbusWorker::transact(const ModbusRequest& request, std::vector<uint16_t>& registers,
                                     ModbusResult& result) {
    ++requestsSent_;
    result.outcome = transport_->transact(request, registers, result.fault, stopFd_);
    if (result.outcome == ModbusOutcome::Lost) result.why = transport_->why();
    return result.outcome;
}

}  // namespace qx::frame
