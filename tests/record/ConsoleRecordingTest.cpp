// A whole max/min teach-in recorded through the console, the way a script asks for it: the file
// holds the run's facts, every point the trend charts hold (same values, holes where the charts
// break), every write with its values in the order the device got them and its answer, the
// wizard's teach states, the connection statuses and the note.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "display/TrendPane.h"
#include "record/RecordingReader.h"
#include "record/TempFolder.h"
#include "script/Console.h"
#include "view/QX_FlowWiz.h"

namespace qx::record {
namespace {

constexpr const char* kTeachIn = R"(trace state on
device fw=1 category=match lang=1033
record run.qxrec
create
init device
register-callback
set-toolbar
sim flow 300
sim temp 24
wait 3000
click ComTeachMaxMin
wait 1000
sim flow 780
wait 4000
click ComTMax
wait 1000
sim flow 240
wait 4000
click ComTMin
wait 4000
sim abort
wait 1000
press Poll
wait 100
press Poll
wait 2400
note commissioned by A. Person, flow checked
wait 1500
)";

std::vector<std::string> linesStartingWith(const std::string& out, const std::string& prefix) {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix, 0) == 0) lines.push_back(line);
    return lines;
}

std::vector<std::string> textsOf(const Recording& r, const std::string& kind) {
    std::vector<std::string> texts;
    for (const auto& e : r.events)
        if (e.kind == kind) texts.push_back(e.text);
    return texts;
}

std::optional<double> y(const platform::ChartObject& chart, int series, int32_t p) {
    const auto v = chart.group(1).data().y(series, p);
    return v ? std::optional<double>(*v) : std::nullopt;
}

TEST(ConsoleRecording, HoldsAWholeMaxMinTeachInAsTheFrameSawIt) {
    test::TempFolder folder;
    std::ostringstream out;
    console::Console console(out, folder.root());
    std::istringstream script(kTeachIn);
    ASSERT_EQ(console.runScript(script), 0) << out.str();
    console.recorder().journal().commit();
    const Recording r = readRecording(folder.path("run.qxrec"));
    const std::string printed = out.str();
    EXPECT_NE(printed.find("recording run.qxrec\n"), std::string::npos) << printed;

    EXPECT_EQ(r.fact("device_name"), "FM1");
    EXPECT_EQ(r.fact("firmware_item"), "1");
    EXPECT_EQ(r.fact("bus_category"), "2C4CD8B8-D509-4ECB-94A7-019F12569C8B");
    EXPECT_EQ(r.fact("description"), "built-in");
    EXPECT_EQ(r.fact("language"), "en");
    EXPECT_EQ(r.fact("flow_unit"), "Bit");
    EXPECT_EQ(r.fact("temperature_unit"), "°C");
    EXPECT_EQ(r.fact("started"), "2024-10-04T10:00:00.000");

    // The charts' points, one sample each, in order; the recording may begin before a trend
    // restarted, so the charts' points are its last ones.
    auto& view = console.frame().view();
    const auto& flow = *view.trend().flow.object;
    const auto& temp = *view.trend().temp.object;
    const int32_t n = flow.group(1).data().numPoints();
    ASSERT_EQ(temp.group(1).data().numPoints(), n);
    ASSERT_GE(r.samples.size(), static_cast<size_t>(n));
    ASSERT_GT(n, 10);
    const size_t first = r.samples.size() - static_cast<size_t>(n);
    int holes = 0;
    for (int32_t p = 1; p <= n; ++p) {
        const Sample& s = r.samples[first + static_cast<size_t>(p - 1)];
        SCOPED_TRACE("point " + std::to_string(p));
        EXPECT_EQ(s.flow, y(flow, 1, p));
        EXPECT_EQ(s.switchPoint, y(flow, 2, p));
        EXPECT_EQ(s.taughtMax, y(flow, 3, p));
        EXPECT_EQ(s.taughtMin, y(flow, 4, p));
        EXPECT_EQ(s.temperature, y(temp, 1, p));
        EXPECT_EQ(s.temperatureSwitchPoint, y(temp, 2, p));
        if (s.hole()) ++holes;
    }
    EXPECT_GE(holes, 1);  // the lost connection
    for (size_t i = 1; i < r.samples.size(); ++i) EXPECT_LE(r.samples[i - 1].tMs, r.samples[i].tMs);
    // The taught band reaches the file once taught.
    EXPECT_EQ(r.samples.back().taughtMax, 780);
    EXPECT_EQ(r.samples.back().taughtMin, 240);

    // Every write the device got, in order, each answered.
    const auto writes = textsOf(r, kind::kWrite);
    EXPECT_EQ(writes, linesStartingWith(printed, "write "));
    ASSERT_GE(writes.size(), 5u);
    int job = 0;
    for (size_t i = 0; i < r.events.size(); ++i) {
        if (r.events[i].kind != kind::kWrite) continue;
        ++job;
        EXPECT_NE(r.events[i].detail->find("\"job\":" + std::to_string(job)), std::string::npos);
        ASSERT_LT(i + 1, r.events.size());
        EXPECT_EQ(r.events[i + 1].kind, kind::kAnswer);
        EXPECT_EQ(r.events[i + 1].detail, R"({"answer":"OK","job":)" + std::to_string(job) + "}");
    }
    EXPECT_NE(writes[0].find("QUICK_2=\"4\""), std::string::npos) << writes[0];
    EXPECT_NE(std::find(writes.begin(), writes.end(), "write QUICK_2=\"1\""), writes.end());
    EXPECT_NE(std::find(writes.begin(), writes.end(), "write QUICK_2=\"2\""), writes.end());

    // The wizard's states as the console traced them, and the connection statuses.
    std::vector<std::string> states;
    for (const auto& s : textsOf(r, kind::kTeachState)) states.push_back("state " + s.substr(12));
    EXPECT_EQ(states, linesStartingWith(printed, "state "));
    EXPECT_EQ(textsOf(r, kind::kConnection), linesStartingWith(printed, "connection "));
    EXPECT_FALSE(textsOf(r, kind::kStatus).empty());
    EXPECT_EQ(textsOf(r, kind::kNote), std::vector<std::string>{"commissioned by A. Person, flow checked"});
}

TEST(ConsoleRecording, AFileThatCannotBeWrittenIsToldAndTheRunGoesOn) {
    test::TempFolder folder;
    std::filesystem::create_directory(folder.path("taken"));
    std::ostringstream out;
    console::Console console(out, folder.root());
    std::istringstream script(
        "device lang=1033\nrecord taken\ncreate\ninit device\nset-toolbar\nsim flow 300\nwait 3000\n"
        "note still running\nexpect chart PC1 points 3\nrecord run.qxrec\nwait 2000\n");
    testing::internal::CaptureStderr();
    const int status = console.runScript(script);
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, 0) << out.str();
    EXPECT_NE(told.find("line 2: recording " + folder.path("taken")), std::string::npos) << told;
    EXPECT_EQ(out.str().find("recording taken"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("ok chart PC1 points\n"), std::string::npos) << out.str();
    // The journal kept the run for the report, and a later record works.
    EXPECT_EQ(console.recorder().journal().events().back().text, "still running");
    console.recorder().journal().commit();
    EXPECT_EQ(readRecording(folder.path("run.qxrec")).samples.size(), 2u);
}

}  // namespace
}  // namespace qx::record
