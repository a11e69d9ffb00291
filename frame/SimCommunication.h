#pragma once
// The communication object of the stand-in frame: the view's line to the simulated flow monitor.
//
// Contract: everything runs on the UI thread. Requests never call back inside the call, with one
// exception: with the link's `early` setting a job is answered inside QueueRead/QueueWrite, before
// its id is returned. Otherwise every answer is posted on the scheduler, after the latency fixed
// when the request was made (a latency of 0 still posts). A job reaches the device (which acts
// on it) when it is answered, just before OnJobResponse; a job the link fails answers "FAILED"
// and never reaches the device. A job can only be queued while connected, else its id is empty.
// When the connection ends, jobs not yet answered are never answered. Release ends everything
// without a callback. The receiver is not owned: callbacks to a receiver that is gone are
// dropped (the device still acts on the job).
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "frame/FlowMonitorSim.h"
#include "host/Device.h"
#include "host/ViewInterfaces.h"
#include "platform/Scheduler.h"

namespace qx::frame {

class SimCommunication : public host::ICommunication, public std::enable_shared_from_this<SimCommunication> {
  public:
    // Made through create(), so that the link can tell it of an abort.
    static std::shared_ptr<SimCommunication> create(platform::Scheduler& scheduler,
                                                    std::shared_ptr<FlowMonitorSim> device);

    std::string className() const override { return "Communication"; }
    std::string QueueRead(bool flag, const std::vector<host::ParameterList>& items) override;
    std::string QueueWrite(bool flag, host::WriteItem& item) override;
    void SetReceiver(const std::weak_ptr<host::IBase_Communication>& receiver) override {
        receiver_ = receiver;
    }
    bool Release(bool flag) override;
    // A connection request while connecting or connected is accepted and changes nothing; one
    // while disconnecting is not accepted. A disconnection request while disconnecting is accepted
    // and changes nothing; one while neither connected nor connecting is not accepted.
    bool Connecting(bool connect) override;
    // True from "CONNECTED" until the end of the connection is reported.
    bool IsConnected() const override { return connected_; }

    // The device drops the connection: pending answers are dropped and "DISCONNECTED ABORT" is
    // posted at the present time. Nothing happens while neither connected nor connecting.
    void abort();

  private:
    SimCommunication(platform::Scheduler& scheduler, std::shared_ptr<FlowMonitorSim> device)
        : scheduler_(scheduler), device_(std::move(device)) {}

    enum class Pending { None, Connect, Disconnect };
    using Job = std::function<void()>;  // the device's part of a job, run when it is answered

    std::string queue(SimLink::JobKind kind, Job reachDevice);
    void answer(const std::string& id, bool failed, const Job& reachDevice);
    void scheduleStatus(int64_t delayMs, std::string status, bool connectedAfter);
    void reportStatus(const std::string& status);
    void dropJobs();
    std::shared_ptr<host::IBase_Communication> receiver() const { return receiver_.lock(); }

    platform::Scheduler& scheduler_;
    std::shared_ptr<FlowMonitorSim> device_;
    std::weak_ptr<host::IBase_Communication> receiver_;
    bool connected_ = false;
    bool released_ = false;
    Pending pending_ = Pending::None;
    platform::Scheduler::Handle pendingHandle_ = 0;
    std::map<std::string, platform::Scheduler::Handle> jobs_;  // answers not yet given
    int64_t nextJob_ = 1;
};

}  // namespace qx::frame
