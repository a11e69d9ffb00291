// What the commissioning report says, before it is drawn: the settings as the device holds them
// after a teach-in, in the model's language from the resource file; the stretch of trend around
// the last teach-in; its statistics over samples with holes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "record/RecordingFile.h"
#include "record/ReportContent.h"
#include "record/TempFolder.h"
#include "script/Console.h"

namespace qx::record {
namespace {

std::string valueOf(const std::vector<ReportLine>& lines, const std::string& label) {
    for (const auto& l : lines)
        if (l.label == label) return l.value + (l.unit.empty() ? "" : " " + l.unit);
    return "(no " + label + ")";
}

ReportContent teachAndGather(int32_t language, console::Console& console, std::ostringstream& out) {
    std::istringstream script(
        "device fw=1 category=match lang=" + std::to_string(language) +
        "\ncreate\ninit device\nregister-callback\nset-toolbar\nsim flow 300\n"
        "sim temp 24\nwait 3000\nclick ComTeachMaxMin\nwait 1000\nsim flow 780\nwait 4000\n"
        "click ComTMax\nwait 1000\nsim flow 240\nwait 4000\nclick ComTMin\nwait 4000\n"
        "note flow checked\nwait 1000\n");
    EXPECT_EQ(console.runScript(script), 0) << out.str();
    return gatherReport(console.frame(), console.recorder().journal(), console.recorder().nowMs());
}

TEST(ReportContent, TellsTheSettingsAsTheDeviceHoldsThemInTheModelsLanguage) {
    for (const int32_t language : {1033, 1031}) {
        SCOPED_TRACE(language);
        test::TempFolder folder;
        std::ostringstream out;
        console::Console console(out, folder.root());
        const ReportContent c = teachAndGather(language, console, out);
        auto& sim = console.frame().sim();
        const bool de = language == 1031;
        EXPECT_EQ(c.text("IDS_REP_TITLE"), de ? "Inbetriebnahmeprotokoll" : "Commissioning report");
        EXPECT_EQ(valueOf(c.identity, c.text("IDS_REP_DEVICE_NAME")), "FM1");
        EXPECT_EQ(valueOf(c.settings, c.text("IDS_REP_TEACH_MODE")), de ? "Max/Min-Teach" : "max/min teach");
        EXPECT_EQ(valueOf(c.settings, de ? "Geteachtes Maximum" : "Taught maximum"),
                  sim.value("TEACH_MAX_SAVE").value_or("?") + " Bit");
        EXPECT_EQ(valueOf(c.settings, c.text("IDS_REP_TAUGHT_MIN")),
                  sim.value("TEACH_MIN_SAVE").value_or("?") + " Bit");
        EXPECT_EQ(valueOf(c.settings, c.text("IDS_REP_FLOW_SP")),
                  sim.value("FLOWSP_RAW").value_or("?") + " Bit");
        EXPECT_EQ(valueOf(c.settings, c.text("IDS_REP_FLOW_SP_SHARE")),
                  sim.value("TEACHDO_SWPOINT").value_or("?") + " %");
        EXPECT_EQ(valueOf(c.settings, c.text("IDS_REP_TEMP_SP")), sim.value("SWPOINT").value_or("?") + " °C");
        EXPECT_EQ(sim.value("TEACH_MAX_SAVE").value_or("?"), "780");
        EXPECT_EQ(sim.value("FLOWSP_RAW").value_or("?"), "510");

        ASSERT_FALSE(c.teachEvents.empty());
        EXPECT_EQ(c.teachEvents.front().text, "write QUICK_2=\"4\"");
        ASSERT_EQ(c.notes.size(), 1u);
        EXPECT_EQ(c.notes[0].text, "flow checked");
        EXPECT_TRUE(c.aroundTeach);
        EXPECT_FALSE(c.stretch.empty());
        EXPECT_EQ(c.flow.max, 780);
        EXPECT_EQ(c.flowUnit, "Bit");
        // Every parameter of the description, once each.
        EXPECT_GT(c.parameters.size(), 10u);
        EXPECT_EQ(std::count_if(c.parameters.begin(), c.parameters.end(),
                                [](const ReportLine& l) {
                                    return l.label.find("TEACH_MAX_SAVE") != std::string::npos;
                                }),
                  1);
    }
}

TEST(ReportContent, StatisticsSkipHolesAndAgreeWithAPlainSum) {
    std::vector<Sample> samples;
    double sum = 0, lo = 1e9, hi = -1e9;
    size_t count = 0;
    for (int i = 0; i < 1000; ++i) {
        Sample s{i * 10, std::nullopt, 20.0 + i % 7, {}, {}, {}, {}};
        if (i % 13 != 0) {
            s.flow = std::sin(i) * 400;
            sum += *s.flow;
            lo = std::min(lo, *s.flow);
            hi = std::max(hi, *s.flow);
            ++count;
        }
        if (i % 97 == 0) s.temperature.reset();  // a hole where neither is there
        samples.push_back(s);
    }
    const auto f = flowStatistics(samples);
    EXPECT_EQ(f.count, count);
    EXPECT_DOUBLE_EQ(f.min, lo);
    EXPECT_DOUBLE_EQ(f.max, hi);
    EXPECT_NEAR(f.mean, sum / static_cast<double>(count), 1e-9);
    EXPECT_EQ(temperatureStatistics(samples).count, 1000u - 11u);
    EXPECT_EQ(flowStatistics({}).count, 0u);
}

TEST(ReportContent, TheStretchLiesAroundTheLastTeachCodeElseItIsTheLastTenMinutes) {
    RunJournal journal;
    const int64_t minute = 60'000;
    for (int64_t t = 0; t <= 60 * minute; t += 1000) journal.addSample({t, 1, 2, {}, {}, {}, {}});
    bool around = true;
    auto stretch = reportStretch(journal, 60 * minute, around);
    EXPECT_FALSE(around);
    EXPECT_EQ(stretch.front().tMs, 50 * minute);
    EXPECT_EQ(stretch.back().tMs, 60 * minute);

    journal.addEvent({20 * minute, kind::kWrite, "write QUICK_2=\"1\"",
                      R"({"job":1,"params":[{"name":"QUICK_2","value":"1"}]})"});
    journal.addEvent({30 * minute, kind::kWrite, "write QUICK_2=\"2\"",
                      R"({"job":2,"params":[{"name":"QUICK_2","value":"2"}]})"});
    // Neither a mode chosen with other values, nor the reset after a teach, is a teach-in.
    journal.addEvent({40 * minute, kind::kWrite, "",
                      R"({"job":3,"params":[{"name":"QUICK_2","value":"1"},)"
                      R"({"name":"FLOWSP_RAW","value":"400"}]})"});
    journal.addEvent(
        {41 * minute, kind::kWrite, "", R"({"job":4,"params":[{"name":"QUICK_2","value":"0"}]})"});
    stretch = reportStretch(journal, 60 * minute, around);
    EXPECT_TRUE(around);
    EXPECT_EQ(stretch.front().tMs, 25 * minute);
    EXPECT_EQ(stretch.back().tMs, 35 * minute);
}

}  // namespace
}  // namespace qx::record
