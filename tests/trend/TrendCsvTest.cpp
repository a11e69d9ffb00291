// The trend as CSV, line for line: built and checked without any toolkit, as the console
// writes it.
#include "trend/TrendCsv.h"

#include <optional>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "trend/ChartPoints.h"

namespace qx::trend {
namespace {

using test::addPoint;
using test::kTenOClock;

// Both charts hold the same points, a break among them, and the temperature chart one more.
TEST(TrendCsvTest, RowsHeaderAndComment) {
    platform::ChartObject flow, temp;
    for (auto* c : {&flow, &temp}) c->chartArea().axis("X").timeScale().setBase(kTenOClock);
    const struct {
        int seconds;
        std::optional<int16_t> flow, temp;
    } rows[] = {{0, 10, 22}, {1, -11, 23}, {1, {}, {}}, {5, {}, {}}, {5, 12, {}}};
    for (const auto& r : rows) {
        addPoint(flow, r.seconds, r.flow);
        addPoint(temp, r.seconds, r.temp);
    }
    addPoint(temp, 86400 - 36000 + 3, 24);  // past midnight the clock starts again
    std::ostringstream out;
    writeTrendCsv(out, {flow, temp, "FM1\nspare", {"Flow, raw", "Bit"}, {"PROINTEMP", "°C"}});
    EXPECT_EQ(out.str(),
              "# FM1 spare, trend start 10:00:00\n"
              "time,\"Flow, raw [Bit]\",PROINTEMP [°C]\n"
              "10:00:00,10,22\n"
              "10:00:01,-11,23\n"
              "10:00:01,,\n"
              "10:00:05,,\n"
              "10:00:05,12,\n"
              "00:00:03,,24\n");

    // On the real date the comment tells the day the trend started.
    std::ostringstream dated;
    writeTrendCsv(dated, {flow, temp, "FM1", {"F", ""}, {"T", ""}, "2026-12-06"});
    EXPECT_EQ(dated.str().substr(0, dated.str().find('\n') + 1), "# FM1, trend start 2026-12-06 10:00:00\n");

    EXPECT_THROW(exportTrendCsv("/nonexistent-folder/trend.csv", {flow, temp, "FM1", {"F", ""}, {"T", ""}}),
                 std::runtime_error);
}

}  // namespace
}  // namespace qx::trend
