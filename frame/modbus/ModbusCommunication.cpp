#include "frame/modbus/ModbusCommunication.h"

#include <algorithm>
#include <cstdio>
#include <variant>

#include "frame/ParameterLookup.h"
#include "frame/modbus/RegisterCodec.h"
#include "platform/RuntimeError.h"
#include "platform/Variant.h"
#include "support/DebugLog.h"

namespace qx::frame {

namespace {

std::span<const uint16_t> registersOf(const RegisterEntry& e, const std::vector<ReadRequest>& requests,
                                      const std::vector<std::vector<uint16_t>>& replies) {
    for (size_t i = 0; i < requests.size() && i < replies.size(); ++i) {
        const ReadRequest& r = requests[i];
        if (r.table == e.table && r.start <= e.address && e.end() < uint32_t{r.start} + r.count)
            return std::span(replies[i]).subspan(e.address - r.start, e.width());
    }
    return {};
}

// "PROINFLOW_RAW: holding register 0 = 0xFFFF (65535) is outside what the parameter takes: ...".
std::string refusal(const RegisterEntry& e, std::span<const uint16_t> registers, double value) {
    std::string words;
    for (uint16_t r : registers) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%s%04X", words.empty() ? "0x" : " 0x", r);
        words += hex;
    }
    return e.parameter + ": " + (e.table == RegisterTable::Holding ? "holding" : "input") + " register " +
           std::to_string(e.address) + " = " + words + " (" + platform::shortestText(value) +
           ") is outside what the parameter takes: the read answers FAILED";
}

}  // namespace

std::shared_ptr<ModbusCommunication> ModbusCommunication::create(std::shared_ptr<UiInbox> inbox,
                                                                 RegisterMap map, ModbusSettings settings,
                                                                 LineObservers observers) {
    return std::shared_ptr<ModbusCommunication>(
        new ModbusCommunication(std::move(inbox), std::move(map), std::move(settings), std::move(observers)));
}

ModbusCommunication::ModbusCommunication(std::shared_ptr<UiInbox> inbox, RegisterMap map,
                                         ModbusSettings settings, LineObservers observers)
    : inbox_(std::move(inbox)),
      map_(std::move(map)),
      observers_(std::move(observers)),
      worker_(std::move(settings), map_.unitId) {}

ModbusWorker::Done ModbusCommunication::onUi(std::function<void(ModbusCommunication&, ModbusResult)> task) {
    return [weak = weak_from_this(), inbox = inbox_, session = session_,
            task = std::move(task)](ModbusResult r) {
        inbox->push([weak, session, task, r = std::move(r)]() mutable {
            auto self = weak.lock();
            if (!self || self->released_ || self->session_ != session) return;
            task(*self, std::move(r));
        });
    };
}

std::string ModbusCommunication::QueueRead(bool /*flag*/, const std::vector<host::ParameterList>& items) {
    if (released_ || !connected_) return {};
    std::vector<ReadTarget> targets;
    std::vector<const RegisterEntry*> entries;
    size_t count = 0;
    for (const auto& list : items)
        for (const auto& p : list) {
            ++count;
            auto parameter = asFrameParameter(p);
            const RegisterEntry* entry = parameter ? map_.find(parameter->name()) : nullptr;
            if (!entry) continue;
            targets.push_back({parameter, entry});
            entries.push_back(entry);
        }
    std::vector<ReadRequest> requests = planReads(map_, entries);
    const std::string id = newJob();
    worker_.read(requests, onUi([id, targets, requests, count](ModbusCommunication& self, ModbusResult r) {
                     if (!self.jobs_.contains(id)) return;
                     if (r.outcome == ModbusOutcome::Lost) return self.lost();
                     const bool ok =
                         r.outcome == ModbusOutcome::Ok && self.store(targets, requests, r.registers);
                     if (ok && self.observers_.onRead) self.observers_.onRead(count);
                     self.answer(id, ok);
                 }));
    return id;
}

bool ModbusCommunication::store(const std::vector<ReadTarget>& targets,
                                const std::vector<ReadRequest>& requests,
                                const std::vector<std::vector<uint16_t>>& replies) {
    // All or nothing: a read that answers "FAILED" has changed no value of the model.
    std::vector<std::pair<std::shared_ptr<FrameParameter>, std::optional<double>>> before;
    for (const auto& t : targets) {
        auto parameter = t.parameter.lock();
        const auto registers = registersOf(*t.entry, requests, replies);
        if (!parameter || registers.empty()) continue;
        const double value = decodeRegisters(map_, *t.entry, registers);
        const std::optional<double> old = parameter->number();
        if (!parameter->setNumber(value)) {
            support::DebugWrite("ModbusCommunication", refusal(*t.entry, registers, value));
            for (auto it = before.rbegin(); it != before.rend(); ++it)
                it->second ? it->first->setNumber(*it->second) : it->first->setDeviceValue(std::nullopt);
            return false;
        }
        before.emplace_back(std::move(parameter), old);
    }
    return true;
}

