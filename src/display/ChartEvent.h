#pragma once
// A mouse event on a trend chart as the chart component reports it.
#include "platform/ChartObject.h"

namespace qx::display {

// The parameters by position: 0 button, 1 shift, 2 x, 3 y.
using ObjectEventInfo = platform::ObjectEventInfo;

}  // namespace qx::display
