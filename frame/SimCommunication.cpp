#include "frame/SimCommunication.h"

#include "frame/DeviceValues.h"
#include "frame/ParameterLookup.h"

namespace qx::frame {

std::shared_ptr<SimCommunication> SimCommunication::create(platform::Scheduler& scheduler,
                                                           std::shared_ptr<FlowMonitorSim> device) {
    std::shared_ptr<SimCommunication> communication(new SimCommunication(scheduler, std::move(device)));
    communication->device_->link().attach(communication);
    return communication;
}

void SimCommunication::sendRead(const std::string& id, const host::ParameterList& parameters) {
    // The device's values are taken when the job reaches it, not when it is queued.
    send(id, SimLink::JobKind::Read, [device = device_, parameters] {
        if (device->link().onRead) device->link().onRead(parameters.size());
        for (const auto& p : parameters)
            if (auto parameter = asFrameParameter(p)) copyDeviceValue(*device, *parameter);
    });
}

void SimCommunication::sendWrite(const std::string& id, const host::ParameterList& /*parameters*/,
                                 const std::vector<WrittenValue>& values) {
    send(id, SimLink::JobKind::Write, [device = device_, values] {
        if (device->link().onWrite) device->link().onWrite(values);
        device->write(values);
    });
}

void SimCommunication::send(const std::string& id, SimLink::JobKind kind, Job reachDevice) {
    SimLink& link = device_->link();
    const bool failed = link.takeFailure(kind);
    if (link.early) return deliver(id, failed, reachDevice);
    jobs_[id] = scheduler_.postAfter(link.latencyMs, [weak = weak_from_this(), id, failed, reachDevice] {
        auto self = weak.lock();
        if (!self) return;
        self->jobs_.erase(id);
        self->deliver(id, failed, reachDevice);
    });
}

void SimCommunication::deliver(const std::string& id, bool failed, const Job& reachDevice) {
    if (!failed) reachDevice();
    answer(id, !failed);
}

bool SimCommunication::openConnection() {
    const SimLink& link = device_->link();
    if (link.connectOutcome == SimLink::ConnectOutcome::Refuse) return false;
    const bool ok = link.connectOutcome == SimLink::ConnectOutcome::Ok;
    scheduleStatus(link.latencyMs, ok ? "CONNECTED" : "CONNECT FAILED", ok);
    return true;
}

void SimCommunication::closeConnection() {
    scheduler_.cancel(pendingHandle_);  // a connection still being made is given up
    scheduleStatus(device_->link().latencyMs, "DISCONNECTED", false);
}

void SimCommunication::abort() {
    if (!engaged()) return;
    scheduler_.cancel(pendingHandle_);
    dropJobs();
    connectionDropped();
    scheduleStatus(0, "DISCONNECTED ABORT", false);
}

void SimCommunication::shutDown() {
    scheduler_.cancel(pendingHandle_);
    dropJobs();
}

void SimCommunication::scheduleStatus(int64_t delayMs, std::string status, bool connectedAfter) {
    pendingHandle_ = scheduler_.postAfter(delayMs, [weak = weak_from_this(), status, connectedAfter] {
        if (auto self = weak.lock()) self->connectionDone(connectedAfter, status);
    });
}

void SimCommunication::dropJobs() {
    for (const auto& [id, handle] : jobs_) scheduler_.cancel(handle);
    jobs_.clear();
}

}  // namespace qx::frame
