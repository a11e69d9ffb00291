#pragma once
// Where an axis puts its labels: at round values (1, 2 or 5 times a power of ten) for a value
// axis, at round clock times (whole 1, 2, 5, 10, 15 or 30 seconds, minutes or hours) for a time
// axis, so that a reader can take a value off the grid at a glance.
#include <string>
#include <vector>

#include "platform/ChartAppearance.h"

namespace qx::trend {

struct AxisTick {
    double value = 0;  // in the axis' own values
    std::string label;
};

// At most `maxCount` ticks within min..max; none when the range is empty or maxCount < 1.
std::vector<AxisTick> valueTicks(double min, double max, int maxCount);
std::vector<AxisTick> timeTicks(const platform::ChartTimeScale& scale, double min, double max, int maxCount);

}  // namespace qx::trend
