#include "device/CCommandFiFo.h"

#include "platform/RuntimeError.h"

namespace qx::device {

void CCommandFiFo::Add(const std::string& key) {
    if (!keys_.empty() && keys_.back() == key) return;
    keys_.push_back(key);
}

std::string CCommandFiFo::Remove() {
    if (keys_.empty()) platform::raise(platform::kSubscriptOutOfRange, "The command queue is empty");
    std::string key = std::move(keys_.front());
    keys_.pop_front();
    return key;
}

}  // namespace qx::device
