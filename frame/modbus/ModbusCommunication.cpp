#include "frame/modbus/ModbusCommunication.h"

#include <algorithm>
#include <cstdio>
#include <variant>

#include "frame/ParameterLookup.h"
#include "frame/modbus/RegisterCodec.h"
#include "frame/modbus/TcpTransport.h"
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
    const uint8_t unit = map.unitId;
    return create(std::move(inbox), std::move(map), std::make_unique<TcpTransport>(std::move(settings), unit),
                  std::move(observers));
}

std::shared_ptr<ModbusCommunication> ModbusCommunication::create(std::shared_ptr<UiInbox> inbox,
                                                                 RegisterMap map,
                                                                 std::unique_ptr<ModbusTransport> transport,
                                                                 LineObservers observers) {
    return std::shared_ptr<ModbusCommunication>(new ModbusCommunication(
        std::move(inbox), std::move(map), std::move(transport), std::move(observers)));
}

ModbusCommunication::ModbusCommunication(std::shared_ptr<UiInbox> inbox, RegisterMap map,
                                         std::unique_ptr<ModbusTransport> transport, LineObservers observers)
    : inbox_(std::move(inbox)),
      map_(std::move(map)),
      observers_(std::move(observers)),
      worker_(std::move(transport)) {}

ModbusWorker::Done ModbusCommunication::onUi(std::function<void(ModbusCommunication&, ModbusResult)> task) {
    return [weak = weak_from_this(), inbox = inbox_, session = session_,
            task = std::move(task)](ModbusResult r) {
        inbox->push([weak, session, task, r = std::move(r)]() mutable {
            auto self = weak.lock();
            if (!self || self->released() || self->session_ != session) return;
            task(*self, std::move(r));
        });
    };
}

void ModbusCommunication::sendRead(const std::string& id, const host::ParameterList& parameters) {
    std::vector<ReadTarget> targets;
    std::vector<const RegisterEntry*> entries;
    for (const auto& p : parameters) {
        auto parameter = asFrameParameter(p);
        const RegisterEntry* entry = parameter ? map_.find(parameter->name()) : nullptr;
        if (!entry) continue;
        targets.push_back({parameter, entry});
        entries.push_back(entry);
    }
    std::vector<ReadRequest> requests = planReads(map_, entries);
    const size_t count = parameters.size();
    worker_.read(requests, onUi([id, targets, requests, count](ModbusCommunication& self, ModbusResult r) {
                     if (!self.awaiting(id)) return;
                     if (r.outcome == ModbusOutcome::Lost) return self.lost(r.why);
                     JobFault fault = r.outcome == ModbusOutcome::Ok ? JobFault::None : r.fault;
                     // A value the model refuses is a reply that makes no sense for the parameter.
                     if (fault == JobFault::None && !self.store(targets, requests, r.registers))
                         fault = JobFault::Malformed;
                     if (fault == JobFault::None && self.observers_.onRead) self.observers_.onRead(count);
                     self.answer(id, fault);
                 }));
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

void ModbusCommunication::sendWrite(const std::string& id, const host::ParameterList& parameters,
                                    const std::vector<WrittenValue>& values) {
    std::vector<const RegisterEntry*> entries;
    std::vector<std::vector<uint16_t>> encoded;
    bool writable = true;
    for (const auto& p : parameters) {
        if (p->noValue() != 0) continue;  // the device keeps its own
        auto frameParameter = asFrameParameter(p);
        const RegisterEntry* entry = frameParameter ? map_.find(p->name()) : nullptr;
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
        for (const auto& part : planWrites(entries)) {
            WriteRun run{part.front()->address, {}};
            for (const RegisterEntry* e : part) {
                const auto& words =
                    encoded[static_cast<size_t>(std::ranges::find(entries, e) - entries.begin())];
                run.values.insert(run.values.end(), words.begin(), words.end());
            }
            runs.push_back(std::move(run));
        }
    }
    // A job that cannot be written still goes through the worker, so answers keep their order.
    worker_.write(runs, onUi([id, values, writable](ModbusCommunication& self, ModbusResult r) {
                      if (!self.awaiting(id)) return;
                      if (r.outcome == ModbusOutcome::Lost && writable) return self.lost(r.why);
                      const JobFault fault = !writable                        ? JobFault::Local
                                             : r.outcome == ModbusOutcome::Ok ? JobFault::None
                                                                              : r.fault;
                      if (fault == JobFault::None && self.observers_.onWrite) self.observers_.onWrite(values);
                      self.answer(id, fault);
                  }));
}

bool ModbusCommunication::openConnection() {
    ++session_;
    worker_.connect(onUi([](ModbusCommunication& self, ModbusResult r) {
        const bool ok = r.outcome == ModbusOutcome::Ok;
        if (!ok) support::DebugWrite("ModbusCommunication", "the connection cannot be made: " + r.why);
        self.connectionDone(ok, ok ? "CONNECTED" : "CONNECT FAILED");
    }));
    return true;
}

void ModbusCommunication::closeConnection() {
    // A connection still being made is given up: its outcome belongs to the old session. Jobs
    // queued before are still answered, as the worker runs them before the disconnection.
    if (connecting()) ++session_;
    worker_.disconnect(
        onUi([](ModbusCommunication& self, ModbusResult) { self.connectionDone(false, "DISCONNECTED"); }));
}

void ModbusCommunication::lost(const std::string& why) {
    // While disconnecting, the disconnection's own answer ends the connection.
    if (disconnecting()) return;
    support::DebugWrite("ModbusCommunication", "the connection is lost: " + why);
    ++session_;
    connectionDone(false, "DISCONNECTED ABORT");
}

void ModbusCommunication::shutDown() {
    worker_.disconnect(nullptr);
}

}  // namespace qx::frame
