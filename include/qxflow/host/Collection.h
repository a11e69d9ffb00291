#pragma once
// A collection of the frame: items in order (1-based) and by name. A name or index it lacks is
// a run-time error of the call.
#include <cstdint>
#include <memory>
#include <string>

#include "Export.h"

namespace qx::host {

template <class T>
class QX_FLOW_EXPORT Collection {
  public:
    virtual ~Collection() = default;
    virtual int32_t count() const = 0;
    virtual std::shared_ptr<T> item(int32_t index) const = 0;  // 1..count
    virtual std::shared_ptr<T> item(const std::string& name) const = 0;
};

}  // namespace qx::host
