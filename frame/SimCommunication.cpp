#include "frame/SimCommunication.h"

#include <variant>

#include "frame/DeviceValues.h"
#include "frame/ParameterLookup.h"
#include "platform/RuntimeError.h"

namespace qx::frame {

std::shared_ptr<SimCommunication> SimCommunication::create(platform::Scheduler& scheduler,
                                                           std::shared_ptr<FlowMonitorSim> device) {
    std::shared_ptr<SimCommunication> communication(new SimCommunication(scheduler, std::move(device)));
    communication->device_->link().attach(communication);
    return communication;
}

std::string SimCommunication::QueueRead(bool /*flag*/, const std::vector<host::ParameterList>& items) {
    host::ParameterList parameters;
    for (const auto& list : items)
        for (const auto& p : list) parameters.push_back(p);
    // The device's values are taken when the job reaches it, not when it is queued.
    return queue(SimLink::JobKind::Read, [device = device_, parameters] {
        if (device->link().onRead) device->link().onRead(parameters.size());
        for (const auto& p : parameters)
            if (auto parameter = asFrameParameter(p)) copyDeviceValue(*device, *parameter);
    });
}

std::string SimCommunication::QueueWrite(bool /*flag*/, host::WriteItem& item) {
    // A write carries the values the parameters hold now, whatever the model holds by the time
    // the device gets them.
    std::vector<WrittenValue> values;
    auto take = [&values](const host::ParameterPtr& p) {
        const auto& parameter = platform::must(p);
        values.push_back({parameter.name(), parameter.noValue() != 0
                                                ? std::nullopt
                                                : std::optional<std::string>(parameter.valueText())});
    };
    if (const auto* one = std::get_if<host::ParameterPtr>(&item)) {
        take(*one);
    } else {
        for (const auto& p : std::get<host::ParameterList>(item)) take(p);
    }
    return queue(SimLink::JobKind::Write, [device = device_, values] {
        if (device->link().onWrite) device->link().onWrite(values);
        device->write(values);
    });
}

std::string SimCommunication::queue(SimLink::JobKind kind, Job reachDevice) {
    if (released_ || !connected_) return {};
    const std::string id = "JOB-" + std::to_string(nextJob_++);
    SimLink& link = device_->link();
    const bool failed = link.takeFailure(kind);
    if (link.early) {
        answer(id, failed, reachDevice);
        return id;
    }
    jobs_[id] = scheduler_.postAfter(link.latencyMs, [weak = weak_from_this(), id, failed, reachDevice] {
        auto self = weak.lock();
        if (!self) return;
        self->jobs_.erase(id);
        self->answer(id, failed, reachDevice);
    });
    return id;
}

void SimCommunication::answer(const std::string& id, bool failed, const Job& reachDevice) {
    if (!failed) reachDevice();
    const std::string status = failed ? "FAILED" : "SUCCESS";
    if (device_->link().onJobAnswer) device_->link().onJobAnswer(status);
    if (auto r = receiver()) r->IBase_Communication_OnJobResponse(id, status, 0);
}

bool SimCommunication::Connecting(bool connect) {
    if (released_) return false;
    const SimLink& link = device_->link();
    if (connect) {
        if (pending_ == Pending::Disconnect) return false;
        if (pending_ == Pending::Connect || connected_) return true;
        if (link.connectOutcome == SimLink::ConnectOutcome::Refuse) return false;
        const bool ok = link.connectOutcome == SimLink::ConnectOutcome::Ok;
        pending_ = Pending::Connect;
        scheduleStatus(link.latencyMs, ok ? "CONNECTED" : "CONNECT FAILED", ok);
        return true;
    }
    if (pending_ == Pending::Disconnect) return true;
    if (pending_ == Pending::None && !connected_) return false;
    scheduler_.cancel(pendingHandle_);  // a connection still being made is given up
    pending_ = Pending::Disconnect;
    scheduleStatus(link.latencyMs, "DISCONNECTED", false);
    return true;
}

void SimCommunication::abort() {
    if (released_ || (pending_ == Pending::None && !connected_)) return;
    scheduler_.cancel(pendingHandle_);
    dropJobs();
    pending_ = Pending::Disconnect;
    scheduleStatus(0, "DISCONNECTED ABORT", false);
}

bool SimCommunication::Release(bool /*flag*/) {
    released_ = true;
    scheduler_.cancel(pendingHandle_);
    dropJobs();
    pending_ = Pending::None;
    connected_ = false;
    receiver_.reset();
    return true;
}

void SimCommunication::scheduleStatus(int64_t delayMs, std::string status, bool connectedAfter) {
    pendingHandle_ = scheduler_.postAfter(delayMs, [weak = weak_from_this(), status, connectedAfter] {
        auto self = weak.lock();
        if (!self) return;
        self->pending_ = Pending::None;
        self->connected_ = connectedAfter;
        if (!connectedAfter) self->dropJobs();
        self->reportStatus(status);
    });
}

void SimCommunication::reportStatus(const std::string& status) {
    if (device_->link().onConnection) device_->link().onConnection(status);
    if (auto r = receiver()) r->IBase_Communication_OnConnectStatusChanged(status);
}

void SimCommunication::dropJobs() {
    for (const auto& [id, handle] : jobs_) scheduler_.cancel(handle);
    jobs_.clear();
}

}  // namespace qx::frame
