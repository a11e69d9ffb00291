#pragma once
// A mouse event on a trend chart as the chart component reports it.
#include <string>
#include <vector>

#include "platform/Variant.h"

namespace qx::display {

// The parameters by position: 0 button, 1 shift, 2 x, 3 y.
struct ObjectEventInfo {
    std::string name;
    std::vector<platform::Variant> params;
};

}  // namespace qx::display