std::string ModbusCommunication::QueueWrite(bool /*flag*/, host::WriteItem& item) {
    if (released_ || !connected_) return {};
    host::ParameterList parameters;
    if (const auto* one = std::get_if<host::ParameterPtr>(&item))
        parameters.push_back(*one);
    else
        parameters = std::get<host::ParameterList>(item);

    // The values are taken now, whatever the model holds by the time the device gets them.
    std::vector<WrittenValue> values;
    std::vector<const RegisterEntry*> entries;
    std::vector<std::vector<uint16_t>> encoded;
    bool writable = true;
    for (const auto& p : parameters) {
        const auto& parameter = platform::must(p);
        if (parameter.noValue() != 0) {
            values.push_back({parameter.name(), std::nullopt});  // the device keeps its own
            continue;
        }
        values.push_back({parameter.name(), parameter.valueText()});
        auto frameParameter = asFrameParameter(p);
        const RegisterEntry* entry = frameParameter ? map_.find(parameter.name()) : nullptr;
        auto registers = entry && entry->writable && frameParameter->number()
                             ? encodeRegisters(map_, *entry, *frameParameter->number())
                             : std::nullopt;
        if (!registers) {
            writable = false;
            continue;
        }
        entries.push_back(entry);
        encoded.push_back(std::move(*registers));
    }
    std::vector<WriteRun> runs;
    if (writable) {
        size_t next = 0;
        for (const auto& part : planWrites(entries)) {
            WriteRun run{part.front()->address, {}};
            for (size_t i = 0; i < part.size(); ++i, ++next)
                run.values.insert(run.values.end(), encoded[next].begin(), encoded[next].end());
            runs.push_back(std::move(run));
        }
    }
    const std::string id = newJob();
    // A job that cannot be written still goes through the worker, so answers keep their order.
    worker_.write(runs, onUi([id, values, writable](ModbusCommunication& self, ModbusResult r) {
                      if (!self.jobs_.contains(id)) return;
                      if (r.outcome == ModbusOutcome::Lost && writable) return self.lost();
                      const bool ok = writable && r.outcome == ModbusOutcome::Ok;
                      if (ok && self.observers_.onWrite) self.observers_.onWrite(values);
                      self.answer(id, ok);
                  }));
    return id;
}

std::string ModbusCommunication::newJob() {
    std::string id = "JOB-" + std::to_string(nextJob_++);
    jobs_.insert(id);
    return id;
}

void ModbusCommunication::answer(const std::string& id, bool ok) {
    jobs_.erase(id);
    const std::string status = ok ? "SUCCESS" : "FAILED";
    if (observers_.onJobAnswer) observers_.onJobAnswer(status);
    if (auto r = receiver_.lock()) r->IBase_Communication_OnJobResponse(id, status, 0);
}

bool ModbusCommunication::Connecting(bool connect) {
    if (released_) return false;
    if (connect) {
        if (pending_ == Pending::Disconnect) return false;
        if (pending_ == Pending::Connect || connected_) return true;
        pending_ = Pending::Connect;
        ++session_;
        worker_.connect(onUi([](ModbusCommunication& self, ModbusResult r) {
            const bool ok = r.outcome == ModbusOutcome::Ok;
            self.connectionDone(ok, ok ? "CONNECTED" : "CONNECT FAILED");
        }));
        return true;
    }
    if (pending_ == Pending::Disconnect) return true;
    if (pending_ == Pending::None && !connected_) return false;
    // A connection still being made is given up: its outcome belongs to the old session. Jobs
    // queued before are still answered, as the worker runs them before the disconnection.
    if (pending_ == Pending::Connect) ++session_;
    pending_ = Pending::Disconnect;
    worker_.disconnect(
        onUi([](ModbusCommunication& self, ModbusResult) { self.connectionDone(false, "DISCONNECTED"); }));
    return true;
}

void ModbusCommunication::connectionDone(bool connectedAfter, const std::string& status) {
    pending_ = Pending::None;
    connected_ = connectedAfter;
    if (!connectedAfter) jobs_.clear();
    report(status);
}

void ModbusCommunication::lost() {
    // While disconnecting, the disconnection's own answer ends the connection.
    if (pending_ == Pending::Disconnect) return;
    ++session_;
    connected_ = false;
    pending_ = Pending::None;
    jobs_.clear();
    report("DISCONNECTED ABORT");
}

void ModbusCommunication::report(const std::string& status) {
    if (observers_.onConnection) observers_.onConnection(status);
    if (auto r = receiver_.lock()) r->IBase_Communication_OnConnectStatusChanged(status);
}

bool ModbusCommunication::Release(bool /*flag*/) {
    released_ = true;
    connected_ = false;
    pending_ = Pending::None;
    jobs_.clear();
    receiver_.reset();
    worker_.disconnect(nullptr);
    return true;
}

}  // namespace qx::frame
