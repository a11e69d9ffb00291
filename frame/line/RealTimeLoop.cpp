#include "frame/line/RealTimeLoop.h"

#include <algorithm>

namespace qx::frame {

RealTimeLoop::RealTimeLoop(platform::VirtualScheduler& scheduler, std::shared_ptr<UiInbox> inbox)
    : scheduler_(scheduler), inbox_(std::move(inbox)), lastReal_(std::chrono::steady_clock::now()) {}

void RealTimeLoop::catchUp() {
    inbox_->drain();
    const auto now = std::chrono::steady_clock::now();
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - lastReal_);
    lastReal_ += elapsed;  // the part of a millisecond not yet counted stays for the next time
    scheduler_.advance(elapsed.count());
}

void RealTimeLoop::run(int64_t ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        catchUp();
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                .count();
        if (left <= 0) break;
        inbox_->wait(std::min(left, kTickMs));
    }
}

}  // namespace qx::frame
