#pragma once
// The line between the stand-in frame and the simulated flow monitor: how long answers take,
// whether they come inside the queuing call, which jobs fail, what connection requests get, and
// the observers that see what crosses the line. It outlives the communication objects that use
// it, so a script can set it up before any exists.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frame/line/LineObservers.h"

namespace qx::frame {

class SimCommunication;

class SimLink : public LineObservers {
  public:
    enum class JobKind { Read, Write };
    enum class FailKind { Read, Write, Any };
    enum class ConnectOutcome { Ok, Fail, Refuse };

    // Time from a job or connection request to its answer, fixed when the request is made.
    int64_t latencyMs = 50;
    // Each job is answered inside the call that queues it, before its id is returned.
    bool early = false;
    // What connection requests made from now on get: "CONNECTED", "CONNECT FAILED", or refusal.
    ConnectOutcome connectOutcome = ConnectOutcome::Ok;

    // The next `count` jobs of that kind answer "FAILED" and never reach the device; replaces an
    // earlier count of the same kind. A job uses up a count of its own kind before one of Any.
    void failNext(FailKind kind, int32_t count);
    // Decides, when a job is queued, whether it fails (and uses up one count if so).
    bool takeFailure(JobKind kind);

    // The device drops the connection of every communication object that is connected or
    // connecting.
    void abort();
    void attach(const std::weak_ptr<SimCommunication>& communication);

  private:
    int32_t failRead_ = 0, failWrite_ = 0, failAny_ = 0;
    std::vector<std::weak_ptr<SimCommunication>> communications_;
};

}  // namespace qx::frame
