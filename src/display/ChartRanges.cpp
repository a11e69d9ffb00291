// The value ranges of the trend charts: the running range each update widens, the saved range a
// teach procedure (or "Clear") keeps while the charts scale to what follows, which "Auto" takes
// back in, and the axis limits both give with the rounding and the value-axis bars.
#include <algorithm>

#include "display/AxisRounding.h"
#include "display/TrendPane.h"
#include "platform/Int16.h"

namespace qx::display {

namespace {
// Restart values so far outside every real value that the first one replaces them.
constexpr ValueRange kOutOfReach{.max = -2000, .min = 2000};
constexpr int16_t kAxisStep = 10;
}  // namespace

void TrendPane::SaveChartRanges() {
    for (Chart* c : {&flow, &temp}) {
        c->saved.max = std::max(c->saved.max, c->range.max);
        c->saved.min = std::min(c->saved.min, c->range.min);
    }
    flow.range.max = kOutOfReach.max;
    temp.range.max = kOutOfReach.max;
    flow.range.min = kOutOfReach.min;
    temp.range.min = kOutOfReach.min;
}

void TrendPane::RestoreChartRanges() {
    for (Chart* c : {&flow, &temp}) {
        c->range.min = std::min(c->range.min, c->saved.min);
        c->range.max = std::max(c->range.max, c->saved.max);
    }
}

void TrendPane::startAfresh() {
    flow.range = temp.range = kOutOfReach;
    flow.saved = temp.saved = kOutOfReach;
    axisStep_ = kAxisStep;
}

void TrendPane::applyAxis(Chart& chart, std::optional<int16_t> floor) {
    auto& area = platform::must(chart.object).chartArea();
    const int16_t yMax = platform::add16(RoundAxisUp(chart.range.max, axisStep_), chart.maxBar->value());
    area.axis("Y").setMax(yMax);
    area.axis("Y2").setMax(yMax);
    int16_t yMin = platform::add16(RoundAxisDown(chart.range.min, axisStep_), chart.minBar->value());
    if (floor) yMin = std::max(*floor, yMin);
    area.axis("Y").setMin(yMin);
    area.axis("Y2").setMin(yMin);
}

}  // namespace qx::display
