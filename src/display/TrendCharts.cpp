// The two trend charts: creating and placing them, clearing them, appending one point per update
// (which also keeps the one-minute window on the newest point), marking the break a lost
// connection leaves, and the scroll bars that widen or narrow their value axes.
#include <string>

#include "display/AxisRounding.h"
#include "display/TrendTime.h"
#include "platform/LibraryFolder.h"
#include "support/DebugLog.h"
#include "view/Colours.h"
#include "view/QX_FlowWiz.h"

namespace qx::view {

using platform::ChartObject;
using platform::ignoreErrors;

namespace {

// The value a caller passes for a line that has nothing to show.
constexpr int16_t kNoLine = 999;
constexpr int16_t kFollowNewest = 1000;  // HSMin at this value keeps the window on the newest point

constexpr uint32_t kFlowLimitsColour = 0xFAFABE;  // RGB(190, 250, 250)
constexpr uint32_t kTempGroup2Colour = 0xF0F0F0;  // RGB(240, 240, 240)

constexpr int32_t kChartWidth = 4000;
constexpr int32_t kChartHeight = 1600;
constexpr int32_t kChartTop = 240;
constexpr int32_t kChartMargin = 120;

std::shared_ptr<ChartObject> chartOf(const platform::ControlExtender& extender) {
    auto chart = std::dynamic_pointer_cast<ChartObject>(extender.object());
    if (!chart)
        platform::raise(platform::kTypeMismatch, "The control " + extender.name() + " holds no chart");
    return chart;
}

// An empty trend start counts as midnight, as an empty time of day does.
int32_t startOf(const std::optional<int32_t>& t) {
    return t.value_or(0);
}

}  // namespace

std::shared_ptr<platform::ControlExtender> QX_FlowWiz::CreateChart(platform::Control* cont,
                                                                   const std::string& sname, int16_t, int16_t,
                                                                   int16_t, int16_t, const std::string&) {
    support::DebugLog(*this, "CreateChart()", "Start");
    try {
        auto extender = controls_.add(platform::kChartProgId, sname, cont);
        extender->setVisible(true);
        auto chart = chartOf(*extender);
        // Both charts share one definition; the colours below tell them apart.
        chart->load(platform::libraryFolder() + "/PC1.dat");
        if (sname == "PC2") {
            chart->group(1).style(2).setFillColor(kRed);
            chart->group(1).style(1).setFillColor(kTemperatureColour);
            chart->group(2).style(1).setFillColor(kTempGroup2Colour);
        }
        if (sname == "PC1") {
            chart->group(2).style(1).setFillColor(kFlowLimitsColour);
            chart->group(1).style(1).setFillColor(kFlowColour);
        }
        // The window is the view's to move: no zooming or panning by the component itself.
        chart->actionMaps().removeAll();
        return extender;
    } catch (const RuntimeError& e) {
        platform::ErrorLineScope scope(e);
        support::DebugLog(*this, "CreateChart()",
                          "Error:" + e.description() + ", Line:" + std::to_string(e.line()));
        return nullptr;
    }
}

void QX_FlowWiz::InitChart() {
    try {
        auto emptyChart = [](ChartObject& chart) {
            chart.group(1).data().setNumPoints(0);
            chart.group(2).data().setNumPoints(0);
            chart.setAllowUserChanges(true);
        };
        cPC1 = CreateChart(FrameChart.get(), "PC1", 0, 1024, 200, 800, "XXX");
        mFlowChart = chartOf(must(cPC1));
        emptyChart(*mFlowChart);
        cPC2 = CreateChart(FrameChart.get(), "PC2", 0, 512, 300, 700, "XXX");
        mTempChart = chartOf(must(cPC2));
        emptyChart(*mTempChart);

        // A first placement; the layout moves and sizes the charts afterwards.
        const int32_t left = FrameChart->width() - kChartWidth - kChartMargin;
        cPC1->move(left, kChartTop, kChartWidth, kChartHeight);
        cPC1->setVisible(true);
        cPC2->move(left, cPC1->height() + kChartTop, kChartWidth, kChartHeight);
        cPC2->setVisible(true);
        FrameChart->setHeight(cPC2->top() + cPC2->height() + kChartMargin);
    } catch (const RuntimeError& e) {
        platform::ErrorLineScope scope(e);
        support::DebugLog(*this, "InitChart()", "Error:" + e.description());
        throw;
    }
}

void QX_FlowWiz::ClearChart(const std::shared_ptr<ChartObject>& chart, int16_t) {
    auto& c = must(chart);
    c.group(1).data().setNumPoints(0);
    c.group(2).data().setNumPoints(0);
    mTrendStart = ui_.scheduler.timeOfDay();
    mResetTimeBase = true;
    HSMin->setValue(kFollowNewest);
    auto& x = c.chartArea().axis("X");
    x.setMin(0);
    x.setMax(0);
    x.timeScale().setBase(ui_.scheduler.timeOfDay());
}

void QX_FlowWiz::addChartPoint(const std::shared_ptr<ChartObject>& chart, int16_t a, int16_t b, int16_t c,
                               int16_t d) {
    // A point that cannot be added is simply missing from the trend; nothing is reported.
    try {
        const double x = display::trendHours(startOf(mTrendStart), ui_.scheduler.timeOfDay());
        auto& ch = must(chart);
        auto& values = ch.group(1).data();
        const int32_t n = values.numPoints() + 1;
        values.setNumPoints(n);
        values.setX(n, x);
        values.setY(1, n, a);
        if (b != kNoLine) values.setY(2, n, b);

        // Group 2 keeps in step with group 1 even where it has nothing to show.
        auto& limits = ch.group(2).data();
        const int32_t m = limits.numPoints() + 1;
        limits.setNumPoints(m);
        if (c != kNoLine && d != kNoLine) {
            limits.setX(m, x);
            if (d == 0) {
                limits.setY(1, m, c);
            } else {
                limits.setY(1, m, d);
                limits.setY(2, m, c);
                values.setY(3, n, d);
                values.setY(4, n, c);
            }
        }

        ch.group(1).style(1).setSymbolShape(int16_t{1});
        ch.group(1).style(2).setSymbolShape(int16_t{1});

        // Scrolling back makes sense once the window has left the first point behind.
        auto& axisX = ch.chartArea().axis("X");
        HSMin->setEnabled(HSMin->value() == 0 || axisX.min() > values.x(1).value_or(0));

        if (!mTeachStartTime) mTeachStartTime = mTrendStart;
        const double w = (startOf(mTeachStartTime) - startOf(mTrendStart)) / 3600.0;
        if (HSMin->value() == kFollowNewest) {
            // The window starts at the teach start (or trend start) until a full minute has passed.
            if (x - w < display::kWindowHours) {
                axisX.setMin(w);
                axisX.setMax(w + display::kWindowHours);
            } else {
                axisX.setMin(x - display::kWindowHours);
                axisX.setMax(x);
            }
        }
        ch.refresh();
    } catch (const RuntimeError&) {
    }
}

void QX_FlowWiz::MarkChartBreak(const std::shared_ptr<ChartObject>& chart) {
    double x = 0;
    ChartObject* ch = nullptr;
    try {
        x = display::trendHours(startOf(mTrendStart), ui_.scheduler.timeOfDay());
        ch = &must(chart);
        auto& values = ch->group(1).data();
        const int32_t n = values.numPoints();
        if (n == 0) return;
        values.setNumPoints(n + 1);
        values.setX(n + 1, values.x(n).value_or(0));
    } catch (const RuntimeError&) {
        return;
    }

    // Two points without Y values: one at the last point's time, one now. Every line breaks there.
    // From here on a step that fails is skipped.
    auto appendAt = [](platform::ChartData& data, auto xOf) {
        int32_t n = 0;
        ignoreErrors([&] { n = data.numPoints(); });
        ignoreErrors([&] { data.setNumPoints(n + 1); });
        ignoreErrors([&] {
            if (auto v = xOf(data, n)) data.setX(n + 1, *v);
        });
    };
    auto now = [x](const platform::ChartData&, int32_t) { return std::optional<double>(x); };
    // A group 2 point without X stays so: it carries no values either.
    auto previous = [](const platform::ChartData& data, int32_t n) { return data.x(n); };
    appendAt(ch->group(1).data(), now);
    appendAt(ch->group(2).data(), previous);
    appendAt(ch->group(2).data(), now);
}

// The value-axis scroll bars. Each keeps its chart's axis within the chart's outer bounds and at
// least one step away from the opposite limit; the new limits take effect at the next update.
// Setting the bar's value raises its change event once more.

void QX_FlowWiz::VSMax1_Change() {
    const int16_t r = display::RoundAxisUp(mFlowRangeMax, mAxisStep);
    if (platform::add16(VSMax1->value(), r) > 1050) VSMax1->setValue(platform::sub16(1050, r));
    const double yMin = must(mFlowChart).chartArea().axis("Y").min();
    if (platform::sub16(platform::add16(VSMax1->value(), r), mAxisStep) < yMin)
        VSMax1->setValue(platform::round16(yMin - r + mAxisStep));
}

void QX_FlowWiz::VSMax2_Change() {
    const int16_t r = display::RoundAxisUp(mTempRangeMax, mAxisStep);
    if (platform::add16(VSMax2->value(), r) > 210) VSMax2->setValue(platform::sub16(210, r));
    const double yMin = must(mTempChart).chartArea().axis("Y").min();
    if (platform::sub16(platform::add16(VSMax2->value(), r), mAxisStep) < yMin)
        VSMax2->setValue(platform::round16(yMin - r + mAxisStep));
}

void QX_FlowWiz::VSMin1_Change() {
    const int16_t r = display::RoundAxisDown(mFlowRangeMin, mAxisStep);
    if (platform::add16(VSMin1->value(), r) < 0) VSMin1->setValue(platform::sub16(0, r));
    const double yMax = must(mFlowChart).chartArea().axis("Y").max();
    if (platform::add16(platform::add16(VSMin1->value(), r), mAxisStep) > yMax)
        VSMin1->setValue(platform::round16(yMax - r - mAxisStep));
}

void QX_FlowWiz::VSMin2_Change() {
    const int16_t r = display::RoundAxisDown(mTempRangeMin, mAxisStep);
    if (platform::add16(VSMin2->value(), r) < -60) VSMin2->setValue(platform::sub16(-60, r));
    const double yMax = must(mTempChart).chartArea().axis("Y").max();
    if (platform::add16(platform::add16(VSMin2->value(), r), mAxisStep) > yMax)
        VSMin2->setValue(platform::round16(yMax - r - mAxisStep));
}

}  // namespace qx::view
