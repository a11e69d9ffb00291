#pragma once
// A set of job ids that reports every change of its size to an optional callback, so that a
// counter kept elsewhere follows the number of ids held here, also when the set goes away.
#include <cstdint>
#include <string>
#include <unordered_set>

#include "device/IuuidCollection.h"
#include "platform/PackageInternal.h"

namespace qx::device {

class QX_FLOW_INTERNAL CuuidCollection {
  public:
    CuuidCollection() = default;
    // Gives the callback back its share (minus the count) when ids are still held.
    ~CuuidCollection();
    CuuidCollection(const CuuidCollection&) = delete;
    CuuidCollection& operator=(const CuuidCollection&) = delete;

    // Not owned: whoever sets the callback keeps it alive until it clears it or destroys this set.
    IuuidCollection* Callback() const { return callback_; }
    void SetCallback(IuuidCollection* callback) { callback_ = callback; }

    // Ignores "" and an id already held; otherwise reports +1. Never raises: a failure of the
    // callback is swallowed, the id stays added.
    void Add(const std::string& uuid);
    // Reports -1 when the id was held. Never raises, like Add.
    void Remove(const std::string& uuid);
    int32_t Count() const { return static_cast<int32_t>(ids_.size()); }
    // Reports minus the count (also 0 when empty) before emptying. A failure of the callback
    // reaches the caller, and the ids then stay.
    void Clear();
    bool IsInside(const std::string& uuid) const { return ids_.count(uuid) != 0; }

  private:
    std::unordered_set<std::string> ids_;
    IuuidCollection* callback_ = nullptr;
};

}  // namespace qx::device
