// The values set by hand in the teach panel (flow switch point, temperature switch point,
// quick-teach tolerance), each written as one job, and the locks on their inputs.
#include <gmock/gmock.h>

#include "frame/ParameterSlider.h"
#include "wizard/TeachStand.h"

namespace qx::teach::test {
namespace {

using testing::ElementsAreArray;

frame::ParameterSlider& slider(const view::SliderRef& ref) {
    return dynamic_cast<frame::ParameterSlider&>(*ref.object);
}
uint32_t signalColour(const view::SliderRef& ref) {
    return static_cast<uint32_t>(ref.control->getProperty("SignalColor").toInt32());
}

struct FlowPointCase {
    double slid;
    const char* written;
};

class FlowSwitchPoint : public testing::TestWithParam<FlowPointCase> {};

// The device takes no switch point below 1 %: 0 goes out as "1"; from 1 on the slider's value
// goes out unchanged. The slider then shows what the model took, and the answer is the setting's.
TEST_P(FlowSwitchPoint, IsWrittenFromTheSliderWithOneAsItsLeast) {
    TeachStand s(device(1));
    ASSERT_TRUE(slider(s.v().mSliderFL).slide(GetParam().slid));
    s.writes.clear();
    ASSERT_TRUE(s.click(*s.v().ComSetFL));
    EXPECT_EQ(slider(s.v().mSliderFL).value(), std::stod(GetParam().written));
    EXPECT_FALSE(s.v().mSettingJobId.empty());
    s.wait(kPollMs);
    EXPECT_THAT(s.writes, ElementsAreArray({std::string("TEACHDO_SWPOINT=\"") + GetParam().written + "\""}));
    EXPECT_EQ(s.f.sim().value("TEACHDO_SWPOINT"), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, FlowSwitchPoint,
                         testing::Values(FlowPointCase{0, "1"}, FlowPointCase{1, "1"},
                                         FlowPointCase{37, "37"},
                                         // a fraction the model refuses: its own value goes out
                                         FlowPointCase{37.5, "50"}));

class ManualSettings : public testing::Test {};

// The answer to a setting job makes the next update load the device's SWPOINT into the slider,
// even when the user has moved it meanwhile; ordinary polls leave the user's position alone.
TEST_F(ManualSettings, TemperatureSliderReloadsAfterTheSettingAnswer) {
    TeachStand s(device(1));
    auto& tp = slider(s.v().mSliderTP);
    ASSERT_TRUE(tp.slide(70));
    s.writes.clear();
    ASSERT_TRUE(s.click(*s.v().ComSetPara));
    ASSERT_TRUE(tp.slide(30));
    s.wait(kPollMs);
    EXPECT_THAT(s.writes, ElementsAreArray({R"(SWPOINT="70")"}));
    EXPECT_EQ(tp.value(), 70);

    ASSERT_TRUE(tp.slide(40));
    s.wait(3 * kPollMs);
    EXPECT_EQ(tp.value(), 40);
}

// In quick-teach mode the tolerance is written as the list shows it.
TEST_F(ManualSettings, ToleranceIsWrittenAsChosen) {
    TeachStand s(device(1),
                 [](frame::FlowMonitorSim& sim) { ASSERT_TRUE(sim.set("TEACHDO_QUICK_MODE", "1")); });
    ASSERT_TRUE(s.v().FrameQT->visible());
    ASSERT_TRUE(s.v().CoQTOffset->usable());
    s.v().CoQTOffset->setText("-1,5 %");
    s.writes.clear();
    ASSERT_TRUE(s.click(*s.v().ComSetQT));
    EXPECT_FALSE(s.v().mSettingJobId.empty());
    s.wait(kPollMs);
    EXPECT_THAT(s.writes, ElementsAreArray({R"(TEACHDO_QUICK="-1,5 %")"}));
}

// Lock and colour follow the Set button: they are set only when its enabled state changes, so a
// second call with the same state leaves what someone else changed meanwhile.
TEST_F(ManualSettings, FlowInputChangesOnlyWhenItsSetButtonChanges) {
    TeachStand s(device(1));
    auto& v = s.v();
    ASSERT_TRUE(v.ComSetFL->enabled());
    v.mSliderFL.control->setHeight(900);
    v.EnableFlowSwitchPointInput(true);
    EXPECT_EQ(v.mSliderFL.control->height(), 900);
    EXPECT_EQ(signalColour(v.mSliderFL), 0xFF0000u);

    v.EnableFlowSwitchPointInput(false);
    EXPECT_FALSE(v.ComSetFL->enabled());
    EXPECT_TRUE(v.mSliderFL.control->getProperty("Locked").toBool());
    EXPECT_TRUE(slider(v.mSliderFL).locked());
    EXPECT_EQ(signalColour(v.mSliderFL), 0xB25452u);
    EXPECT_EQ(v.mSliderFL.control->height(), 1155);
    EXPECT_FALSE(slider(v.mSliderFL).slide(10));  // a person cannot move it

    v.mSliderFL.control->setHeight(900);
    v.EnableFlowSwitchPointInput(false);
    EXPECT_EQ(v.mSliderFL.control->height(), 900);

    v.EnableFlowSwitchPointInput(true);
    EXPECT_TRUE(v.ComSetFL->enabled());
    EXPECT_FALSE(slider(v.mSliderFL).locked());
    EXPECT_EQ(signalColour(v.mSliderFL), 0xFF0000u);
    EXPECT_EQ(v.mSliderFL.control->height(), 1155);
}

TEST_F(ManualSettings, TemperatureInputHasItsOwnColours) {
    TeachStand s(device(1));
    auto& v = s.v();
    ASSERT_TRUE(v.ComSetPara->enabled());
    v.EnableTempSwitchPointInput(false);
    EXPECT_FALSE(v.ComSetPara->enabled());
    EXPECT_TRUE(slider(v.mSliderTP).locked());
    EXPECT_EQ(signalColour(v.mSliderTP), 0x5B5BC1u);
    v.EnableTempSwitchPointInput(true);
    EXPECT_FALSE(slider(v.mSliderTP).locked());
    EXPECT_EQ(signalColour(v.mSliderTP), 255u);
    EXPECT_TRUE(v.ComSetFL->enabled());  // the flow input is not touched
}

// The tolerance input is set without comparing first: both controls follow every call.
TEST_F(ManualSettings, OffsetInputSetsBothControlsEveryTime) {
    TeachStand s(device(1));
    auto& v = s.v();
    v.ComSetQT->setEnabled(true);
    v.CoQTOffset->setEnabled(false);
    v.EnableQuickOffsetInput(true);
    EXPECT_TRUE(v.CoQTOffset->enabled());
    v.EnableQuickOffsetInput(false);
    EXPECT_FALSE(v.ComSetQT->enabled());
    EXPECT_FALSE(v.CoQTOffset->enabled());
}

// The chart check boxes lay the view out again: a cleared flow box hides the flow chart at once.
TEST_F(ManualSettings, ChartCheckBoxesLayOutAgain) {
    TeachStand s(device(1));
    ASSERT_TRUE(s.v().cPC1->visible());
    s.v().CheckFL->setValue(0);
    EXPECT_FALSE(s.v().cPC1->visible());
    EXPECT_EQ(s.v().cPC2->top(), 435);
    s.v().CheckFL->setValue(1);
    EXPECT_TRUE(s.v().cPC1->visible());
    EXPECT_LT(s.v().cPC1->top(), s.v().cPC2->top());
}

}  // namespace
}  // namespace qx::teach::test
