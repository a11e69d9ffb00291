// What the commissioning record costs: a simulated hour of polling at 10 ms through the console,
// once with the run journalled in memory only and once recorded into a file as well (the file's
// share must stay within a few percent); the journal alone over the same hour, which shows the
// file's share without the run around it (on a shared machine the whole runs vary by more than
// that share); and the commissioning report written as a PDF after a teach-in.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "record/RunJournal.h"
#include "script/Console.h"

namespace {

std::string scratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qxbench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    return pattern;
}

void runScript(benchmark::State& state, const std::string& folder, const std::string& script) {
    std::ostringstream out;
    qx::console::Console console(out, folder);
    std::istringstream in(script);
    if (console.runScript(in) != 0) state.SkipWithError(("the run went wrong: " + out.str()).c_str());
}

// One hour at a 10 ms poll cycle: 360,000 points per chart.
void BM_HourAt10msPoll(benchmark::State& state) {
    const bool recorded = state.range(0) != 0;
    const std::string folder = scratchFolder();
    const std::string script = std::string("registry PollCycle dword:10\n") +
                               (recorded ? "record hour.qxrec\n" : "") +
                               "sim latency 0\ncreate\ninit device\nsim flow 420\nset-toolbar\nwait 3600000\n"
                               "expect chart PC1 points 360001\n";
    for (auto _ : state) runScript(state, folder, script);
    if (recorded)
        state.counters["file_MB"] =
            static_cast<double>(std::filesystem::file_size(folder + "/hour.qxrec")) / 1e6;
    std::filesystem::remove_all(folder);
    state.SetItemsProcessed(state.iterations() * 360'000);
}
BENCHMARK(BM_HourAt10msPoll)
    ->ArgName("recorded")
    ->MeasureProcessCPUTime()
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The journal alone over the same hour, without the view and the line: what writing the file
// costs beside keeping the samples in memory, a commit a second included. The flow wanders as a
// real one does; the lines and the temperature stay.
void BM_JournalHourAt10ms(benchmark::State& state) {
    const bool recorded = state.range(0) != 0;
    const std::string folder = scratchFolder();
    for (auto _ : state) {
        qx::record::RunJournal journal;
        if (recorded && !journal.recordTo(folder + "/journal.qxrec", 0)) state.SkipWithError("no file");
        for (int64_t i = 0; i < 360'000; ++i)
            journal.addSample({i * 10, 400.0 + static_cast<double>(i * 7919 % 23), 21.5, 420, 760, 120, 60});
    }
    std::filesystem::remove_all(folder);
    state.SetItemsProcessed(state.iterations() * 360'000);
}
BENCHMARK(BM_JournalHourAt10ms)->ArgName("recorded")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// `report pdf` after a max/min teach-in with ten minutes of trend at a 100 ms poll: the time of
// the whole run is taken without the report and subtracted.
void BM_ReportPdf(benchmark::State& state) {
    const std::string folder = scratchFolder();
    const std::string teachIn =
        "registry PollCycle dword:100\ndevice lang=1033\ncreate\ninit "
        "device\nregister-callback\nset-toolbar\n"
        "sim flow 300\nsim temp 24\nwait 300000\nclick ComTeachMaxMin\nwait 1000\nsim flow 780\nwait 4000\n"
        "click ComTMax\nwait 1000\nsim flow 240\nwait 4000\nclick ComTMin\nwait 300000\nnote done\n";
    std::ostringstream out;
    qx::console::Console console(out, folder);
    std::istringstream in(teachIn);
    if (console.runScript(in) != 0) state.SkipWithError(("the teach-in went wrong: " + out.str()).c_str());
    // The first report starts Qt's offscreen platform and loads fonts: a cost of the first one only.
    std::istringstream first("report pdf warm.pdf\n");
    console.runScript(first);
    for (auto _ : state) {
        console.run({0, {{"report"}, {"pdf"}, {"report.pdf"}}, "report pdf report.pdf", std::nullopt});
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ReportPdf)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
