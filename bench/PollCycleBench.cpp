// The cost of polling on virtual time: one poll cycle of a bound, connected view (the timer
// tick, the read job, the device's answer into the model, the job bookkeeping with its
// "LOCAL_COMM" count, the view update with labels, lamps and one chart point per chart), and
// one simulated hour of polling at the default 1000 ms driven through the console as a script.
#include <benchmark/benchmark.h>

#include <sstream>

#include "display/TrendPane.h"
#include "frame/StandFrame.h"
#include "platform/Registry.h"
#include "script/Console.h"
#include "view/QX_FlowWiz.h"

namespace {

using qx::frame::InitTarget;
using qx::frame::StandFrame;

constexpr int64_t kPollMs = 1000;

// A view polling the simulated device: "Poll" pressed when the toolbar is handed over,
// connected, first read answered.
void startPolling(StandFrame& frame) {
    frame.create();
    frame.init(InitTarget::Device);
    frame.setToolbar();
    frame.sim().setFlow(420);
    frame.wait(kPollMs / 2);
}

void BM_PollCycle(benchmark::State& state) {
    qx::platform::registryStore().clear();
    StandFrame frame;
    startPolling(frame);
    for (auto _ : state) frame.wait(kPollMs);
    state.counters["points"] =
        static_cast<double>(frame.view().trend().flow.object->group(1).data().numPoints());
    state.SetItemsProcessed(state.iterations());
}
// Past 9 h of trend the charts stop taking points; stay well inside one trend.
BENCHMARK(BM_PollCycle)->Iterations(20000)->Unit(benchmark::kMicrosecond);

// The same hour through the console: commands read from a script, every output line formed and
// printed (into a buffer), the view looked at after every event.
void BM_ConsoleHourOfPolling(benchmark::State& state) {
    const std::string script =
        "create\n"
        "init device\n"
        "sim flow 420\n"
        "set-toolbar\n"
        "wait 3600000\n"
        "expect chart PC1 points 3600\n";
    for (auto _ : state) {
        std::ostringstream out;
        qx::console::Console console(out, ".");
        std::istringstream in(script);
        if (console.runScript(in) != 0)
            state.SkipWithError(("the hour did not run as expected: " + out.str()).c_str());
    }
    state.SetItemsProcessed(state.iterations() * 3600);
}
BENCHMARK(BM_ConsoleHourOfPolling)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
