// The view's work per poll cycle: one point added to a trend chart (as each update does for each chart) with
// different lengths of history behind it, and one whole UpdateView on a view bound to the
// simulated device.
//
// per_point is the time of one point added to the flow chart while it shows the taught limits
// (both groups, every series written, the window following the newest point). per_update is the
// time of one UpdateView in the idle state: the values read from the model, two chart points,
// labels, legend, status line and state step.
#include <benchmark/benchmark.h>

#include "display/TrendPane.h"
#include "frame/StandFrame.h"
#include "platform/ChartObject.h"
#include "view/QX_FlowWiz.h"
#include "view/ViewTestSeam.h"

namespace {

using qx::view::QX_FlowWiz;
using qx::view::ViewTestSeam;

// A whole number of storage chunks, so that every batch allocates the same number of them
// whatever the length of the history.
constexpr int32_t kBatch = 4 * qx::platform::ChartColumn<double>::kChunkSize;

void setLength(QX_FlowWiz& view, int32_t n) {
    view.trend().flow.object->group(1).data().setNumPoints(n);
    view.trend().flow.object->group(2).data().setNumPoints(n);
}

void BM_AddChartPoint(benchmark::State& state) {
    const auto history = static_cast<int32_t>(state.range(0));
    qx::frame::StandFrame frame;
    QX_FlowWiz& view = frame.create();
    auto& trend = ViewTestSeam::trend(view);
    trend.startTrendAt(frame.scheduler().timeOfDay());
    for (int32_t i = 0; i < history; ++i) trend.addChartPoint(trend.flow, 300, 450, 100, 800);

    for (auto _ : state) {
        for (int32_t i = 0; i < kBatch; ++i) trend.addChartPoint(trend.flow, 300, 450, 100, 800);
        state.PauseTiming();
        setLength(view, history);
        state.ResumeTiming();
    }
    state.counters["per_point"] = benchmark::Counter(
        kBatch, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AddChartPoint)->Arg(1'000)->Arg(32'767)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_UpdateView(benchmark::State& state) {
    qx::frame::DeviceOptions options;
    options.language = 0;
    options.state = 0;  // no polling: the benchmark plays the job-response handler
    qx::frame::StandFrame frame;
    frame.setOptions(options);
    QX_FlowWiz& view = frame.create();
    frame.init(qx::frame::InitTarget::Device);
    frame.setToolbar();
    ViewTestSeam::update(view);

    for (auto _ : state) ViewTestSeam::update(view);
    state.counters["per_update"] =
        benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_UpdateView)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
