// The time window and the value-axis bars of the trend charts: HSMin picks a one-minute slice of
// the whole trend, and a drag with the left mouse button on either chart moves HSMin. While
// HSMin stands at its maximum the charts follow the newest point instead (addPoint). The
// value-axis bars widen or narrow a chart's value axis within the chart's outer bounds.
#include <optional>

#include "display/AxisRounding.h"
#include "display/TrendPane.h"
#include "display/TrendTime.h"
#include "platform/Int16.h"

namespace qx::display {

using platform::ignoreErrors;
using platform::must;
using platform::Variant;

namespace {

constexpr int16_t kLeftButton = 1;

// A mouse event's parameter by position; error 9 when the event has fewer.
const Variant& parameter(const ObjectEventInfo& info, size_t position) {
    if (position >= info.params.size()) platform::raise(platform::kSubscriptOutOfRange);
    return info.params[position];
}

}  // namespace

// Each bar keeps its chart's axis within the chart's outer bounds and at least one step away from
// the opposite limit; the new limits take effect at the next update. Setting the bar's value
// raises its change event once more.
void TrendPane::maxBarChanged(Chart& chart) {
    auto& bar = *chart.maxBar;
    const int16_t r = RoundAxisUp(chart.range.max, axisStep_);
    if (platform::add16(bar.value(), r) > chart.upperBound)
        bar.setValue(platform::sub16(chart.upperBound, r));
    const double yMin = must(chart.object).chartArea().axis("Y").min();
    if (platform::sub16(platform::add16(bar.value(), r), axisStep_) < yMin)
        bar.setValue(platform::round16(yMin - r + axisStep_));
}

void TrendPane::minBarChanged(Chart& chart) {
    auto& bar = *chart.minBar;
    const int16_t r = RoundAxisDown(chart.range.min, axisStep_);
    if (platform::add16(bar.value(), r) < chart.lowerBound)
        bar.setValue(platform::sub16(chart.lowerBound, r));
    const double yMax = must(chart.object).chartArea().axis("Y").max();
    if (platform::add16(platform::add16(bar.value(), r), axisStep_) > yMax)
        bar.setValue(platform::round16(yMax - r - axisStep_));
}

void TrendPane::resetValueBars() {
    for (auto* bar : {flow.maxBar.get(), temp.maxBar.get(), flow.minBar.get(), temp.minBar.get()})
        bar->setValue(0);
}

// HSMin counts thousandths of the trend: 0 shows its first minute, 1000 the minute that ends at
// the newest point. Each step that fails is skipped, so an empty chart still gets a window.
void TrendPane::HSMin_Change() {
    const int32_t position = hsMin_->value();
    if (position == -1) return;
    int32_t n = 0;
    double last = 0;
    ignoreErrors([&] { n = must(flow.object).group(1).data().numPoints(); });
    ignoreErrors([&] { last = must(flow.object).group(1).data().x(n).value_or(0); });
    const double start = (last - kWindowHours) / kFollowNewest * position;
    for (auto* chart : {&flow.object, &temp.object})
        ignoreErrors([&] { must(*chart).chartArea().axis("X").setMin(start); });
    for (auto* chart : {&flow.object, &temp.object})
        ignoreErrors([&] { must(*chart).chartArea().axis("X").setMax(start + kWindowHours); });
}

// Moving the mouse two units to the right moves the window one step of HSMin back in time. The
// first move of a drag only takes the anchor; a value HSMin refuses leaves the window as it was.
// Like any event handler, the drag ends at a step that fails and goes no further.
void TrendPane::chartEvent(const ObjectEventInfo& info) {
    try {
        if (info.name != "MouseMove") return;
        if (parameter(info, 0).equals(Variant(kLeftButton)) && hsMin_->enabled()) {
            const double x = parameter(info, 2).toDouble();
            if (dragAnchor_ != 0)
                ignoreErrors(
                    [&] { hsMin_->setValue(platform::round16(hsMin_->value() + dragAnchor_ - x / 2)); });
            dragAnchor_ = platform::round16(x / 2);
        } else {
            dragAnchor_ = 0;
        }
    } catch (const platform::RuntimeError&) {
    }
}

}  // namespace qx::display
