#pragma once
// Where a recording's time axis puts its labels: at round local clock times (whole 100 ms up to
// 12 hours), far enough apart for `maxCount` labels, labelled with as much of the clock as the
// step needs.
#include <cstdint>
#include <string>
#include <vector>

namespace qx::viewer {

struct TimeTick {
    double ms = 0;  // since the epoch
    std::string label;
};

std::vector<TimeTick> timeTicks(double fromMs, double toMs, int maxCount);

}  // namespace qx::viewer
