#pragma once
// The count-change callback of a job-id collection: the view implements it to keep the data
// model's shared counter of jobs in flight up to date.
#include <cstdint>

namespace qx::device {

class IuuidCollection {
  public:
    virtual ~IuuidCollection() = default;
    // The collection's size changed by `difference` (+1, -1, or minus the size when emptied).
    virtual void IuuidCollection_OnCountChanged(int32_t difference) = 0;
};

}  // namespace qx::device
