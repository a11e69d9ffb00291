#include "platform/VirtualScheduler.h"

namespace qx::platform {

Scheduler::Handle VirtualScheduler::postAfter(int64_t ms, Task task) {
    Key key{now_ + (ms < 0 ? 0 : ms), ++sequence_};
    const bool earliest = queue_.empty() || key < queue_.begin()->first;
    queue_.emplace(key, std::move(task));
    byHandle_.emplace(key.second, key);
    if (earliest && onEarlierTask) onEarlierTask();
    return key.second;
}

std::optional<int64_t> VirtualScheduler::nextDueMs() const {
    if (queue_.empty()) return std::nullopt;
    return queue_.begin()->first.first;
}

void VirtualScheduler::cancel(Handle handle) {
    auto it = byHandle_.find(handle);
    if (it == byHandle_.end()) return;
    queue_.erase(it->second);
    byHandle_.erase(it);
}

void VirtualScheduler::advance(int64_t ms) {
    const int64_t until = now_ + (ms < 0 ? 0 : ms);
    while (!queue_.empty() && queue_.begin()->first.first <= until) {
        auto node = queue_.extract(queue_.begin());
        byHandle_.erase(node.key().second);
        if (node.key().first > now_) now_ = node.key().first;
        node.mapped()();
    }
    now_ = until;
}

}  // namespace qx::platform
