// The trend charts as the view builds them: their creation, the points each update adds (with
// holes where a line has nothing to show), the break a lost connection leaves, and the
// time-of-day limits of a trend.
#include <string>
#include <vector>

#include "display/TrendPane.h"
#include "frame/ParameterSlider.h"
#include "platform/Registry.h"
#include "view/ViewChildren.h"
#include "wizard/WizardStand.h"

namespace qx::stand::test {
namespace {

using Points = std::vector<std::string>;

class TrendChartPointsTest : public LiveViewTest {};

// A chart component that hands out something else: the chart is not made, and creation stops
// there, logged from the inside out.
TEST_F(TrendChartPointsTest, AChartThatCannotBeMadeStopsCreation) {
    inFreshThread([&] {
        frame::StandFrame f;
        f.factories().add(platform::kChartProgId, [] { return std::make_shared<frame::ParameterSlider>(); });
        auto& v = f.create();
        EXPECT_FALSE(v.trend().flow.object);
    });
    EXPECT_EQ(loggedWith("CreateChart()Error:The control PC1 holds no chart, Line:").size(), 1U);
    EXPECT_EQ(loggedWith("InitChart()Error:Object variable or With block variable not set").size(), 1U);
}

// Each update adds one point to each chart; a line with nothing to show leaves a hole, and the
// limits group keeps in step with the value group even where it holds nothing.
TEST_F(TrendChartPointsTest, PointsCarryOnlyTheLinesInUse) {
    struct Case {
        const char* label;
        int mode;
        Presence swPoint;
        Points flow1, flow2, temp1, temp2;
    };
    const std::vector<Case> cases = {
        {"max/min", 2, Presence::Valid, {"0:333/450/800/100"}, {"0:800/100"}, {"0:22/60/-/-"}, {"0:0/-"}},
        {"quick teach", 1, Presence::Valid, {"0:333/450/-/-"}, {"-:-/-"}, {"0:22/60/-/-"}, {"0:0/-"}},
        {"no sw point", 2, Presence::NoValue, {"0:333/-/800/100"}, {"0:800/100"}, {"0:22/60/-/-"}, {"0:0/-"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        DeviceOptions o;
        o.swPoint = c.swPoint;
        WizardStand s(o, false);
        auto& v = s.v();
        WizardStand::put(v.refs().TEACHDO_QUICK_MODE, std::to_string(c.mode));
        WizardStand::put(v.refs().PROINFLOW_RAW, "333");
        const auto refreshes = s.flowChart().refreshCount();
        ViewTestSeam::update(v);
        EXPECT_EQ(points(s.flowChart(), 1), c.flow1);
        EXPECT_EQ(points(s.flowChart(), 2), c.flow2);
        EXPECT_EQ(points(s.tempChart(), 1), c.temp1);
        EXPECT_EQ(points(s.tempChart(), 2), c.temp2);
        EXPECT_EQ(s.flowChart().refreshCount(), refreshes + 1);
        EXPECT_EQ(s.flowChart().group(1).style(2).symbolShape(), platform::SymbolShape::Dot);
    }

    // One value of the pair, the other 0: group 2 gets that value alone and group 1 no limit lines.
    WizardStand s({}, false);
    auto& v = s.v();
    ViewTestSeam::trend(v).startTrendAt(s.f.scheduler().timeOfDay());
    ViewTestSeam::trend(v).addChartPoint(ViewTestSeam::trend(v).flow, 5, 999, 40, 0);
    EXPECT_EQ(points(s.flowChart(), 1), Points{"0:5/-/-/-"});
    EXPECT_EQ(points(s.flowChart(), 2), Points{"0:40/-"});
}

// A lost connection leaves a gap: the first update after reconnecting adds two points without
// values, at the last point's time and at its own, before its real point.
TEST_F(TrendChartPointsTest, ALostConnectionBreaksEveryLine) {
    WizardStand s;
    s.poll(2);
    s.f.link().abort();
    s.poll();
    EXPECT_EQ(s.flowChart().group(1).data().numPoints(), 3);
    ASSERT_TRUE(s.f.press("Poll"));
    s.f.wait(100);
    EXPECT_EQ(points(s.flowChart(), 1), (Points{"0:0/450/800/100", "1:0/450/800/100", "2:0/450/800/100",
                                                "2:-/-/-/-", "3:-/-/-/-", "3:0/450/800/100"}));
    EXPECT_EQ(points(s.flowChart(), 2),
              (Points{"0:800/100", "1:800/100", "2:800/100", "2:-/-", "3:-/-", "3:800/100"}));
    EXPECT_EQ(points(s.tempChart(), 1),
              (Points{"0:22/60/-/-", "1:22/60/-/-", "2:22/60/-/-", "2:-/-/-/-", "3:-/-/-/-", "3:22/60/-/-"}));
    EXPECT_FALSE(s.v().trend().chartBreakPending());

    // A break on an empty chart changes nothing; in quick-teach mode group 2 copies its hole.
    WizardStand q({}, false);
    auto& v = q.v();
    ViewTestSeam::trend(v).startTrendAt(q.f.scheduler().timeOfDay());
    ViewTestSeam::trend(v).MarkChartBreak(ViewTestSeam::trend(v).flow);
    EXPECT_EQ(q.flowChart().group(1).data().numPoints(), 0);
    EXPECT_EQ(q.flowChart().group(2).data().numPoints(), 0);
    ViewTestSeam::trend(v).addChartPoint(ViewTestSeam::trend(v).flow, 7, 999, 999, 999);
    ViewTestSeam::trend(v).MarkChartBreak(ViewTestSeam::trend(v).flow);
    EXPECT_EQ(points(q.flowChart(), 2), (Points{"-:-/-", "-:-/-", "0:-/-"}));
}

// Seconds since the trend start are counted in 16 bits: a trend polled every 30 s takes its last
// point at 32760 s; from 32767 s on no point is added until the trend restarts.
TEST_F(TrendChartPointsTest, ATrendEndsAfter32767Seconds) {
    platform::registryStore().setDword("SOFTWARE\\Orvex\\DTM", "PollCycle", 30000);
    WizardStand s;
    auto& v = s.v();
    s.f.wait(32'770'000);
    const auto& data = s.flowChart().group(1).data();
    EXPECT_EQ(data.numPoints(), 1093);
    EXPECT_EQ(pointText(s.flowChart(), 1, 1093), "32760:0/450/800/100");
    s.f.wait(120'000);
    EXPECT_EQ(data.numPoints(), 1093);
    EXPECT_EQ(s.tempChart().group(1).data().numPoints(), 1093);
    EXPECT_EQ(childMyLabel(v, "LaFS")->caption(), "0 Bit");  // the rest of the update goes on
    s.f.sim().setFlow(40);
    s.f.wait(30'000);
    EXPECT_EQ(childMyLabel(v, "LaFS")->caption(), "40 Bit");

    ViewTestSeam::trend(v).restartAtNextUpdate();
    s.f.wait(30'000);
    EXPECT_EQ(points(s.flowChart(), 1), Points{"0:40/450/800/100"});
}

// Across midnight the seconds since the trend start turn negative: a trend started in the
// evening stops at midnight, one that started early enough goes on before its start.
TEST_F(TrendChartPointsTest, ATrendAcrossMidnight) {
    WizardStand s({}, true, (23 * 3600 + 59 * 60 + 50) * 1000LL);
    auto& v = s.v();
    s.poll(9);
    EXPECT_EQ(s.flowChart().group(1).data().numPoints(), 10);
    s.poll(5);
    EXPECT_EQ(s.flowChart().group(1).data().numPoints(), 10);  // 86390 s before midnight: too many

    ViewTestSeam::trend(v).startTrendAt(9 * 3600);  // as if the trend had started at 09:00
    s.poll();
    EXPECT_EQ(s.flowChart().group(1).data().numPoints(), 11);
    const int32_t now = s.f.scheduler().timeOfDay();
    ASSERT_LT(now, 60);
    EXPECT_EQ(pointText(s.flowChart(), 1, 11), std::to_string(now - 9 * 3600) + ":0/450/800/100");
}

}  // namespace
}  // namespace qx::stand::test
