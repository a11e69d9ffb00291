// Appending a point to a trend chart, as the view does once per chart and poll cycle, with
// different lengths of history behind it; and the heap one stored point costs.
//
// per_append is the time of one point (both groups, every series written, as on the flow chart
// while it shows taught limits). bytes_per_point is the heap the history took, divided by its
// length: one point here is an X and four Y values in group 1 plus an X and two Y values in
// group 2, a payload of 28 bytes.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>

#include "platform/ChartObject.h"

namespace {

using qx::platform::ChartData;
using qx::platform::ChartObject;

void appendPoint(ChartObject& chart, int32_t i) {
    const double x = i / 3600.0;
    const auto v = static_cast<int16_t>(i % 1000);
    ChartData& g1 = chart.group(1).data();
    const int32_t n = g1.numPoints() + 1;
    g1.setNumPoints(n);
    g1.setX(n, x);
    for (int s = 1; s <= 4; ++s) g1.setY(s, n, v);
    ChartData& g2 = chart.group(2).data();
    const int32_t m = g2.numPoints() + 1;
    g2.setNumPoints(m);
    g2.setX(m, x);
    g2.setY(1, m, v);
    g2.setY(2, m, v);
}

size_t heapInUse() {
    return mallinfo2().uordblks;
}

// A whole number of chunks, so that every batch crosses the same number of chunk edges (and
// allocates the same number of chunks) whatever the length of the history.
constexpr int32_t kBatch = 4 * qx::platform::ChartColumn<double>::kChunkSize;

void BM_AppendPoint(benchmark::State& state) {
    const auto history = static_cast<int32_t>(state.range(0));
    auto chart = std::make_unique<ChartObject>();
    const size_t empty = heapInUse();
    for (int32_t i = 0; i < history; ++i) appendPoint(*chart, i);
    const size_t filled = heapInUse();

    for (auto _ : state) {
        for (int32_t i = 0; i < kBatch; ++i) appendPoint(*chart, history + i);
        state.PauseTiming();
        chart->group(1).data().setNumPoints(history);
        chart->group(2).data().setNumPoints(history);
        state.ResumeTiming();
    }
    state.counters["per_append"] = benchmark::Counter(
        kBatch, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["bytes_per_point"] = static_cast<double>(filled - empty) / history;
}
BENCHMARK(BM_AppendPoint)->Arg(1000)->Arg(32767)->Arg(1000000);

}  // namespace

BENCHMARK_MAIN();
