// The time window of the trend charts: HSMin picks a one-minute slice of the whole trend, and a
// drag with the left mouse button on either chart moves HSMin. While HSMin stands at its maximum
// the charts follow the newest point instead (addChartPoint).
#include <optional>

#include "display/TrendTime.h"
#include "platform/Int16.h"
#include "view/QX_FlowWiz.h"

namespace qx::view {

using platform::ignoreErrors;

namespace {

constexpr int16_t kLeftButton = 1;

// A mouse event's parameter by position; error 9 when the event has fewer.
const Variant& parameter(const ObjectEventInfo& info, size_t position) {
    if (position >= info.params.size()) platform::raise(platform::kSubscriptOutOfRange);
    return info.params[position];
}

}  // namespace

// HSMin counts thousandths of the trend: 0 shows its first minute, 1000 the minute that ends at
// the newest point. Each step that fails is skipped, so an empty chart still gets a window.
void QX_FlowWiz::HSMin_Change() {
    const int32_t position = HSMin->value();
    if (position == -1) return;
    int32_t n = 0;
    double last = 0;
    ignoreErrors([&] { n = must(mFlowChart).group(1).data().numPoints(); });
    ignoreErrors([&] { last = must(mFlowChart).group(1).data().x(n).value_or(0); });
    const double start = (last - display::kWindowHours) / 1000 * position;
    for (auto* chart : {&mFlowChart, &mTempChart})
        ignoreErrors([&] { must(*chart).chartArea().axis("X").setMin(start); });
    for (auto* chart : {&mFlowChart, &mTempChart})
        ignoreErrors([&] { must(*chart).chartArea().axis("X").setMax(start + display::kWindowHours); });
}

void QX_FlowWiz::cPC1_ObjectEvent(const ObjectEventInfo& info) {
    chartDrag(info);
}

void QX_FlowWiz::cPC2_ObjectEvent(const ObjectEventInfo& info) {
    chartDrag(info);
}

// Moving the mouse two units to the right moves the window one step of HSMin back in time. The
// first move of a drag only takes the anchor; a value HSMin refuses leaves the window as it was.
// Like any event handler, the drag ends at a step that fails and goes no further.
void QX_FlowWiz::chartDrag(const ObjectEventInfo& info) {
    try {
        if (info.name != "MouseMove") return;
        if (parameter(info, 0).equals(Variant(kLeftButton)) && HSMin->enabled()) {
            const double x = parameter(info, 2).toDouble();
            if (mDragAnchor != 0)
                ignoreErrors(
                    [&] { HSMin->setValue(platform::round16(HSMin->value() + mDragAnchor - x / 2)); });
            mDragAnchor = platform::round16(x / 2);
        } else {
            mDragAnchor = 0;
        }
    } catch (const RuntimeError&) {
    }
}

}  // namespace qx::view
