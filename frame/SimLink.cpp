#include "frame/SimLink.h"

#include <algorithm>

#include "frame/SimCommunication.h"

namespace qx::frame {

void SimLink::failNext(FailKind kind, int32_t count) {
    const int32_t n = std::max(count, 0);
    switch (kind) {
        case FailKind::Read:
            failRead_ = n;
            break;
        case FailKind::Write:
            failWrite_ = n;
            break;
        case FailKind::Any:
            failAny_ = n;
            break;
    }
}

bool SimLink::takeFailure(JobKind kind) {
    int32_t& own = kind == JobKind::Read ? failRead_ : failWrite_;
    for (int32_t* count : {&own, &failAny_}) {
        if (*count > 0) {
            --*count;
            return true;
        }
    }
    return false;
}

void SimLink::abort() {
    for (const auto& weak : communications_)
        if (auto c = weak.lock()) c->abort();
}

void SimLink::attach(const std::weak_ptr<SimCommunication>& communication) {
    std::erase_if(communications_, [](const auto& weak) { return weak.expired(); });
    communications_.push_back(communication);
}

}  // namespace qx::frame
