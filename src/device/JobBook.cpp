#include "device/JobBook.h"

namespace qx::device {

namespace {

constexpr const char* kReadOnce = "ReadOnce";

}  // namespace

void JobBook::create() {
    mFifo = std::make_unique<CCommandFiFo>();
    mUuids = std::make_unique<CuuidCollection>();
    mUuids2 = std::make_unique<CuuidCollection>();
}

void JobBook::reportCountTo(IuuidCollection* callback) {
    pendingIds().SetCallback(callback);
}

void JobBook::clearPending() {
    pendingIds().Clear();
    pendingIds().SetCallback(nullptr);
}

void JobBook::track(const std::string& id) {
    if (id.empty()) return;
    if (earlyIds().IsInside(id))
        earlyIds().Remove(id);
    else
        pendingIds().Add(id);
}

bool JobBook::isPending(const std::string& id) const {
    return pendingIds().IsInside(id);
}

void JobBook::noteEarlyAnswer(const std::string& id) {
    earlyIds().Add(id);
}

void JobBook::settle(const std::string& id) {
    pendingIds().Remove(id);
}

bool JobBook::nonePending() const {
    return pendingIds().Count() == 0;
}

bool JobBook::hasWork() const {
    const int32_t commands = queue().Count();
    const int32_t jobs = pendingIds().Count();
    return commands > 0 || jobs > 0;
}

bool JobBook::allSettled() const {
    return pendingIds().Count() == 0 && earlyIds().Count() == 0 && queue().Count() == 0;
}

void JobBook::forgetAll() {
    queue().Clear();
    pendingIds().Clear();
    earlyIds().Clear();
    mTeachJobId.clear();
}

void JobBook::queueRead() {
    queue().Add(kReadOnce);
}

bool JobBook::takeReadOnConnect() {
    return queue().Count() > 0 && queue().Remove() == kReadOnce;
}

bool JobBook::takeReadAfterAnswer(bool connected) {
    const int32_t jobs = pendingIds().Count();
    const int32_t commands = queue().Count();
    return commands > 0 && jobs == 1 && connected && queue().Remove() == kReadOnce;
}

}  // namespace qx::device
