// The screen layout: where the charts, their scroll bars and units go for each choice of the
// check boxes, and the stack of panes below the charts. The pane heights, the chart sizes and the
// setting frames are pinned by the console scenarios.
#include "platform/ChartObject.h"
#include "view/ViewChildren.h"
#include "view/ViewStand.h"

namespace qx::view::test {
namespace {

int32_t bottom(const platform::Control& c) {
    return c.top() + c.height();
}

// The full-size view with both charts: each plot area the chart's size in whole pixels, the
// scroll bars beside and under the charts, the legend rows, and the stack of panes.
TEST(Layout, BothChartsWithTheirBarsAndThePanesBelow) {
    frame::StandFrame f;
    auto& v = f.create();
    // 2585 / 15 = 172.3 and 2485 / 15 = 165.7: whole pixels, rounded.
    EXPECT_EQ(v.trend().flow.object->chartArea().location().width(), (11910 - 270) / 15);
    EXPECT_EQ(v.trend().flow.object->chartArea().location().height(), 172);
    EXPECT_EQ(v.trend().temp.object->chartArea().location().height(), 166);
    EXPECT_EQ(childMyLabel(v, "LaUnit1")->top(), v.trend().flow.control->top() + 120);
    EXPECT_EQ(childScrollBar(v, "VSMax1")->top(), childMyLabel(v, "LaUnit1")->top() + 240);
    EXPECT_EQ(childScrollBar(v, "VSMin1")->top(), bottom(*v.trend().flow.control) - 790);
    EXPECT_EQ(childMyLabel(v, "LaUnit2")->top(), v.trend().temp.control->top() + 120);
    EXPECT_EQ(childScrollBar(v, "VSMax2")->top(), childMyLabel(v, "LaUnit2")->top() + 270);
    EXPECT_EQ(childScrollBar(v, "VSMin2")->top(), bottom(*v.trend().temp.control) - 790);
    EXPECT_EQ(childScrollBar(v, "HSMin")->top(), bottom(*v.trend().temp.control) - 60);
    EXPECT_EQ(childScrollBar(v, "HSMin")->width(), v.trend().flow.control->width() - 600);
    EXPECT_EQ(childCheckBox(v, "CheckFL")->top(), 240);
    EXPECT_EQ(childMyLabel(v, "LaFS")->left(),
              childMyLabel(v, "LaLeFS")->left() + childMyLabel(v, "LaLeFS")->width() + 60);
    EXPECT_EQ(childCheckBox(v, "CheckTP")->top(), bottom(*v.trend().flow.control));
    EXPECT_EQ(childMyLabel(v, "LaTS")->left(),
              childMyLabel(v, "LaLeTS")->left() + childMyLabel(v, "LaLeTS")->width() + 60);
    EXPECT_EQ(childMyLabel(v, "LaTime")->left() + childMyLabel(v, "LaTime")->width(),
              childFrame(v, "FrameChart")->width());
    EXPECT_EQ(childLabel(v, "LaStatus")->top(), bottom(*childFrame(v, "FrameChart")) + 60);
    EXPECT_EQ(childFrame(v, "FrameTeachOption")->top(), bottom(*childLabel(v, "LaStatus")) + 60);
    EXPECT_EQ(childFrame(v, "FrameTeach")->top(), bottom(*childFrame(v, "FrameTeachOption")) + 60);
    EXPECT_EQ(childFrame(v, "FrameTeach")->width(), 12120 - 270);
    EXPECT_EQ(childPicture(v, "PicTeach")->width(), 11850 - 300);
    EXPECT_EQ(childPicture(v, "PicTeach")->height(), 1860 - 240);
}

// Each chart's unit and Y bars show with its check box; the time bar lies under the lowest chart
// shown; the temperature row moves up when the flow chart is hidden.
TEST(Layout, EachChartBringsItsBarsAndTheTimeBarFollowsTheLowest) {
    frame::StandFrame f;
    auto& v = f.create();
    childCheckBox(v, "CheckFL")->setValue(0);  // its click lays out again
    EXPECT_EQ(childCheckBox(v, "CheckTP")->top(), 540);
    EXPECT_EQ(childScrollBar(v, "HSMin")->top(), bottom(*v.trend().temp.control) - 60);
    EXPECT_FALSE(childMyLabel(v, "LaUnit1")->visible() || childScrollBar(v, "VSMax1")->visible() ||
                 childScrollBar(v, "VSMin1")->visible());
    EXPECT_TRUE(childMyLabel(v, "LaUnit2")->visible());

    childCheckBox(v, "CheckFL")->setValue(1);
    v.setHeight(7000);  // too low for the temperature chart
    v.UserControl_Resize();
    EXPECT_EQ(childScrollBar(v, "HSMin")->top(), bottom(*v.trend().flow.control) - 60);
    EXPECT_TRUE(childScrollBar(v, "VSMin1")->visible());
    EXPECT_FALSE(childMyLabel(v, "LaUnit2")->visible() || childScrollBar(v, "VSMax2")->visible());
}

// The flow chart needs a control higher than 6000, the temperature chart one higher than 8000;
// at the threshold itself the check box is off, cleared and its chart hidden.
TEST(Layout, ChartCheckBoxesNeedMoreThanTheirThresholdHeight) {
    struct Case {
        int32_t height;
        bool flow, temperature;
    };
    frame::StandFrame f;
    auto& v = f.create();
    for (const Case& c : {Case{8001, true, true}, Case{8000, true, false}, Case{6001, true, false},
                          Case{6000, false, false}, Case{8001, true, true}}) {
        SCOPED_TRACE(c.height);
        v.setHeight(c.height);
        v.UserControl_Resize();
        childCheckBox(v, "CheckFL")->setValue(1);  // a click lays out again
        childCheckBox(v, "CheckTP")->setValue(1);
        EXPECT_EQ(childCheckBox(v, "CheckFL")->enabled(), c.flow);
        EXPECT_EQ(childCheckBox(v, "CheckFL")->value() == 1, c.flow);
        EXPECT_EQ(v.trend().flow.control->visible(), c.flow);
        EXPECT_EQ(childCheckBox(v, "CheckTP")->enabled(), c.temperature);
        EXPECT_EQ(v.trend().temp.control->visible(), c.temperature);
    }
}

}  // namespace
}  // namespace qx::view::test
