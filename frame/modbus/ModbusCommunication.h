#pragma once
// The communication object of a Modbus line (TCP or serial): the line contract (LineCommunication) over a
// real connection.
//
// What this line adds: requests go to one worker thread; its outcomes come back through the UI
// inbox and the scheduler. A read job reads its parameters' registers in as few requests as the
// register map allows and copies the values into the parameters when the reply is in; a write
// job writes the values it took when queued in job order. A parameter without a register is left
// out of a read (it keeps its value); a job that would write one, a read-only register, or a
// value its register cannot hold answers "FAILED" without reaching the device. An exception
// reply, a reply that does not match its request in every field, no whole reply within the
// response timeout, or a read value the model's parameter refuses (it would otherwise vanish
// while the view shows the old one) answer the job "FAILED"; a connection the device drops
// reports "DISCONNECTED ABORT"; a connection that cannot be made (refused, or not within the
// connect timeout) reports "CONNECT FAILED". After the end of a connection nothing of it is
// answered.
#include <cstdint>
#include <memory>
#include <string>

#include "frame/line/LineCommunication.h"
#include "frame/line/UiInbox.h"
#include "frame/modbus/ModbusSettings.h"
#include "frame/modbus/ModbusWorker.h"
#include "frame/modbus/RegisterMap.h"

namespace qx::frame {

class FrameParameter;

class ModbusCommunication : public LineCommunication,
                            public std::enable_shared_from_this<ModbusCommunication> {
  public:
    // The observers are copied; any of them may be empty.
    static std::shared_ptr<ModbusCommunication> create(std::shared_ptr<UiInbox> inbox, RegisterMap map,
                                                       ModbusSettings settings, LineObservers observers);
    // The same over another transport (a serial line).
    static std::shared_ptr<ModbusCommunication> create(std::shared_ptr<UiInbox> inbox, RegisterMap map,
                                                       std::unique_ptr<ModbusTransport> transport,
                                                       LineObservers observers);

    // Modbus requests sent so far.
    uint64_t requestsSent() const { return worker_.requestsSent(); }

  private:
    ModbusCommunication(std::shared_ptr<UiInbox> inbox, RegisterMap map,
                        std::unique_ptr<ModbusTransport> transport, LineObservers observers);

    const LineObservers& observers() const override { return observers_; }
    bool openConnection() override;
    void closeConnection() override;
    void sendRead(const std::string& id, const host::ParameterList& parameters) override;
    void sendWrite(const std::string& id, const host::ParameterList& parameters,
                   const std::vector<WrittenValue>& values) override;
    void shutDown() override;

    // A parameter of a read job with the register it is read from.
    struct ReadTarget {
        std::weak_ptr<FrameParameter> parameter;
        const RegisterEntry* entry;
    };
    // Puts a read's values into its parameters; false, with every value as it was, when the model
    // refuses one (the log names it and the registers' raw value).
    bool store(const std::vector<ReadTarget>& targets, const std::vector<ReadRequest>& requests,
               const std::vector<std::vector<uint16_t>>& replies);
    // Runs `task` on the UI thread with the result, unless this object is gone or the connection
    // the request belonged to has ended.
    ModbusWorker::Done onUi(std::function<void(ModbusCommunication&, ModbusResult)> task);
    // The device dropped the connection; the log says why.
    void lost(const std::string& why);

    std::shared_ptr<UiInbox> inbox_;
    const RegisterMap map_;
    LineObservers observers_;
    ModbusWorker worker_;
    // Each connection attempt starts a new session; outcomes of an older one are dropped.
    uint64_t session_ = 0;
};

}  // namespace qx::frame
