#include "frame/line/LineCommunication.h"

#include <utility>
#include <variant>

#include "platform/RuntimeError.h"

namespace qx::frame {

std::string LineCommunication::QueueRead(bool /*flag*/, const std::vector<host::ParameterList>& items) {
    if (released_ || !connected_) return {};
    host::ParameterList parameters;
    for (const auto& list : items)
        for (const auto& p : list) parameters.push_back(p);
    const std::string id = newJob();
    sendRead(id, parameters);
    return id;
}

std::string LineCommunication::QueueWrite(bool /*flag*/, host::WriteItem& item) {
    if (released_ || !connected_) return {};
    host::ParameterList parameters;
    if (const auto* one = std::get_if<host::ParameterPtr>(&item))
        parameters.push_back(*one);
    else
        parameters = std::get<host::ParameterList>(item);
    // The values are taken now, whatever the model holds by the time the device gets them. A
    // parameter without a value leaves the device's own alone.
    std::vector<WrittenValue> values;
    for (const auto& p : parameters) {
        const auto& parameter = platform::must(p);
        values.push_back({parameter.name(), parameter.noValue() != 0
                                                ? std::nullopt
                                                : std::optional<std::string>(parameter.valueText())});
    }
    const std::string id = newJob();
    sendWrite(id, parameters, values);
    return id;
}

std::string LineCommunication::QueueFrameRead(const host::ParameterList& parameters, FrameJobDone done) {
    const std::string id = QueueRead(true, {parameters});
    if (!id.empty()) frameJobs_.emplace(id, std::move(done));
    return id;
}

std::string LineCommunication::QueueFrameWrite(const host::ParameterList& parameters, FrameJobDone done) {
    host::WriteItem item = parameters;
    const std::string id = QueueWrite(true, item);
    if (!id.empty()) frameJobs_.emplace(id, std::move(done));
    return id;
}

std::string LineCommunication::newJob() {
    std::string id = "JOB-" + std::to_string(nextJob_++);
    jobs_.emplace(id, clockUs());
    ++diagnostics_.requests;
    return id;
}

void LineCommunication::answer(const std::string& id, JobFault fault) {
    if (const auto it = jobs_.find(id); it != jobs_.end()) {
        if (fault == JobFault::None)
            diagnostics_.answered(clockUs() - it->second);
        else
            diagnostics_.failed(fault);
        jobs_.erase(it);
    }
    const std::string status = fault == JobFault::None ? "SUCCESS" : "FAILED";
    if (observers().onJobAnswer) observers().onJobAnswer(status);
    if (const auto own = frameJobs_.find(id); own != frameJobs_.end()) {
        const FrameJobDone done = std::move(own->second);
        frameJobs_.erase(own);
        if (done) done(fault == JobFault::None);
        return;
    }
    if (auto r = receiver_.lock()) r->IBase_Communication_OnJobResponse(id, status, 0);
}

bool LineCommunication::Connecting(bool connect) {
    if (released_) return false;
    if (connect) {
        if (pending_ == Pending::Disconnect) return false;
        if (pending_ == Pending::Connect || connected_) return true;
        if (!openConnection()) return false;
        pending_ = Pending::Connect;
        return true;
    }
    if (pending_ == Pending::Disconnect) return true;
    if (pending_ == Pending::None && !connected_) return false;
    closeConnection();
    pending_ = Pending::Disconnect;
    return true;
}

void LineCommunication::connectionDone(bool connectedAfter, const std::string& status) {
    pending_ = Pending::None;
    connected_ = connectedAfter;
    if (connectedAfter && std::exchange(everConnected_, true)) ++diagnostics_.reconnects;
    std::map<std::string, FrameJobDone> orphans;
    if (!connectedAfter) {
        jobs_.clear();
        orphans = std::exchange(frameJobs_, {});
        dropJobs();
    }
    report(status);
    // The frame is told that its jobs will never be answered; the view learns it from the status.
    for (auto& [id, done] : orphans)
        if (done) done(false);
}

void LineCommunication::report(const std::string& status) {
    if (observers().onConnection) observers().onConnection(status);
    if (auto r = receiver_.lock()) r->IBase_Communication_OnConnectStatusChanged(status);
}

bool LineCommunication::Release(bool /*flag*/) {
    released_ = true;
    connected_ = false;
    pending_ = Pending::None;
    jobs_.clear();
    frameJobs_.clear();
    receiver_.reset();
    shutDown();
    return true;
}

}  // namespace qx::frame
