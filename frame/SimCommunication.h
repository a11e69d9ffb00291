#pragma once
// The communication object of the stand-in frame: the view's line to the simulated flow monitor,
// keeping the line contract (LineCommunication) on virtual time.
//
// What this line adds: every answer is posted on the scheduler, after the latency fixed when the
// request was made (a latency of 0 still posts), except that with the link's `early` setting a
// job is answered inside QueueRead/QueueWrite, before its id is returned. The link may refuse
// connection requests, fail connections and fail jobs. A job reaches the device (which acts on
// it) when it is answered, just before OnJobResponse; a job the link fails answers "FAILED" and
// never reaches the device, and the device acts on a job even when the receiver is gone.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "frame/FlowMonitorSim.h"
#include "frame/line/LineCommunication.h"
#include "platform/Scheduler.h"

namespace qx::frame {

class SimCommunication : public LineCommunication, public std::enable_shared_from_this<SimCommunication> {
  public:
    // Made through create(), so that the link can tell it of an abort.
    static std::shared_ptr<SimCommunication> create(platform::Scheduler& scheduler,
                                                    std::shared_ptr<FlowMonitorSim> device);

    // The device drops the connection: pending answers are dropped and "DISCONNECTED ABORT" is
    // posted at the present time. Nothing happens while neither connected nor connecting.
    void abort();

  private:
    SimCommunication(platform::Scheduler& scheduler, std::shared_ptr<FlowMonitorSim> device)
        : scheduler_(scheduler), device_(std::move(device)) {}

    using Job = std::function<void()>;  // the device's part of a job, run when it is answered

    const LineObservers& observers() const override { return device_->link(); }
    bool openConnection() override;
    void closeConnection() override;
    void sendRead(const std::string& id, const host::ParameterList& parameters) override;
    void sendWrite(const std::string& id, const host::ParameterList& parameters,
                   const std::vector<WrittenValue>& values) override;
    void dropJobs() override;
    void shutDown() override;
    // Latencies on the frame's clock, which the simulated device answers on.
    int64_t clockUs() const override { return scheduler_.nowMs() * 1000; }

    void send(const std::string& id, SimLink::JobKind kind, Job reachDevice);
    void deliver(const std::string& id, bool failed, const Job& reachDevice);
    void scheduleStatus(int64_t delayMs, std::string status, bool connectedAfter);

    platform::Scheduler& scheduler_;
    std::shared_ptr<FlowMonitorSim> device_;
    platform::Scheduler::Handle pendingHandle_ = 0;
    std::map<std::string, platform::Scheduler::Handle> jobs_;  // answers not yet given
};

}  // namespace qx::frame
