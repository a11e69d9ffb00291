// The window's own cost, on Qt's offscreen platform: the CPU an idle window polling once a second
// takes over real time (QX_IDLE_SECONDS, 30 by default), and the time from creating the frame
// window to its first painted page. Run it from the release build:
//   build/release/bin/WindowBench
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFont>
#include <QScrollArea>
#include <QTimer>
#include <sstream>

#include "FrameWindow.h"
#include "ScreenTextMetrics.h"
#include "script/Console.h"

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Tells when the widget it watches is painted.
class PaintWatch : public QObject {
  public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) painted = true;
        return false;
    }
};

void BM_IdleWindowPollingOnceASecond(benchmark::State& state) {
    const int seconds =
        qEnvironmentVariableIsSet("QX_IDLE_SECONDS") ? qEnvironmentVariableIntValue("QX_IDLE_SECONDS") : 30;
    for (auto _ : state) {
        std::ostringstream transcript;
        qx::console::Console console(transcript, ".");
        qx::window::FrameWindow window(console);
        window.useRealTimeOfDay();
        window.openDevice({}, {});
        window.show();
        window.letPageSizeView();
        window.startClock();
        // Let it settle into polling, then measure.
        QTimer::singleShot(2000, qApp, &QApplication::quit);
        QApplication::exec();
        const double cpuBefore = cpuSeconds();
        QElapsedTimer real;
        real.start();
        QTimer::singleShot(seconds * 1000, qApp, &QApplication::quit);
        QApplication::exec();
        const double cpu = cpuSeconds() - cpuBefore;
        state.SetIterationTime(static_cast<double>(real.elapsed()) / 1000);
        state.counters["cpu_percent_of_a_core"] = 100 * cpu / (static_cast<double>(real.elapsed()) / 1000);
    }
}
BENCHMARK(BM_IdleWindowPollingOnceASecond)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

void BM_FirstPaintedFrame(benchmark::State& state) {
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        std::ostringstream transcript;
        qx::console::Console console(transcript, ".");
        qx::window::FrameWindow window(console);
        window.useRealTimeOfDay();
        window.openDevice({}, {});
        PaintWatch watch;
        window.findChild<QScrollArea*>()->viewport()->installEventFilter(&watch);
        window.show();
        while (!watch.painted) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_FirstPaintedFrame)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(qx::ui::kScreenFont, qx::ui::kScreenFontPoints));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
