// The two trend charts: creating and placing them, clearing them, appending one point per update
// (which also keeps the one-minute window on the newest point), marking the break a lost
// connection leaves, and the restarts of the trend and its time axis.
#include <string>

#include "display/TrendPane.h"
#include "display/TrendTime.h"
#include "platform/LibraryFolder.h"
#include "support/DebugLog.h"
#include "view/Colours.h"

namespace qx::display {

using platform::ChartObject;
using platform::ignoreErrors;
using platform::must;

namespace {

// Restart values of a new trend: the first values replace them.
constexpr ValueRange kRestartRange{.max = 0, .min = 1000};

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

TrendPane::TrendPane(const platform::UiContext& ui, platform::Controls& controls,
                     const host::Object& logSource)
    : ui_(ui), controls_(controls), logSource_(logSource) {
    // The outer bounds of the value axes, in the charts' units.
    flow.upperBound = 1050;
    flow.lowerBound = 0;
    temp.upperBound = 210;
    temp.lowerBound = -60;
}

void TrendPane::attachBars(std::shared_ptr<platform::ScrollBar> hsMin,
                           std::shared_ptr<platform::ScrollBar> vsMax1,
                           std::shared_ptr<platform::ScrollBar> vsMin1,
                           std::shared_ptr<platform::ScrollBar> vsMax2,
                           std::shared_ptr<platform::ScrollBar> vsMin2) {
    hsMin_ = std::move(hsMin);
    flow.maxBar = std::move(vsMax1);
    flow.minBar = std::move(vsMin1);
    temp.maxBar = std::move(vsMax2);
    temp.minBar = std::move(vsMin2);
}

std::shared_ptr<platform::ControlExtender> TrendPane::createChart(platform::Control* cont,
                                                                  const std::string& sname) {
    support::DebugLog(logSource_, "CreateChart()", "Start");
    try {
        auto extender = controls_.add(platform::kChartProgId, sname, cont);
        extender->setVisible(true);
        auto chart = chartOf(*extender);
        // Both charts share one definition; the colours below tell them apart.
        chart->load(platform::libraryFolder() + "/PC1.dat");
        if (sname == "PC2") {
            chart->group(1).style(2).setFillColor(view::kRed);
            chart->group(1).style(1).setFillColor(view::kTemperatureColour);
            chart->group(2).style(1).setFillColor(view::kTempLimitsColour);
        }
        if (sname == "PC1") {
            chart->group(2).style(1).setFillColor(view::kFlowLimitsColour);
            chart->group(1).style(1).setFillColor(view::kFlowColour);
        }
        // The window is the view's to move: no zooming or panning by the component itself.
        chart->actionMaps().removeAll();
        return extender;
    } catch (const platform::RuntimeError& e) {
        platform::ErrorLineScope scope(e);
        support::DebugLog(logSource_, "CreateChart()",
                          "Error:" + e.description() + ", Line:" + std::to_string(e.line()));
        return nullptr;
    }
}

void TrendPane::createCharts(platform::Frame& frameChart) {
    try {
        auto create = [&](Chart& chart, const char* name) {
            chart.control = createChart(&frameChart, name);
            chart.object = chartOf(must(chart.control));
            chart.object->group(1).data().setNumPoints(0);
            chart.object->group(2).data().setNumPoints(0);
            chart.object->setAllowUserChanges(true);
        };
        create(flow, "PC1");
        create(temp, "PC2");
        // A chart's mouse reaches the pane while the pane holds the chart (see dropCharts).
        for (Chart* c : {&flow, &temp})
            c->object->ObjectEvent = [this](const ObjectEventInfo& info) { chartEvent(info); };

        // A first placement; the layout moves and sizes the charts afterwards.
        const int32_t left = frameChart.width() - kChartWidth - kChartMargin;
        flow.control->move(left, kChartTop, kChartWidth, kChartHeight);
        flow.control->setVisible(true);
        temp.control->move(left, flow.control->height() + kChartTop, kChartWidth, kChartHeight);
        temp.control->setVisible(true);
        frameChart.setHeight(temp.control->top() + temp.control->height() + kChartMargin);
    } catch (const platform::RuntimeError& e) {
        platform::ErrorLineScope scope(e);
        support::DebugLog(logSource_, "InitChart()", "Error:" + e.description());
        throw;
    }
}

void TrendPane::dropCharts() {
    for (Chart* c : {&flow, &temp})
        if (c->object) c->object->ObjectEvent = nullptr;
    flow.object.reset();
    temp.object.reset();
    flow.control.reset();
    temp.control.reset();
}

void TrendPane::ClearChart(Chart& chart) {
    auto& c = must(chart.object);
    c.group(1).data().setNumPoints(0);
    c.group(2).data().setNumPoints(0);
    trendStart_ = ui_.scheduler.timeOfDay();
    resetTimeBase_ = true;
    hsMin_->setValue(kFollowNewest);
    auto& x = c.chartArea().axis("X");
    x.setMin(0);
    x.setMax(0);
    x.timeScale().setBase(ui_.scheduler.timeOfDay());
}

void TrendPane::restartAt(int32_t now) {
    trendStart_ = now;
    flow.range = kRestartRange;
    temp.range = kRestartRange;
    restartTrend_ = false;
    ClearChart(flow);
    ClearChart(temp);
}

void TrendPane::forgetStart() {
    trendStart_.reset();
    teachStartTime_.reset();
}

void TrendPane::resetTimeBaseIfAsked(int32_t now) {
    if (!resetTimeBase_) return;
    must(flow.object).chartArea().axis("X").timeScale().setBase(now);
    must(temp.object).chartArea().axis("X").timeScale().setBase(now);
    resetTimeBase_ = false;
}

void TrendPane::markBreakIfPending() {
    if (!chartBreakPending_) return;
    MarkChartBreak(flow);
    MarkChartBreak(temp);
    chartBreakPending_ = false;
}

void TrendPane::followNewest() {
    hsMin_->setValue(kFollowNewest);
}

void TrendPane::addChartPoint(Chart& chart, int16_t a, int16_t b, int16_t c, int16_t d) {
    // A point that cannot be added is simply missing from the trend; nothing is reported.
    try {
        const double x = trendHours(startOf(trendStart_), ui_.scheduler.timeOfDay());
        auto& ch = must(chart.object);
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
        hsMin_->setEnabled(hsMin_->value() == 0 || axisX.min() > values.x(1).value_or(0));

        if (!teachStartTime_) teachStartTime_ = trendStart_;
        const double w = (startOf(teachStartTime_) - startOf(trendStart_)) / 3600.0;
        if (hsMin_->value() == kFollowNewest) {
            // The window starts at the teach start (or trend start) until a full minute has passed.
            if (x - w < kWindowHours) {
                axisX.setMin(w);
                axisX.setMax(w + kWindowHours);
            } else {
                axisX.setMin(x - kWindowHours);
                axisX.setMax(x);
            }
        }
        ch.refresh();
    } catch (const platform::RuntimeError&) {
    }
}

void TrendPane::MarkChartBreak(Chart& chart) {
    double x = 0;
    ChartObject* ch = nullptr;
    try {
        x = trendHours(startOf(trendStart_), ui_.scheduler.timeOfDay());
        ch = &must(chart.object);
        auto& values = ch->group(1).data();
        const int32_t n = values.numPoints();
        if (n == 0) return;
        values.setNumPoints(n + 1);
        values.setX(n + 1, values.x(n).value_or(0));
    } catch (const platform::RuntimeError&) {
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

}  // namespace qx::display
