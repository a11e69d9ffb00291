#pragma once
// The common base of the frame's reference-counted objects, so that "any object" can be passed
// and asked what it is (the view tells a data model from a device object by its type).
#include <memory>
#include <string>

#include "Export.h"

namespace qx::host {

class QX_FLOW_EXPORT Object {
  public:
    virtual ~Object() = default;
    // The object's class name, as a diagnostic tag shows it.
    virtual std::string className() const = 0;
};

using ObjectPtr = std::shared_ptr<Object>;

}  // namespace qx::host
