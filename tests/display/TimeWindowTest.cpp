// The one-minute time window of the trend charts: when HSMin may move it, a teach start anchoring
// it, dragging on a chart, and clearing the trend.
#include <cmath>
#include <utility>

#include "display/TrendPane.h"
#include "view/ViewChildren.h"
#include "wizard/WizardStand.h"

namespace qx::stand::test {
namespace {

class TimeWindowTest : public LiveViewTest {};

// The X window in whole seconds since the trend start.
std::pair<long, long> window(const ChartObject& chart) {
    const auto& x = chart.chartArea().axis("X");
    return {std::lround(x.min() * 3600), std::lround(x.max() * 3600)};
}

// Scrolling back becomes possible once the window has left the first point behind. A teach
// procedure anchors the window at its start and holds HSMin still until it ends.
TEST_F(TimeWindowTest, HSMinEnablingAndTheTeachAnchor) {
    WizardStand s;
    auto& v = s.v();
    s.poll(61);
    EXPECT_EQ(window(s.flowChart()), std::make_pair(1L, 61L));
    EXPECT_FALSE(childScrollBar(v, "HSMin")->enabled());
    s.poll();
    EXPECT_TRUE(childScrollBar(v, "HSMin")->enabled());
    s.poll(27);
    childButton(v, "ComTeachMaxMin")->click();
    s.poll();
    EXPECT_EQ(window(s.flowChart()), std::make_pair(89L, 149L));
    EXPECT_FALSE(childScrollBar(v, "HSMin")->enabled());
    s.poll(60);
    EXPECT_EQ(window(s.flowChart()), std::make_pair(90L, 150L));
    EXPECT_FALSE(childScrollBar(v, "HSMin")->enabled());
    childButton(v, "ComTeachCancel")->click();
    s.poll();
    EXPECT_TRUE(childScrollBar(v, "HSMin")->enabled());
    EXPECT_EQ(window(s.flowChart()), std::make_pair(91L, 151L));
}

// Starting either teach procedure brings a window that was scrolled back to the newest point,
// anchored at the start; a window scrolled to the very start of the trend can still be moved.
TEST_F(TimeWindowTest, TeachStartReturnsToTheNewestPointAndTheStartStaysMovable) {
    for (const char* start : {"ComTeachMaxMin", "ComteachQuick"}) {
        SCOPED_TRACE(start);
        WizardStand s;
        auto& v = s.v();
        s.poll(90);
        childScrollBar(v, "HSMin")->setValue(0);
        EXPECT_EQ(window(s.flowChart()).first, 0L);
        s.poll();
        EXPECT_TRUE(childScrollBar(v, "HSMin")->enabled());
        EXPECT_EQ(window(s.flowChart()).first, 0L);
        ASSERT_TRUE(s.click(dynamic_cast<platform::CommandButton&>(*v.Controls().item(start))));
        EXPECT_EQ(childScrollBar(v, "HSMin")->value(), 1000);
        s.poll();
        EXPECT_EQ(window(s.flowChart()), std::make_pair(91L, 151L));
    }
}

// Each left-button move takes HSMin by the anchor less half the mouse's x (half to even), the
// charts sharing one anchor; a disabled HSMin or a refused value only ends the drag.
TEST_F(TimeWindowTest, DraggingAndClearing) {
    WizardStand s({}, false);
    auto& v = s.v();
    ViewTestSeam::trend(v).startTrendAt(s.f.scheduler().timeOfDay() -
                                        3600);  // the newest point lies one hour in
    ViewTestSeam::update(v);
    childScrollBar(v, "HSMin")->setEnabled(true);
    childScrollBar(v, "HSMin")->setValue(501);
    // The flow chart's moves come as the console sends them, the temperature chart's through the
    // chart model as a window reports the mouse.
    auto move = [&](int chart, int button, double x) {
        if (chart == 2) return s.tempChart().userMouseMove(button, 0, static_cast<int32_t>(x), 123);
        v.trend().flow.object->raiseEvent({"MouseMove", {button, 0, x, 123.0}});
    };
    move(1, 1, 80);
    move(2, 1, 45);
    EXPECT_EQ(childScrollBar(v, "HSMin")->value(), 518);
    EXPECT_EQ(v.trend().dragAnchor(), 22);
    EXPECT_DOUBLE_EQ(s.flowChart().chartArea().axis("X").min(), (1.0 - 60.0 / 3600) / 1000 * 518);

    childScrollBar(v, "HSMin")->setEnabled(false);
    move(1, 1, 20);
    EXPECT_EQ(v.trend().dragAnchor(), 0);
    EXPECT_EQ(childScrollBar(v, "HSMin")->value(), 518);

    childScrollBar(v, "HSMin")->setEnabled(true);
    childScrollBar(v, "HSMin")->setValue(990);
    move(1, 1, 80);
    move(1, 1, 0);
    EXPECT_EQ(childScrollBar(v, "HSMin")->value(), 990);
    EXPECT_EQ(v.trend().dragAnchor(), 0);

    // An event without the mouse's position ends the handler quietly.
    move(1, 1, 80);
    v.trend().flow.object->raiseEvent({"MouseMove", {1}});
    EXPECT_EQ(v.trend().dragAnchor(), 40);

    // Clearing empties the trend and follows the newest point again, with no window yet.
    childScrollBar(v, "HSMin")->setValue(500);
    auto& trend = ViewTestSeam::trend(v);
    trend.ClearChart(trend.flow);
    EXPECT_EQ(childScrollBar(v, "HSMin")->value(), 1000);
    EXPECT_EQ(window(s.flowChart()), std::make_pair(0L, 0L));
    EXPECT_EQ(s.flowChart().group(1).data().numPoints(), 0);
    EXPECT_EQ(s.flowChart().group(2).data().numPoints(), 0);

    // Once the view has let go of its charts, their mouse no longer reaches it.
    auto temp = v.trend().temp.object;
    ViewTestSeam::trend(v).dropCharts();
    temp->userMouseMove(0, 0, 10, 0);
    EXPECT_EQ(v.trend().dragAnchor(), 40);
}

}  // namespace
}  // namespace qx::stand::test
