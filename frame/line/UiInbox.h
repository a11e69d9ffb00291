#pragma once
// The way back from a worker thread to the UI thread: any thread pushes a task; the UI thread's
// loop drains the inbox, which posts each task on the scheduler in the order pushed. The loop
// learns that something waits through a file descriptor that is readable while the inbox is not
// empty (a console's real-time loop waits on it, a window watches it with a socket notifier).
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/Scheduler.h"

namespace qx::frame {

class UiInbox {
  public:
    explicit UiInbox(platform::Scheduler& scheduler);
    ~UiInbox();
    UiInbox(const UiInbox&) = delete;
    UiInbox& operator=(const UiInbox&) = delete;

    // Any thread.
    void push(platform::Scheduler::Task task);

    // UI thread: posts every task pushed so far on the scheduler; returns how many.
    size_t drain();
    // UI thread: blocks until a task waits or `timeoutMs` has passed; true when one waits.
    bool wait(int64_t timeoutMs) const;
    int fd() const { return fd_; }

  private:
    platform::Scheduler& scheduler_;
    int fd_;
    std::mutex mutex_;
    std::vector<platform::Scheduler::Task> tasks_;
};

}  // namespace qx::frame
