#pragma once
// The queue of follow-up commands the view cannot start yet (while the connection comes up or
// read jobs are still outstanding). A key directly behind an equal key is dropped, so repeated
// requests collapse into one; a key that recurs after another one is kept.
#include <cstdint>
#include <deque>
#include <string>

#include "platform/PackageInternal.h"

namespace qx::device {

class QX_FLOW_INTERNAL CCommandFiFo {
  public:
    // Appends key unless the newest entry is exactly the same key.
    void Add(const std::string& key);
    // Takes out the oldest key; an empty queue fails with error 9, so callers ask Count first.
    std::string Remove();
    int32_t Count() const { return static_cast<int32_t>(keys_.size()); }
    void Clear() { keys_.clear(); }

  private:
    std::deque<std::string> keys_;  // oldest first
};

}  // namespace qx::device
