#include "frame/line/UiInbox.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <stdexcept>

namespace qx::frame {

UiInbox::UiInbox(platform::Scheduler& scheduler)
    : scheduler_(scheduler), fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (fd_ < 0) throw std::runtime_error("no event descriptor for the UI inbox");
}

UiInbox::~UiInbox() {
    close(fd_);
}

void UiInbox::push(platform::Scheduler::Task task) {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
    const uint64_t one = 1;
    // The counter only has to be non-zero; a full counter still wakes the loop.
    [[maybe_unused]] const auto written = write(fd_, &one, sizeof one);
}

size_t UiInbox::drain() {
    std::vector<platform::Scheduler::Task> tasks;
    {
        std::lock_guard lock(mutex_);
        uint64_t count;
        [[maybe_unused]] const auto got = read(fd_, &count, sizeof count);
        tasks.swap(tasks_);
    }
    for (auto& task : tasks) scheduler_.post(std::move(task));
    return tasks.size();
}

bool UiInbox::wait(int64_t timeoutMs) const {
    pollfd p{fd_, POLLIN, 0};
    const int ms = timeoutMs > 1'000'000 ? 1'000'000 : static_cast<int>(timeoutMs < 0 ? 0 : timeoutMs);
    return poll(&p, 1, ms) > 0;
}

}  // namespace qx::frame
