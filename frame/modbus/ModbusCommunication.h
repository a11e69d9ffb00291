#pragma once
// The communication object of a Modbus TCP line: the same contract as the simulated line's
// (SimCommunication), over a real connection.
//
// Contract: every call and every callback is on the UI thread. Requests go to one worker thread;
// its outcomes come back through the UI inbox and the scheduler, never inside the call that made
// the request. A read job reads its parameters' registers in as few requests as the register map
// allows and copies the values into the parameters when the reply is in; a write job takes the
// values its parameters hold when it is queued and writes them in job order. A parameter without
// a register is left out of a read (it keeps its value); a job that would write one, a read-only
// register, or a value its register cannot hold answers "FAILED" without reaching the device.
// Faults answer as the simulated line does: an exception reply, a reply that does not match its
// request in every field, no whole reply within the response timeout, or a read value the model's
// parameter refuses (it would otherwise vanish while the view shows the old one) answer the job
// "FAILED"; a connection the device drops reports "DISCONNECTED ABORT" and its jobs are never
// answered; a connection that cannot be made (refused, or not within the connect timeout)
// reports "CONNECT FAILED". After the end of a connection nothing of it is answered. Release ends
// everything without a callback.
#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "frame/LineObservers.h"
#include "frame/modbus/ModbusSettings.h"
#include "frame/modbus/ModbusWorker.h"
#include "frame/modbus/RegisterMap.h"
#include "frame/modbus/UiInbox.h"
#include "host/Device.h"
#include "host/ViewInterfaces.h"

namespace qx::frame {

class FrameParameter;

class ModbusCommunication : public host::ICommunication,
                            public std::enable_shared_from_this<ModbusCommunication> {
  public:
    // The observers are copied; any of them may be empty.
    static std::shared_ptr<ModbusCommunication> create(std::shared_ptr<UiInbox> inbox, RegisterMap map,
                                                       ModbusSettings settings, LineObservers observers);

    std::string className() const override { return "Communication"; }
    std::string QueueRead(bool flag, const std::vector<host::ParameterList>& items) override;
    std::string QueueWrite(bool flag, host::WriteItem& item) override;
    void SetReceiver(const std::weak_ptr<host::IBase_Communication>& receiver) override {
        receiver_ = receiver;
    }
    bool Release(bool flag) override;
    // Accepted and refused as on the simulated line.
    bool Connecting(bool connect) override;
    bool IsConnected() const override { return connected_; }

    // Modbus requests sent so far.
    uint64_t requestsSent() const { return worker_.requestsSent(); }

  private:
    ModbusCommunication(std::shared_ptr<UiInbox> inbox, RegisterMap map, ModbusSettings settings,
                        LineObservers observers);

    enum class Pending { None, Connect, Disconnect };
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
    std::string newJob();
    void answer(const std::string& id, bool ok);
    void connectionDone(bool connectedAfter, const std::string& status);
    void lost();
    void report(const std::string& status);

    std::shared_ptr<UiInbox> inbox_;
    const RegisterMap map_;
    LineObservers observers_;
    ModbusWorker worker_;
    std::weak_ptr<host::IBase_Communication> receiver_;
    bool connected_ = false;
    bool released_ = false;
    Pending pending_ = Pending::None;
    // Each connection attempt starts a new session; outcomes of an older one are dropped.
    uint64_t session_ = 0;
    std::set<std::string> jobs_;  // queued and not yet answered
    int64_t nextJob_ = 1;
};

}  // namespace qx::frame
