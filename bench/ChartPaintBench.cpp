// The trend chart on screen: one poll cycle's work for a chart of 640 x 300 pixels (append one
// point, move the one-minute window, repaint) with 32,767 and 1,000,000 points of history, by
// the chart painter and by a naive painter that draws every stored point of each series as one
// polyline. Then the vertices the painter draws per series and pixel column when the whole
// history is in view, and the paints per second a 1 ms poll causes in a shown ChartWidget.
//
// The naive painter draws the lines only (no grid, labels or symbols), so the ratio between the
// two is, if anything, in its favour.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <map>

#include <benchmark/benchmark.h>

#include "chart/ChartPainter.h"
#include "chart/ChartSeries.h"
#include "chart/ChartWidget.h"
#include "platform/LibraryFolder.h"
#include "trend/ChartDecimation.h"

namespace {

using qx::platform::ChartObject;

constexpr int kWidth = 640, kHeight = 300;
constexpr double kMinute = 60 / 3600.0;

// One point per second as the view appends it: the flow, the switch point and the taught limits
// in group 1, the limits again in group 2; the window follows the newest point.
void append(ChartObject& chart) {
    auto& values = chart.group(1).data();
    auto& limits = chart.group(2).data();
    const int32_t n = values.numPoints() + 1;
    const double x = n / 3600.0;
    const auto flow = static_cast<int16_t>(450 + 300 * std::sin(n / 40.0) + (n * 7919 % 61) - 30);
    values.setNumPoints(n);
    values.setX(n, x);
    values.setY(1, n, flow);
    values.setY(2, n, 450);
    values.setY(3, n, 800);
    values.setY(4, n, 100);
    limits.setNumPoints(n);
    limits.setX(n, x);
    limits.setY(1, n, 800);
    limits.setY(2, n, 100);
    chart.chartArea().axis("X").setMin(x - kMinute);
    chart.chartArea().axis("X").setMax(x);
    chart.refresh();
}

void setUp(ChartObject& chart, int32_t history) {
    chart.load(qx::platform::libraryFolder() + "/PC1.dat");
    chart.group(1).style(1).setSymbolShape(qx::platform::SymbolShape::Dot);
    chart.group(1).style(2).setSymbolShape(qx::platform::SymbolShape::Dot);
    for (const char* axis : {"Y", "Y2"}) {
        chart.chartArea().axis(axis).setMin(80);
        chart.chartArea().axis(axis).setMax(900);
    }
    for (int32_t i = 0; i < history; ++i) append(chart);
}

// Every stored point of every series as one polyline (holes skipped), clipped to the plot.
void paintNaive(QPainter& p, const ChartObject& chart, const QRect& area) {
    p.fillRect(area, Qt::white);
    p.setClipRect(area);
    p.setRenderHint(QPainter::Antialiasing);
    const auto& x = chart.chartArea().axis("X");
    for (int g = 1; g <= 2; ++g) {
        const auto& y = chart.chartArea().axis(g == 1 ? "Y" : "Y2");
        const auto& data = chart.group(g).data();
        for (int s = 1; s <= chart.group(g).styleCount(); ++s) {
            QPolygonF line;
            line.reserve(data.numPoints());
            for (int32_t i = 1; i <= data.numPoints(); ++i) {
                const auto px = data.x(i);
                const auto py = data.y(s, i);
                if (!px || !py) continue;
                line.append({area.left() + (*px - x.min()) / (x.max() - x.min()) * area.width(),
                             area.bottom() - (*py - y.min()) / (y.max() - y.min()) * area.height()});
            }
            const auto& style = chart.group(g).style(s);
            p.setPen(QPen(qx::ui::colourOf(style.lineColor()), std::max(1, style.lineWidth())));
            p.drawPolyline(line);
        }
    }
    p.setClipping(false);
}

template <bool kNaive>
void BM_AppendAndRepaint(benchmark::State& state) {
    ChartObject chart;
    setUp(chart, static_cast<int32_t>(state.range(0)));
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const qx::ui::ChartPainter painter;
    for (auto _ : state) {
        append(chart);
        QPainter p(&image);
        if constexpr (kNaive)
            paintNaive(p, chart, image.rect());
        else
            painter.paint(p, chart, image.rect());
    }
    state.counters["history"] = static_cast<double>(state.range(0));
}
BENCHMARK_TEMPLATE(BM_AppendAndRepaint, false)
    ->Name("Painter/AppendAndRepaint")
    ->Arg(32767)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_AppendAndRepaint, true)
    ->Name("Naive/AppendAndRepaint")
    ->Arg(32767)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);

// The whole history in view: the densest case for the decimation.
void BM_WholeHistoryInView(benchmark::State& state) {
    ChartObject chart;
    setUp(chart, static_cast<int32_t>(state.range(0)));
    auto& x = chart.chartArea().axis("X");
    x.setMin(0);
    x.setMax(static_cast<double>(state.range(0) + 1) / 3600.0);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const qx::ui::ChartPainter painter;
    for (auto _ : state) {
        QPainter p(&image);
        painter.paint(p, chart, image.rect());
    }
    // Vertices per series and pixel column of the plot, the most any column gets.
    const QRect plot = painter.plotArea(chart, image.rect());
    const qx::trend::ChartColumns columns{x.min(), x.max(), plot.width()};
    int most = 0;
    size_t vertices = 0;
    for (int g = 1; g <= 2; ++g)
        for (int s = 1; s <= chart.group(g).styleCount(); ++s) {
            const auto d = qx::trend::decimate(chart.group(g).data(), s, columns);
            vertices += d.vertices.size();
            std::map<int, int> perColumn;
            for (const auto& v : d.vertices) most = std::max(most, ++perColumn[columns.columnOf(v.x)]);
        }
    state.counters["max_vertices_per_series_column"] = most;
    state.counters["vertices_all_series"] = static_cast<double>(vertices);
    state.counters["plot_columns"] = plot.width();
}
BENCHMARK(BM_WholeHistoryInView)->Arg(32767)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// A shown ChartWidget while a timer appends a point every millisecond, for one second of real
// time: how many paints the screen gets.
void BM_PaintsPerSecondAtOneMsPoll(benchmark::State& state) {
    ChartObject chart;
    setUp(chart, 32767);
    qx::ui::ChartWidget widget(chart, nullptr);
    widget.resize(kWidth, kHeight);
    widget.show();
    struct Counter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    widget.installEventFilter(&counter);
    int polls = 0;
    QTimer poll;
    poll.setTimerType(Qt::PreciseTimer);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        append(chart);
        ++polls;
    });
    double seconds = 0;
    for (auto _ : state) {
        QEventLoop loop;
        QElapsedTimer clock;
        clock.start();
        poll.start(1);
        QTimer::singleShot(1000, &loop, &QEventLoop::quit);
        loop.exec();
        poll.stop();
        seconds += static_cast<double>(clock.nsecsElapsed()) / 1e9;
    }
    state.counters["paints_per_s"] = counter.paints / seconds;
    state.counters["polls_per_s"] = polls / seconds;
    state.counters["frame_interval_ms"] = widget.frameInterval();
    state.counters["points_kept"] = chart.group(1).data().numPoints() - 32767;
}
BENCHMARK(BM_PaintsPerSecondAtOneMsPoll)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
