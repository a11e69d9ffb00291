#pragma once
// The one user-interface thread: everything the library waits for goes through here. Tasks run
// in time order, first-come first-served at equal times, and never inside the call that posts
// them. Library code never sleeps, starts a thread or reads the real clock.
#include <cstdint>
#include <functional>

#include "Export.h"

namespace qx::platform {

class QX_FLOW_EXPORT Scheduler {
  public:
    using Task = std::function<void()>;
    using Handle = uint64_t;

    virtual ~Scheduler() = default;

    // Runs task at the present time, after what is already due.
    virtual Handle post(Task task) = 0;
    // Runs task `ms` milliseconds from now.
    virtual Handle postAfter(int64_t ms, Task task) = 0;
    // Drops a task that has not run yet; unknown handles are ignored.
    virtual void cancel(Handle handle) = 0;
    // Runs every task that is due now, including those that become due while it runs.
    virtual void processPending() = 0;

    // Milliseconds since midnight of the first day (may exceed one day).
    virtual int64_t nowMs() const = 0;
    // Days since 1970-01-01 of the first day (for the log's date).
    virtual int32_t startDay() const = 0;

    // The present time of day in whole seconds since midnight, as the original clock gave it.
    int32_t timeOfDay() const { return static_cast<int32_t>((nowMs() / 1000) % 86400); }
};

}  // namespace qx::platform
