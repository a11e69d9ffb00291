// The quick teach from end to end: the codes the device receives, the switch point it computes,
// what the panel shows at the start, and the tolerance that goes back to its default.
#include <gmock/gmock.h>

#include "wizard/TeachStand.h"

namespace qx::teach::test {
namespace {

using testing::ElementsAreArray;

struct QuickCase {
    const char* name;
    int32_t fw;
    std::vector<std::string> codes;
    const char* switchPoint;  // the parameter the device puts the taught switch point in
};

class QuickTeach : public testing::TestWithParam<QuickCase> {};

// Firmware 1 frames the quick teach with "4" and "5"; firmware 0 knows only "3" and its reset.
// The end code goes with the answer in state 12, so no "0" follows it.
TEST_P(QuickTeach, WritesTheCodesInOrderAndTheDeviceTakesTheSwitchPoint) {
    const auto& c = GetParam();
    TeachStand s(device(c.fw));
    s.quickTeach(400);

    EXPECT_THAT(s.codes(), ElementsAreArray(c.codes));
    EXPECT_EQ(s.f.sim().value(c.switchPoint), "400");
    EXPECT_EQ(s.f.sim().teachMode(), 1);
    EXPECT_FALSE(s.f.sim().inTeachProcedure());
    EXPECT_THAT(s.states, ElementsAreArray({0, 10, 11, 12, 14, 0}));
    EXPECT_EQ(s.v().SuccessTicks, 0);
    EXPECT_FALSE(s.v().mQuickTeachActive);
    EXPECT_FALSE(s.v().mTeachActive);
    EXPECT_FALSE(s.v().ComTeachCancel->enabled());
    EXPECT_EQ(s.statusTexts().back(), "IDS_FWZ_QUICK_ACT");  // the device is in quick-teach mode now
    const auto written = s.writes.size();
    s.wait(5 * kPollMs);
    EXPECT_EQ(s.writes.size(), written);
}

INSTANTIATE_TEST_SUITE_P(Firmware, QuickTeach,
                         testing::Values(QuickCase{"Fw1", 1, {"4", "3", "0", "5"}, "FLOWSPQT_RAW"},
                                         QuickCase{"Fw0", 0, {"3", "0"}, "FLOWSP_RAW"}),
                         [](const testing::TestParamInfo<QuickCase>& info) {
                             return std::string(info.param.name);
                         });

class QuickTeachSteps : public testing::Test {};

// The start blinks the middle lamp green, shows the quick-teach panel, locks the temperature
// input and the tolerance, and shows no message of its own (the next update does).
TEST_F(QuickTeachSteps, StartPreparesThePanel) {
    TeachStand s(device(1));
    s.wait(2 * kPollMs);
    s.forget();
    ASSERT_TRUE(s.v().ComSetFL->enabled());
    ASSERT_TRUE(s.click(*s.v().ComteachQuick));

    auto& v = s.v();
    EXPECT_TRUE(s.statuses.empty());
    EXPECT_EQ(s.lamp(5), kGreen);
    EXPECT_EQ(s.blinking(), 5);
    EXPECT_TRUE(s.onlyLit({5}));
    EXPECT_EQ(v.mTeachState, 10);
    EXPECT_TRUE(v.mTeachActive);
    EXPECT_TRUE(v.mQuickTeachActive);
    EXPECT_TRUE(v.ComTQuick->visible());
    EXPECT_FALSE(v.ComTMax->visible());
    EXPECT_FALSE(v.ComTMin->visible());
    EXPECT_FALSE(v.LaTMax->visible());
    EXPECT_TRUE(v.LaTQuick->visible());  // firmware 1 shows the quick-teach switch point
    EXPECT_TRUE(v.FrameQT->visible());
    EXPECT_FALSE(v.FrameFL->visible());
    EXPECT_TRUE(v.FrameTP->visible());
    EXPECT_FALSE(v.ComSetQT->enabled());
    EXPECT_FALSE(v.CoQTOffset->enabled());
    EXPECT_FALSE(v.ComSetPara->enabled());
    EXPECT_TRUE(v.ComSetFL->enabled());  // the flow input is left as it was
    EXPECT_TRUE(v.ComTeachCancel->enabled());
    EXPECT_FALSE(v.ComTeachMaxMin->enabled());
    EXPECT_FALSE(v.ComteachQuick->enabled());

    s.wait(kPollMs);
    EXPECT_EQ(s.statusTexts().back(), "IDS_FWZ_SET_QUICK_TEACH");
}

// Firmware 0 hides the quick-teach switch point fields during the procedure.
TEST_F(QuickTeachSteps, StartOnFirmwareZeroHidesTheQuickSwitchPointFields) {
    TeachStand s(device(0));
    ASSERT_TRUE(s.click(*s.v().ComteachQuick));
    EXPECT_FALSE(s.v().LaTQuick->visible());
    EXPECT_FALSE(s.v().LaTQuickW->visible());
    EXPECT_FALSE(s.v().mTeachActive);
    EXPECT_TRUE(s.v().mQuickTeachActive);
}

struct OffsetCase {
    const char* name;
    int32_t fw;
    const char* offset;  // the device's tolerance before the teach
    const char* point;   // the switch point the device computes at flow 400
};

class QuickTeachOffset : public testing::TestWithParam<OffsetCase> {};

// The device teaches with its own tolerance; the view then puts its model's tolerance back to the
// default of the firmware's list (5 on firmware 0, 0 on newer firmware, both " 0 %") without
// sending it, and asks the next update to show it.
TEST_P(QuickTeachOffset, TeachUsesTheDeviceToleranceAndResetsTheModelOnly) {
    const auto& c = GetParam();
    TeachStand s(device(c.fw),
                 [&](frame::FlowMonitorSim& sim) { ASSERT_TRUE(sim.set("TEACHDO_QUICK", c.offset)); });
    ASSERT_EQ(s.v().CoQTOffset->text(), c.offset);
    ASSERT_TRUE(s.click(*s.v().ComteachQuick));
    s.settleAt(400);

    ASSERT_TRUE(s.click(*s.v().ComTQuick));
    EXPECT_EQ(s.v().pTEACHDO_QUICK->valueText(), " 0 %");
    EXPECT_TRUE(s.v().mRefreshSwitchInputs);
    s.wait(kPollMs);
    EXPECT_EQ(s.f.sim().value(c.fw == 1 ? "FLOWSPQT_RAW" : "FLOWSP_RAW"), c.point);
    for (const auto& w : s.writes) EXPECT_EQ(w.find("TEACHDO_QUICK="), std::string::npos) << w;
}

INSTANTIATE_TEST_SUITE_P(Firmware, QuickTeachOffset,
                         testing::Values(OffsetCase{"Fw1", 1, "-1,5 %", "394"},
                                         OffsetCase{"Fw0", 0, " 3,0 %", "412"}),
                         [](const testing::TestParamInfo<OffsetCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace qx::teach::test
