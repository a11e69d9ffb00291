#pragma once
// The scheduler on virtual time: the clock only moves in advance(), which runs every task due
// up to the new time in time order (FIFO at equal times). Used by tests and the console.
#include <functional>
#include <map>
#include <optional>
#include <utility>

#include "platform/PackageInternal.h"
#include "platform/Scheduler.h"

namespace qx::platform {

class QX_FLOW_INTERNAL VirtualScheduler : public Scheduler {
  public:
    explicit VirtualScheduler(int64_t startMs = 10 * 3600 * 1000, int32_t startDay = 20'000)
        : now_(startMs), startDay_(startDay) {}

    Handle post(Task task) override { return postAfter(0, std::move(task)); }
    Handle postAfter(int64_t ms, Task task) override;
    void cancel(Handle handle) override;
    void processPending() override { advance(0); }
    int64_t nowMs() const override { return now_; }
    int32_t startDay() const override { return startDay_; }

    // Runs everything due at or before now + ms, then leaves the clock at now + ms.
    void advance(int64_t ms);
    // Sets the clock before anything runs (the console's `clock`).
    void setNow(int64_t ms) { now_ = ms; }
    // Sets the first day before anything runs (a window on the real date).
    void setStartDay(int32_t day) { startDay_ = day; }
    size_t pendingCount() const { return queue_.size(); }
    // When the earliest task falls due; none when nothing waits.
    std::optional<int64_t> nextDueMs() const;
    // Told, inside post, when a task was posted that falls due before every other: a front end
    // that sleeps until the next due task sets its alarm earlier. It must not run tasks itself.
    std::function<void()> onEarlierTask;

  private:
    using Key = std::pair<int64_t, uint64_t>;  // due time, sequence number
    std::map<Key, Task> queue_;
    std::map<Handle, Key> byHandle_;
    int64_t now_;
    int32_t startDay_;
    uint64_t sequence_ = 0;
};

}  // namespace qx::platform
