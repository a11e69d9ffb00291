#include "device/CuuidCollection.h"

#include "platform/RuntimeError.h"

namespace qx::device {

CuuidCollection::~CuuidCollection() {
    if (ids_.empty() || !callback_) return;
    // A destructor cannot pass the failure on; the counter is the callback's own business.
    platform::ignoreErrors([&] { callback_->IuuidCollection_OnCountChanged(-Count()); });
}

void CuuidCollection::Add(const std::string& uuid) {
    if (uuid.empty()) return;
    if (!ids_.insert(uuid).second) return;
    if (callback_) platform::ignoreErrors([&] { callback_->IuuidCollection_OnCountChanged(1); });
}

void CuuidCollection::Remove(const std::string& uuid) {
    if (ids_.erase(uuid) == 0) return;
    if (callback_) platform::ignoreErrors([&] { callback_->IuuidCollection_OnCountChanged(-1); });
}

void CuuidCollection::Clear() {
    if (callback_) callback_->IuuidCollection_OnCountChanged(-Count());
    ids_.clear();
}

}  // namespace qx::device
