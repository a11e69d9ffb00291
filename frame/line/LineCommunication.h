#pragma once
// The communication object of every line to a device, whatever carries the bytes: it keeps the
// connection contract the view relies on, so that the view cannot tell one line from another. A
// line supplies only its transport: how a connection is made and ended, how a job travels.
//
// Contract: every call and every callback is on the UI thread; no callback comes inside the call
// that made the request, unless a line says otherwise (the simulated line's early answers). A
// connection request while connecting or connected is accepted and changes nothing; one while
// disconnecting is refused, and a line may refuse one of its own accord. A disconnection request
// while disconnecting is accepted and changes nothing; one while neither connected nor connecting
// is refused; one while connecting gives that connection up. The outcome comes as a status:
// "CONNECTED" or "CONNECT FAILED", then "DISCONNECTED" when asked for or "DISCONNECTED ABORT"
// when the device dropped the connection. A job is queued only while connected (else its id is
// empty, and nothing of it is taken); its id is "JOB-<n>", counting from 1 for each communication
// object; a write takes its parameters' values when it is queued. A job answers "SUCCESS", or
// "FAILED" when its request failed. When the connection ends, jobs not yet answered are never
// answered. The line's observers hear each status and answer just before the receiver. Release
// ends everything without a callback. The receiver is not owned: callbacks to one that is gone
// are dropped.
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "frame/line/LineDiagnostics.h"
#include "frame/line/LineObservers.h"
#include "host/Device.h"
#include "host/ViewInterfaces.h"

namespace qx::frame {

class LineCommunication : public host::ICommunication {
  public:
    std::string className() const final { return "Communication"; }
    std::string QueueRead(bool flag, const std::vector<host::ParameterList>& items) final;
    std::string QueueWrite(bool flag, host::WriteItem& item) final;
    void SetReceiver(const std::weak_ptr<host::IBase_Communication>& receiver) final { receiver_ = receiver; }
    bool Release(bool flag) final;
    bool Connecting(bool connect) final;
    // True from "CONNECTED" until the end of the connection is reported.
    bool IsConnected() const final { return connected_; }

    // The frame's own jobs on the same line: queued and answered as any job, in turn with the
    // view's, but the answer goes to `done` (true for "SUCCESS") and never to the receiver, so
    // the view's job bookkeeping never sees them. Empty id when not connected.
    using FrameJobDone = std::function<void(bool ok)>;
    std::string QueueFrameRead(const host::ParameterList& parameters, FrameJobDone done);
    std::string QueueFrameWrite(const host::ParameterList& parameters, FrameJobDone done);

    // What has gone across this line and what went wrong, since the object was made.
    const LineDiagnostics& diagnostics() const { return diagnostics_; }

  protected:
    LineCommunication() = default;

    // ---- the transport, each called on the UI thread ----
    // Who watches this line; read each time something crosses it.
    virtual const LineObservers& observers() const = 0;
    // Starts making the connection, which the line ends with connectionDone(); false refuses the
    // request.
    virtual bool openConnection() = 0;
    // Starts ending the connection, or giving up the one being made (connecting() tells), which
    // the line ends with connectionDone(false, "DISCONNECTED").
    virtual void closeConnection() = 0;
    // Sends a job, which the line ends with answer(id, ...), or never once the connection ends.
    virtual void sendRead(const std::string& id, const host::ParameterList& parameters) = 0;
    // `values` are the parameters' values as the job was queued, in job order.
    virtual void sendWrite(const std::string& id, const host::ParameterList& parameters,
                           const std::vector<WrittenValue>& values) = 0;
    // The connection has ended: answers under way are dropped.
    virtual void dropJobs() {}
    // Release: whatever is under way is dropped, and the line ends its side.
    virtual void shutDown() = 0;

    // ---- what the transport reports ----
    // The connection is made or has ended; the status goes to the observers and the receiver.
    void connectionDone(bool connectedAfter, const std::string& status);
    // The job's answer; "FAILED" unless `ok` (a failure the line cannot tell apart counts as the
    // device refusing it).
    void answer(const std::string& id, bool ok) { answer(id, ok ? JobFault::None : JobFault::Exception); }
    // The job's answer: "SUCCESS" when there is no fault, else "FAILED", counted by its fault.
    void answer(const std::string& id, JobFault fault);
    // The time the line measures its latencies on, in microseconds: the real clock, unless the
    // line answers on a clock of its own.
    virtual int64_t clockUs() const {
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    // Whether the job is queued and not yet answered.
    bool awaiting(const std::string& id) const { return jobs_.contains(id); }
    bool connecting() const { return pending_ == Pending::Connect; }
    bool disconnecting() const { return pending_ == Pending::Disconnect; }
    bool released() const { return released_; }
    // Connected, or a connection being made or ended.
    bool engaged() const { return !released_ && (pending_ != Pending::None || connected_); }
    // The device has dropped the connection, which the line ends with connectionDone(): from
    // now on the line is disconnecting.
    void connectionDropped() { pending_ = Pending::Disconnect; }

  private:
    enum class Pending { None, Connect, Disconnect };

    std::string newJob();
    void report(const std::string& status);

    std::weak_ptr<host::IBase_Communication> receiver_;
    bool connected_ = false;
    bool released_ = false;
    Pending pending_ = Pending::None;
    std::map<std::string, int64_t> jobs_;            // queued and not yet answered, with the time sent
    std::map<std::string, FrameJobDone> frameJobs_;  // the frame's own among them
    int64_t nextJob_ = 1;
    LineDiagnostics diagnostics_;
    bool everConnected_ = false;
};

}  // namespace qx::frame
