#pragma once
// Points put into a chart as the view's updates put them: X in hours of the day, one series.
#include <cstdint>
#include <optional>

#include "platform/ChartObject.h"

namespace qx::test {

inline constexpr int32_t kTenOClock = 36000;

inline void addPoint(platform::ChartObject& chart, int seconds, std::optional<int16_t> y) {
    auto& d = chart.group(1).data();
    const int32_t n = d.numPoints() + 1;
    d.setNumPoints(n);
    d.setX(n, seconds / 3600.0);
    if (y) d.setY(1, n, *y);
}

}  // namespace qx::test
