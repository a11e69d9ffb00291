// The recording viewer's paint: one chart of 1280 x 400 pixels (flow with its switch point and
// taught limits, four lines) over a range holding 1,000,000 samples, over a tenth of that and over
// one minute, and the statistics between two cursors across the whole recording. The recording is
// a 10 ms poll for close to three hours, with a lost connection now and then.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cmath>

#include <benchmark/benchmark.h>

#include "viewer/RecordingPainter.h"

namespace {

using qx::viewer::Quantity;

constexpr int kWidth = 1280, kHeight = 400;
constexpr int64_t kStart = 1796637600000;  // an afternoon in 2026, ms since the epoch

const qx::viewer::Recording& millionSamples() {
    static const qx::viewer::Recording recording = [] {
        qx::viewer::Recording r;
        for (int i = 0; i < 1000000; ++i) {
            qx::viewer::SampleRow row;
            row.tMs = kStart + int64_t{i} * 10;
            row.values.fill(NAN);
            if (i % 100000 >= 500) {
                row.values[0] = std::round(450 + 300 * std::sin(i / 4000.0) + (i * 7919 % 61) - 30);
                row.values[1] = 20 + (i / 1000 % 13) * 0.5;
            }
            if (i > 300000) {
                row.values[2] = 420;
                row.values[3] = 760;
                row.values[4] = 120;
            }
            r.append(row);
        }
        r.settle();
        return r;
    }();
    return recording;
}

const qx::viewer::ChartContent& flowContent() {
    static const qx::viewer::ChartContent content{
        "Flow [cm/s]",
        {{Quantity::Flow, "Flow", QColor(0, 0, 128), Qt::SolidLine, 1.5},
         {Quantity::SwitchPoint, "Switch point", Qt::red, Qt::DashLine, 1.5},
         {Quantity::TaughtMax, "Taught maximum", Qt::darkGreen, Qt::DotLine, 1.5},
         {Quantity::TaughtMin, "Taught minimum", QColor(230, 130, 0), Qt::DotLine, 1.5}}};
    return content;
}

// state.range(0): the samples in the range shown.
void BM_PaintRange(benchmark::State& state) {
    const auto& recording = millionSamples();
    qx::viewer::ChartWindow window;
    window.fromMs = static_cast<double>(kStart);
    window.toMs = static_cast<double>(kStart + state.range(0) * 10);
    window.cursorA = window.fromMs + (window.toMs - window.fromMs) / 3;
    window.cursorB = window.fromMs + (window.toMs - window.fromMs) * 2 / 3;
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const qx::viewer::RecordingPainter painter;
    for (auto _ : state) {
        QPainter p(&image);
        painter.paint(p, recording, flowContent(), window, image.rect());
    }
    state.counters["samples_in_range"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_PaintRange)->Arg(1000000)->Arg(100000)->Arg(6000)->Unit(benchmark::kMillisecond);

// The readout's statistics with the cursors at both ends of the recording.
void BM_StatisticsBetweenCursors(benchmark::State& state) {
    const auto& recording = millionSamples();
    double a = static_cast<double>(kStart) + 3, b = static_cast<double>(kStart) + 1e7 - 7;
    for (auto _ : state) {
        benchmark::DoNotOptimize(recording.between(Quantity::Flow, a, b));
        benchmark::DoNotOptimize(recording.between(Quantity::Temperature, a, b));
        a += 10;  // a cursor moved by the mouse
    }
}
BENCHMARK(BM_StatisticsBetweenCursors)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
