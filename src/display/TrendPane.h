#pragma once
// The trend pane: the flow and the temperature chart with their value-axis scroll bars, their
// running and saved value ranges, the one-minute time window moved by HSMin or a drag, and the
// trend's start. The view owns one and drives it from its updates and handlers; everything here
// runs on the UI thread.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "display/ChartEvent.h"
#include "host/Object.h"
#include "platform/ChartObject.h"
#include "platform/Controls.h"
#include "platform/PackageInternal.h"
#include "platform/RuntimeError.h"
#include "platform/StandardControls.h"

namespace qx::display {

// The value a caller passes for a line that has nothing to show; ranges never take it in.
inline constexpr int16_t kNoLine = 999;
// HSMin counts thousandths of the trend; at its maximum the window follows the newest point.
inline constexpr int16_t kFollowNewest = 1000;

// The running value range of one chart.
struct ValueRange {
    int16_t max = 0;
    int16_t min = 0;
    void widen(int16_t value) {
        if (value > max) max = value;
        if (value < min) min = value;
    }
};

class QX_FLOW_INTERNAL TrendPane {
  public:
    // One chart with its two value-axis bars and the outer bounds those bars keep its axis within.
    struct Chart {
        std::shared_ptr<platform::ControlExtender> control;  // cPC1, cPC2
        std::shared_ptr<platform::ChartObject> object;       // mFlowChart, mTempChart
        std::shared_ptr<platform::ScrollBar> maxBar, minBar;
        ValueRange range, saved;
        int16_t upperBound = 0, lowerBound = 0;
    };

    // The scroll bars come from the view's form design; logSource names the view in the log.
    TrendPane(const platform::UiContext& ui, platform::Controls& controls, const host::Object& logSource);
    // A chart that outlives the pane (held by a window) no longer reports to it.
    ~TrendPane() { dropCharts(); }
    TrendPane(const TrendPane&) = delete;
    TrendPane& operator=(const TrendPane&) = delete;

    void attachBars(std::shared_ptr<platform::ScrollBar> hsMin, std::shared_ptr<platform::ScrollBar> vsMax1,
                    std::shared_ptr<platform::ScrollBar> vsMin1, std::shared_ptr<platform::ScrollBar> vsMax2,
                    std::shared_ptr<platform::ScrollBar> vsMin2);

    // ---- the charts (display/TrendCharts.cpp) ----
    // A chart control named sname in cont, loaded from PC1.dat; none when that fails (logged).
    std::shared_ptr<platform::ControlExtender> createChart(platform::Control* cont, const std::string& sname);
    void createCharts(platform::Frame& frameChart);  // both charts, empty, placed in FrameChart
    void dropCharts();
    void ClearChart(Chart& chart);  // empties the chart and restarts the trend time
    // One point: value a, line b (kNoLine: none), limits c and d (kNoLine: none; d = 0: c alone).
    void addChartPoint(Chart& chart, int16_t a, int16_t b, int16_t c, int16_t d);
    void MarkChartBreak(Chart& chart);  // two points without Y values: a gap in the lines

    // ---- ranges (display/ChartRanges.cpp) ----
    void SaveChartRanges();     // widens the saved ranges by the running ones and restarts those
    void RestoreChartRanges();  // widens the running ranges by the saved ones
    void startAfresh();         // ranges and saved ranges out of reach of any value, axis step 10
    // The axis limits from the running range, the rounding and the bars; the minimum held at
    // floor when one is given.
    void applyAxis(Chart& chart, std::optional<int16_t> floor);

    // ---- the trend's time (display/TrendCharts.cpp) ----
    void restartAt(int32_t now);  // a new trend: start, ranges to their restart values, charts cleared
    void resetTimeBaseIfAsked(int32_t now);
    void markBreakIfPending();
    void breakAtNextUpdate() { chartBreakPending_ = true; }
    void restartAtNextUpdate() { restartTrend_ = true; }
    void startWindowAt(int32_t now) { teachStartTime_ = now; }
    void forgetStart();  // trend and window start empty again
    void startTrendAt(int32_t now) { trendStart_ = now; }
    void startIfEmpty(int32_t now) {
        if (!trendStart_) trendStart_ = now;
    }
    bool restartPending() const { return restartTrend_; }

    // ---- the scroll bars and the window (display/TimeWindow.cpp) ----
    // The scroll bars' change events: a value bar stays within its limits and sets its chart's
    // axis; the time window's bar moves the window.
    void VSMax1_Change() { maxBarChanged(flow); }
    void VSMin1_Change() { minBarChanged(flow); }
    void VSMax2_Change() { maxBarChanged(temp); }
    void VSMin2_Change() { minBarChanged(temp); }
    void HSMin_Change();
    void chartEvent(const ObjectEventInfo& info);  // a drag on either chart moves HSMin
    void followNewest();                           // HSMin to its maximum
    void resetValueBars();                         // the four value bars to 0

    Chart flow, temp;

    // Read-only state for the console's field table and the tests.
    bool resetTimeBase() const { return resetTimeBase_; }
    bool chartBreakPending() const { return chartBreakPending_; }
    const std::optional<int32_t>& trendStart() const { return trendStart_; }
    const std::optional<int32_t>& teachStartTime() const { return teachStartTime_; }
    int16_t axisStep() const { return axisStep_; }
    int16_t dragAnchor() const { return dragAnchor_; }

  private:
    void maxBarChanged(Chart& chart);
    void minBarChanged(Chart& chart);

    platform::UiContext ui_;
    platform::Controls& controls_;
    const host::Object& logSource_;
    std::shared_ptr<platform::ScrollBar> hsMin_;

    bool restartTrend_ = false, resetTimeBase_ = true, chartBreakPending_ = false;
    std::optional<int32_t> trendStart_;      // time of day, seconds
    std::optional<int32_t> teachStartTime_;  // time of day, seconds: where the window starts
    int16_t axisStep_ = 0;
    int16_t dragAnchor_ = 0;
};

}  // namespace qx::display
