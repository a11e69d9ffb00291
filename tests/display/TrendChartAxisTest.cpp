// The value axes of the trend charts: the outward rounding of the running ranges, the limits each
// update sets from them and the scroll-bar offsets, and the bounds the four scroll bars keep.
#include <string>
#include <utility>
#include <vector>

#include "display/AxisRounding.h"
#include "view/ViewChildren.h"
#include "wizard/WizardStand.h"

namespace qx::stand::test {
namespace {

using display::RoundAxisDown;
using display::RoundAxisUp;

class TrendChartAxisTest : public LiveViewTest {};

std::pair<double, double> limits(const ChartObject& chart, const char* axis) {
    const auto& a = chart.chartArea().axis(axis);
    return {a.min(), a.max()};
}

TEST_F(TrendChartAxisTest, RoundingKeepsTheLimitAtLeastHalfAStepOutside) {
    struct Case {
        int16_t v, s, down, up;
    };
    // Half a step is compared as a real number: from 8 by step 3, 2 lies more than 1.5 away.
    const std::vector<Case> cases = {{95, 10, 80, 100}, {96, 10, 90, 110}, {0, 10, -10, 10},
                                     {5, 10, -10, 10},  {6, 10, 0, 20},    {1000, 10, 990, 1010},
                                     {-7, 10, -20, 0},  {-14, 10, -20, 0}, {-15, 10, -30, -10},
                                     {8, 3, 6, 12},     {7, 3, 3, 9}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.v) + " step " + std::to_string(c.s));
        EXPECT_EQ(RoundAxisDown(c.v, c.s), c.down);
        EXPECT_EQ(RoundAxisUp(c.v, c.s), c.up);
    }
}

TEST_F(TrendChartAxisTest, RoundingFailsOutside16BitsAndOnAZeroStep) {
    auto number = [](auto&& f) {
        try {
            f();
        } catch (const platform::RuntimeError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(number([] { RoundAxisDown(-32768, 10); }), platform::kOverflow);
    EXPECT_EQ(number([] { RoundAxisUp(32767, 10); }), platform::kOverflow);
    EXPECT_EQ(number([] { RoundAxisUp(32000, 10); }), 0);
    EXPECT_EQ(number([] { RoundAxisUp(-100, 20000); }), platform::kOverflow);  // 2 steps, in 16 bits
    EXPECT_EQ(number([] { RoundAxisDown(5, 0); }), platform::kDivisionByZero);
}

// The running ranges only ever widen; the flow axis stops at 0, the temperature axis does not.
TEST_F(TrendChartAxisTest, RunningRangesSetTheAxisLimits) {
    WizardStand s;
    auto& v = s.v();
    // Flow 0, switch point 450, taught 100..800; temperature 22 with its switch point 60.
    EXPECT_EQ(limits(s.flowChart(), "Y"), std::make_pair(0.0, 810.0));
    EXPECT_EQ(limits(s.flowChart(), "Y2"), std::make_pair(0.0, 810.0));
    EXPECT_EQ(limits(s.tempChart(), "Y"), std::make_pair(10.0, 70.0));

    s.f.sim().setFlow(950);
    s.f.sim().setTemperature(-5);
    s.poll();
    s.f.sim().setFlow(300);
    s.f.sim().setTemperature(30);
    s.poll();
    EXPECT_EQ(limits(s.flowChart(), "Y"), std::make_pair(0.0, 960.0));
    EXPECT_EQ(limits(s.tempChart(), "Y"), std::make_pair(-20.0, 70.0));

    // The scroll bars shift the limits from the next update on.
    childScrollBar(v, "VSMax1")->setValue(20);
    childScrollBar(v, "VSMin1")->setValue(30);
    childScrollBar(v, "VSMin2")->setValue(-40);
    EXPECT_EQ(limits(s.flowChart(), "Y"), std::make_pair(0.0, 960.0));
    s.poll();
    EXPECT_EQ(limits(s.flowChart(), "Y"), std::make_pair(20.0, 980.0));
    EXPECT_EQ(limits(s.flowChart(), "Y2"), std::make_pair(20.0, 980.0));
    EXPECT_EQ(limits(s.tempChart(), "Y"), std::make_pair(-60.0, 70.0));
}

// Each bar keeps its chart's axis within the outer bounds (flow 0..1050, temperature -60..210)
// and its limit one step away from the other; a value beyond is set back as it is chosen.
TEST_F(TrendChartAxisTest, ScrollBarsKeepTheirBounds) {
    struct Case {
        const char* bar;
        int32_t chosen, kept;
    };
    // Flow range 0..800 on an axis 0..810; temperature 22..60 on an axis 10..70.
    const std::vector<Case> cases = {
        {"VSMax1", 300, 240},  {"VSMax1", 240, 240},  {"VSMax1", -900, -800}, {"VSMax1", -800, -800},
        {"VSMin1", -5, 10},    {"VSMin1", 900, 810},  {"VSMin1", 810, 810},   {"VSMax2", 200, 140},
        {"VSMax2", -100, -50}, {"VSMin2", -100, -70}, {"VSMin2", 100, 50},    {"VSMin2", -70, -70},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.bar) + " " + std::to_string(c.chosen));
        WizardStand s({}, false);
        auto& v = s.v();
        ViewTestSeam::update(v);
        auto bar = std::dynamic_pointer_cast<platform::ScrollBar>(v.Controls().item(c.bar));
        bar->setValue(c.chosen);
        EXPECT_EQ(bar->value(), c.kept);
    }
}

}  // namespace
}  // namespace qx::stand::test
