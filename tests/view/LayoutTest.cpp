// The screen layout: the room the panes get, which charts the check boxes show at which size,
// the stack of panes below the charts, the setting frames of the teach panel and the place of
// the cancel button. The view is the one the stand-in frame hosts, bound and polling, so the
// teach panel is shown as in use.
#include <gmock/gmock.h>

#include "platform/ChartObject.h"
#include "wizard/TeachStand.h"

namespace qx::teach::test {
namespace {

struct Box {
    int32_t left, top, width, height;
    bool operator==(const Box&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Box& b) {
    return os << b.left << "," << b.top << " " << b.width << "x" << b.height;
}
Box box(const platform::Control& c) {
    return {c.left(), c.top(), c.width(), c.height()};
}
int32_t bottom(const platform::Control& c) {
    return c.top() + c.height();
}

void resize(QX_FlowWiz& v, int32_t width, int32_t height) {
    v.setWidth(width);
    v.setHeight(height);
    v.UserControl_Resize();
}

class Layout : public testing::Test {
  protected:
    TeachStand s{device(1)};
    QX_FlowWiz& v = s.v();
};

// The panes never get less than 12120 x 5400: a small control scrolls rather than squeezes. So
// low a control shows no chart; its check boxes are disabled and cleared.
TEST_F(Layout, SmallControlGetsTheLeastRoomAndNoChart) {
    resize(v, 8000, 3000);
    EXPECT_EQ(box(*v.SF1), (Box{0, 0, 12120, 5400}));
    EXPECT_FALSE(v.CheckFL->enabled());
    EXPECT_FALSE(v.CheckTP->enabled());
    EXPECT_EQ(v.CheckFL->value(), 0);
    EXPECT_EQ(v.CheckTP->value(), 0);
    EXPECT_EQ(box(*v.FrameChart), (Box{0, -210, 11910, 800}));
    EXPECT_FALSE(v.cPC1->visible());
    EXPECT_FALSE(v.cPC2->visible());
    for (platform::Control* c :
         std::initializer_list<platform::Control*>{v.LaUnit1.get(), v.VSMax1.get(), v.VSMin1.get(),
                                                   v.LaUnit2.get(), v.VSMax2.get(), v.VSMin2.get()})
        EXPECT_FALSE(c->visible()) << c->name();
    EXPECT_EQ(v.LaStatus->top(), -210 + 800 + 60);
}

// The full-size view with both charts: the flow chart over the temperature chart, each plot area
// the chart's size in whole pixels, scroll bars beside and under them, and the stack of panes.
TEST_F(Layout, BothChartsShareThePaneAndThePanesStackBelow) {
    resize(v, 12120, 9000);
    EXPECT_EQ(box(*v.SF1), (Box{0, 0, 12120, 9000}));
    const int32_t paneHeight = 9000 - 735 - 1860 - 375 - 60;
    EXPECT_EQ(box(*v.FrameChart), (Box{0, -210, 11910, paneHeight}));
    EXPECT_EQ(box(*v.cPC1), (Box{360, 435, 11640, paneHeight / 2 - 400}));
    EXPECT_GE(v.cPC2->top(), bottom(*v.cPC1));
    EXPECT_EQ(v.cPC2->height(), paneHeight / 2 - 500);
    EXPECT_TRUE(v.cPC1->visible());
    EXPECT_TRUE(v.cPC2->visible());

    // 2585 / 15 = 172.3 and 2485 / 15 = 165.7: whole pixels, rounded.
    EXPECT_EQ(v.mFlowChart->chartArea().location().width(), 776);
    EXPECT_EQ(v.mFlowChart->chartArea().location().height(), 172);
    EXPECT_EQ(v.mTempChart->chartArea().location().height(), 166);

    EXPECT_EQ(v.LaUnit1->top(), v.cPC1->top() + 120);
    EXPECT_EQ(v.VSMax1->top(), v.LaUnit1->top() + 240);
    EXPECT_EQ(v.VSMin1->top(), bottom(*v.cPC1) - 790);
    EXPECT_EQ(v.LaUnit2->top(), v.cPC2->top() + 120);
    EXPECT_EQ(v.VSMax2->top(), v.LaUnit2->top() + 270);
    EXPECT_EQ(v.VSMin2->top(), bottom(*v.cPC2) - 790);
    EXPECT_EQ(v.HSMin->top(), bottom(*v.cPC2) - 60);
    EXPECT_EQ(v.HSMin->width(), v.cPC1->width() - 600);
    EXPECT_EQ(v.CheckFL->top(), 240);
    EXPECT_EQ(v.CheckTP->top(), bottom(*v.cPC1));
    EXPECT_EQ(v.LaTime->left() + v.LaTime->width(), v.FrameChart->width());

    EXPECT_EQ(box(*v.LaStatus), (Box{0, bottom(*v.FrameChart) + 60, 11850, 375}));
    EXPECT_EQ(v.FrameTeachOption->top(), bottom(*v.LaStatus) + 60);
    EXPECT_EQ(v.FrameTeachOption->width(), 11850);
    EXPECT_EQ(box(*v.FrameTeach), (Box{0, bottom(*v.FrameTeachOption) + 60, 11850, 1860}));
    EXPECT_EQ(v.PicTeach->width(), 11850 - 300);
    EXPECT_EQ(v.PicTeach->height(), 1860 - 240);
}

// Between 6000 and 8000 high only the flow chart can be shown, and it takes the whole pane.
TEST_F(Layout, MiddleHeightShowsAtMostTheFlowChart) {
    resize(v, 12120, 7000);
    EXPECT_TRUE(v.CheckFL->enabled());
    EXPECT_FALSE(v.CheckTP->enabled());
    EXPECT_EQ(v.CheckTP->value(), 0);
    const int32_t paneHeight = 7000 - 735 - 1860 - 375 - 60;
    EXPECT_EQ(v.FrameChart->height(), paneHeight);
    EXPECT_TRUE(v.cPC1->visible());
    EXPECT_FALSE(v.cPC2->visible());
    EXPECT_EQ(v.cPC1->height(), paneHeight - 1200);
    EXPECT_EQ(v.HSMin->top(), bottom(*v.cPC1) - 60);
    EXPECT_FALSE(v.VSMax2->visible());

    // Growing again enables the temperature box but does not check it for the user.
    resize(v, 12120, 9000);
    EXPECT_TRUE(v.CheckTP->enabled());
    EXPECT_FALSE(v.cPC2->visible());
}

// The temperature chart alone takes the flow chart's place; checking the flow box again puts
// the flow chart back above it.
TEST_F(Layout, TemperatureChartAloneTakesTheTopAndMovesDownForTheFlowChart) {
    v.CheckFL->setValue(0);  // its click lays out again
    const int32_t paneHeight = v.FrameChart->height();
    EXPECT_FALSE(v.cPC1->visible());
    EXPECT_TRUE(v.cPC2->visible());
    EXPECT_EQ(box(*v.cPC2), (Box{360, 435, 11640, paneHeight - 1200}));
    EXPECT_EQ(v.CheckTP->top(), 540);
    EXPECT_EQ(v.HSMin->top(), bottom(*v.cPC2) - 60);
    EXPECT_FALSE(v.LaUnit1->visible());
    EXPECT_TRUE(v.LaUnit2->visible());

    v.CheckFL->setValue(1);
    EXPECT_TRUE(v.cPC1->visible());
    EXPECT_EQ(box(*v.cPC1), (Box{360, 435, 11640, paneHeight / 2 - 400}));
    EXPECT_GE(v.cPC2->top(), bottom(*v.cPC1));
    EXPECT_EQ(v.cPC2->height(), paneHeight / 2 - 500);
}

// The flow frame keeps its half of the setting area whether it is shown or not, and the
// tolerance frame takes the same width; only the temperature frame widens when the flow frame
// is hidden. Each frame's slider and Set button sit at fixed distances from its edges.
TEST_F(Layout, SettingFramesShareTheRightOfTheTeachPanel) {
    const int32_t settings = v.PicTeach->width() - 4240 - 90;
    ASSERT_TRUE(v.FrameFL->visible());
    EXPECT_EQ(box(*v.FrameFL), (Box{4240, 0, settings / 2, 1500}));
    EXPECT_EQ(box(*v.FrameTP), (Box{4240 + settings / 2 + 90, 0, settings / 2, 1500}));
    EXPECT_EQ(v.FrameQT->width(), settings / 2);
    EXPECT_EQ(v.mSliderFL.control->left(), 120);
    EXPECT_EQ(v.mSliderFL.control->top(), 300);
    EXPECT_EQ(v.mSliderFL.control->width(), settings / 2 - 360);
    EXPECT_EQ(v.mSliderTP.control->width(), settings / 2 - 360);
    EXPECT_EQ(v.ComSetFL->left(), settings / 2 - 1100);
    EXPECT_EQ(v.ComSetFL->top(), 300);
    EXPECT_EQ(v.CoQTOffset->width(), settings / 2 - 1600);
    EXPECT_EQ(v.ComSetQT->left(), settings / 2 - 1100);
}

TEST(LayoutVariants, HiddenFlowFrameKeepsItsWidthAndTheTemperatureFrameWidens) {
    auto options = device(1);
    options.swPoint = Presence::NoValue;
    TeachStand s(options);
    auto& v = s.v();
    resize(v, 12120, 9000);
    const int32_t settings = v.PicTeach->width() - 4240 - 90;
    ASSERT_FALSE(v.FrameFL->visible());
    EXPECT_EQ(v.FrameFL->width(), settings / 2);
    EXPECT_EQ(v.FrameQT->width(), settings / 2);
    EXPECT_EQ(box(*v.FrameTP), (Box{4240, 0, settings, 1500}));
    EXPECT_EQ(v.mSliderTP.control->width(), settings - 360);
    EXPECT_EQ(v.ComSetPara->left(), settings - 1100);
}

// In quick-teach mode the tolerance frame shows beside a widened temperature frame; whatever
// overlaps, the temperature Set button must stay inside the teach panel, or no one can press it.
TEST(LayoutVariants, QuickTeachModeKeepsTheTemperatureSetButtonInsideThePanel) {
    TeachStand s(device(1),
                 [](frame::FlowMonitorSim& sim) { ASSERT_TRUE(sim.set("TEACHDO_QUICK_MODE", "1")); });
    auto& v = s.v();
    resize(v, 12120, 9000);
    ASSERT_TRUE(v.FrameQT->visible());
    ASSERT_FALSE(v.FrameFL->visible());
    const int32_t settings = v.PicTeach->width() - 4240 - 90;
    EXPECT_EQ(v.FrameTP->width(), settings);
    EXPECT_EQ(v.FrameQT->width(), settings / 2);
    EXPECT_LE(v.FrameTP->left() + v.ComSetPara->left() + v.ComSetPara->width(), v.PicTeach->width());
    EXPECT_LE(v.FrameQT->left() + v.ComSetQT->left() + v.ComSetQT->width(), v.PicTeach->width());
}

// The cancel button stands 120 right of the quick-teach start button when that is shown, else
// right of the max/min start button.
TEST(LayoutVariants, CancelButtonFollowsTheVisibleStartButton) {
    {
        TeachStand s(device(1));
        auto& v = s.v();
        resize(v, 12120, 9000);
        ASSERT_TRUE(v.ComteachQuick->visible());
        EXPECT_EQ(v.ComTeachCancel->left(), v.ComteachQuick->left() + v.ComteachQuick->width() + 120);
    }
    {
        auto options = device(1);
        options.quickMode = Presence::Missing;  // no quick teach on this device
        TeachStand s(options);
        auto& v = s.v();
        resize(v, 12120, 9000);
        ASSERT_FALSE(v.ComteachQuick->visible());
        EXPECT_EQ(v.ComTeachCancel->left(), v.ComTeachMaxMin->left() + v.ComTeachMaxMin->width() + 120);
    }
}

// After the frame has released the view its charts are gone, but the container may still resize
// it: every step that needs a chart is skipped and the rest is laid out, including the labels
// and scroll bars whose visibility follows the check boxes alone.
TEST(LayoutVariants, ReleasedViewWithoutChartsIsStillLaidOut) {
    frame::StandFrame f;
    f.setOptions(device(1));
    auto& v = f.create();
    ASSERT_TRUE(v.LaUnit2->visible());
    ASSERT_FALSE(f.release());
    ASSERT_EQ(v.cPC1, nullptr);

    resize(v, 12120, 7000);
    EXPECT_EQ(box(*v.SF1), (Box{0, 0, 12120, 7000}));
    EXPECT_EQ(v.CheckTP->value(), 0);
    EXPECT_TRUE(v.LaUnit1->visible());
    EXPECT_FALSE(v.LaUnit2->visible());
    EXPECT_FALSE(v.VSMin2->visible());
    EXPECT_EQ(v.LaStatus->top(), bottom(*v.FrameChart) + 60);
    EXPECT_EQ(v.FrameTeach->top(), bottom(*v.FrameTeachOption) + 60);
    EXPECT_EQ(v.FrameTP->left(), 4240 + v.FrameFL->width() + 90);
}

}  // namespace
}  // namespace qx::teach::test
