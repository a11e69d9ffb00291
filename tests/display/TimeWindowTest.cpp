// The one-minute time window of the trend charts: following the newest point, anchored at a
// teach start, chosen with HSMin, and moved by dragging on a chart.
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "wizard/LiveViewStand.h"

namespace qx::live::test {
namespace {

class TimeWindowTest : public LiveViewTest {};

constexpr double kMinute = 60.0 / 3600;

// The X window in whole seconds since the trend start.
std::pair<long, long> window(const ChartObject& chart) {
    const auto& x = chart.chartArea().axis("X");
    return {std::lround(x.min() * 3600), std::lround(x.max() * 3600)};
}
std::pair<long, long> seconds(long from, long to) {
    return {from, to};
}

TEST_F(TimeWindowTest, WindowFollowsTheNewestPointAfterTheFirstMinute) {
    Live s;
    auto& v = s.v();
    EXPECT_EQ(window(s.flowChart()), seconds(0, 60));
    s.poll(60);
    EXPECT_EQ(pointText(s.flowChart(), 1, 61).substr(0, 3), "60:");
    EXPECT_EQ(window(s.flowChart()), seconds(0, 60));
    s.poll();
    EXPECT_EQ(window(s.flowChart()), seconds(1, 61));
    EXPECT_EQ(window(s.tempChart()), seconds(1, 61));
    // Scrolling back becomes possible once the window has left the first point behind.
    EXPECT_FALSE(v.HSMin->enabled());
    s.poll();
    EXPECT_TRUE(v.HSMin->enabled());
    s.poll(58);
    EXPECT_EQ(window(s.flowChart()), seconds(60, 120));
}

// A teach procedure anchors the window at its start and holds HSMin still until it ends.
TEST_F(TimeWindowTest, ATeachStartAnchorsTheWindow) {
    Live s;
    auto& v = s.v();
    s.poll(89);
    v.ComTeachMaxMin->click();
    s.poll();
    EXPECT_EQ(window(s.flowChart()), seconds(89, 149));
    EXPECT_FALSE(v.HSMin->enabled());
    s.poll(60);
    EXPECT_EQ(window(s.flowChart()), seconds(90, 150));
    EXPECT_FALSE(v.HSMin->enabled());
    v.ComTeachCancel->click();
    s.poll();
    EXPECT_TRUE(v.HSMin->enabled());
    EXPECT_EQ(window(s.flowChart()), seconds(91, 151));
}

TEST_F(TimeWindowTest, HSMinChoosesAMinuteOfTheWholeTrend) {
    Live s({}, false);
    auto& v = s.v();
    v.mTrendStart = s.f.scheduler().timeOfDay() - 3600;  // the newest point lies one hour in
    v.UpdateView();
    v.HSMin->setEnabled(true);
    v.HSMin->setValue(500);
    const double start = (1.0 - kMinute) / 2;
    for (ChartObject* chart : {&s.flowChart(), &s.tempChart()}) {
        EXPECT_DOUBLE_EQ(chart->chartArea().axis("X").min(), start);
        EXPECT_DOUBLE_EQ(chart->chartArea().axis("X").max(), start + kMinute);
    }
    v.HSMin->setValue(0);
    EXPECT_EQ(window(s.tempChart()), seconds(0, 60));
    // New points leave a chosen window alone.
    s.f.wait(5000);
    v.UpdateView();
    EXPECT_EQ(window(s.flowChart()), seconds(0, 60));
    v.HSMin->setValue(1000);
    EXPECT_EQ(window(s.flowChart()), seconds(3545, 3605));

    // Clearing empties the trend and follows the newest point again, with no window yet.
    v.HSMin->setValue(500);
    v.ClearChart(v.mFlowChart, -1);
    EXPECT_EQ(v.HSMin->value(), 1000);
    EXPECT_EQ(window(s.flowChart()), seconds(0, 0));
    EXPECT_EQ(s.flowChart().group(1).data().numPoints(), 0);
    EXPECT_EQ(s.flowChart().group(2).data().numPoints(), 0);
}

// Dragging: each move with the left button takes HSMin by the anchor less half the mouse's x,
// then takes the new anchor. Both charts share one anchor.
TEST_F(TimeWindowTest, DraggingMovesHSMin) {
    Live s({}, false);
    auto& v = s.v();
    v.mTrendStart = s.f.scheduler().timeOfDay() - 3600;
    v.UpdateView();
    v.HSMin->setEnabled(true);
    v.HSMin->setValue(501);
    auto move = [&](int chart, int button, double x, const char* name = "MouseMove") {
        const view::ObjectEventInfo info{name, {button, 0, x, 123.0}};
        chart == 1 ? v.cPC1_ObjectEvent(info) : v.cPC2_ObjectEvent(info);
    };

    move(1, 1, 80);
    EXPECT_EQ(v.HSMin->value(), 501);  // the first move only takes the anchor
    EXPECT_EQ(v.mDragAnchor, 40);
    move(2, 1, 45);
    EXPECT_EQ(v.HSMin->value(), 518);  // 501 + 40 - 22.5, half to even
    EXPECT_EQ(v.mDragAnchor, 22);
    EXPECT_DOUBLE_EQ(s.flowChart().chartArea().axis("X").min(), (1.0 - kMinute) / 1000 * 518);

    move(1, 1, 0, "MouseDown");
    EXPECT_EQ(v.mDragAnchor, 22);
    move(1, 2, 10);  // another button ends the drag
    EXPECT_EQ(v.mDragAnchor, 0);
    EXPECT_EQ(v.HSMin->value(), 518);

    // While HSMin is disabled (a teach procedure runs) a move only ends the drag.
    move(1, 1, 80);
    v.HSMin->setEnabled(false);
    move(1, 1, 20);
    EXPECT_EQ(v.mDragAnchor, 0);
    EXPECT_EQ(v.HSMin->value(), 518);

    // A value HSMin refuses leaves it where it was.
    v.HSMin->setEnabled(true);
    v.HSMin->setValue(990);
    move(1, 1, 80);
    move(1, 1, 0);
    EXPECT_EQ(v.HSMin->value(), 990);
    EXPECT_EQ(v.mDragAnchor, 0);

    // An event without the mouse's position ends the handler quietly.
    move(1, 1, 80);
    v.cPC1_ObjectEvent({"MouseMove", {1}});
    EXPECT_EQ(v.mDragAnchor, 40);
}

}  // namespace
}  // namespace qx::live::test
