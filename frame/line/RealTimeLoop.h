#pragma once
// Runs a virtual scheduler on real time, for a front end that otherwise runs on virtual time and
// now talks to a real device: while the loop runs, the clock moves as the real clock does (the
// time that passed since the loop last ran is made up at once), and answers a worker thread
// pushes to the UI inbox run as they arrive.
#include <chrono>
#include <cstdint>
#include <memory>

#include "frame/line/UiInbox.h"
#include "platform/VirtualScheduler.h"

namespace qx::frame {

class RealTimeLoop {
  public:
    RealTimeLoop(platform::VirtualScheduler& scheduler, std::shared_ptr<UiInbox> inbox);

    // Runs for `ms` milliseconds of real time: every task as it falls due, every answer as it
    // comes.
    void run(int64_t ms);

  private:
    void catchUp();

    // How long the loop sleeps at most before it looks at the scheduler again; timers are this
    // late at worst.
    static constexpr int64_t kTickMs = 2;

    platform::VirtualScheduler& scheduler_;
    std::shared_ptr<UiInbox> inbox_;
    std::chrono::steady_clock::time_point lastReal_;
};

}  // namespace qx::frame
