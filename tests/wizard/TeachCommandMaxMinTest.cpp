// The max/min teach-in from end to end against the simulated flow monitor: the codes the device
// receives through QUICK_2 and their order, what the device ends up holding, what the user sees
// at the start and on the way, and where the wizard ends.
#include <gmock/gmock.h>

#include "wizard/TeachStand.h"

namespace qx::teach::test {
namespace {

using testing::ElementsAreArray;
using testing::IsSupersetOf;

struct MaxMinCase {
    const char* name;
    int32_t fw;
    Category category;
    std::vector<std::string> codes;
};

class MaxMinTeach : public testing::TestWithParam<MaxMinCase> {};

// The category swaps the codes for maximum and minimum; firmware 1 frames the procedure with "4"
// and "5" and resets QUICK_2 once for each of the three success updates (the answers chain, so
// no poll comes between them). A swapped code would make the device teach the maximum as the
// minimum, a missing "0" leaves the device's command set, a "4"/"5" on firmware 0 is a command
// that device does not know.
TEST_P(MaxMinTeach, WritesTheCodesInOrderAndTheDeviceHoldsBothLimits) {
    const auto& c = GetParam();
    TeachStand s(device(c.fw, c.category));
    s.teachMaxMin(900, 500);

    EXPECT_THAT(s.codes(), ElementsAreArray(c.codes));
    EXPECT_EQ(s.f.sim().value("TEACH_MAX"), "900");
    EXPECT_EQ(s.f.sim().value("TEACH_MIN"), "500");
    EXPECT_FALSE(s.f.sim().inTeachProcedure());
    // The states the procedure passes through, and nothing else.
    EXPECT_THAT(s.states, ElementsAreArray({0, 1, 2, 3, 4, 6, 7, 8, 9, 0}));
    EXPECT_EQ(s.v().SuccessTicks, 0);
    EXPECT_FALSE(s.v().mTeachActive);
    EXPECT_FALSE(s.v().ComTeachCancel->enabled());
    EXPECT_TRUE(s.v().ComTeachMaxMin->enabled());
    // No later answer keeps the device busy: nothing more is written once the wizard is idle.
    const auto written = s.writes.size();
    s.wait(5 * kPollMs);
    EXPECT_EQ(s.writes.size(), written);
}

INSTANTIATE_TEST_SUITE_P(
    FirmwareAndCategory, MaxMinTeach,
    testing::Values(MaxMinCase{"Fw1Match", 1, Category::Match, {"4", "1", "0", "2", "0", "5", "0", "0", "0"}},
                    MaxMinCase{"Fw1Other", 1, Category::Other, {"4", "2", "0", "1", "0", "5", "0", "0", "0"}},
                    MaxMinCase{"Fw0Match", 0, Category::Match, {"1", "0", "2", "0"}},
                    MaxMinCase{"Fw0Other", 0, Category::Other, {"2", "0", "1", "0"}}),
    [](const testing::TestParamInfo<MaxMinCase>& info) { return std::string(info.param.name); });

class MaxMinTeachSteps : public testing::Test {};

// Starting shows the first instruction at once, lights the end lamps steady, locks the switch
// point inputs and leaves only the cancel button to the user.
TEST_F(MaxMinTeachSteps, StartPreparesThePanelAndSwitchesTeachModeOn) {
    TeachStand s(device(1));
    s.wait(2 * kPollMs);  // the idle message has had its time on the status line
    s.v().HSMin->setValue(200);
    s.forget();

    ASSERT_TRUE(s.click(*s.v().ComTeachMaxMin));
    auto& v = s.v();
    ASSERT_FALSE(s.statuses.empty());
    EXPECT_EQ(s.statuses.back().text, "IDS_FWZ_SET_MAX");
    EXPECT_EQ(s.statuses.back().colour, kAmber);
    EXPECT_EQ(s.lamp(0), kAmber);
    EXPECT_EQ(s.lamp(9), kAmber);
    EXPECT_TRUE(s.onlyLit({0, 9}));
    EXPECT_EQ(s.blinking(), -1);
    EXPECT_TRUE(v.mTeachActive);
    EXPECT_FALSE(v.mQuickTeachActive);
    EXPECT_FALSE(v.ComTQuick->visible());
    EXPECT_TRUE(v.ComTMax->visible());
    EXPECT_TRUE(v.ComTMin->visible());
    EXPECT_TRUE(v.LaTMax->visible());
    EXPECT_FALSE(v.FrameQT->visible());
    EXPECT_TRUE(v.FrameFL->visible());
    EXPECT_TRUE(v.FrameTP->visible());
    EXPECT_FALSE(v.ComSetFL->enabled());
    EXPECT_FALSE(v.ComSetPara->enabled());
    EXPECT_EQ(v.mSliderFL.object->getProperty("SignalColor").toInt32(), 0xB25452);
    EXPECT_EQ(v.HSMin->value(), v.HSMin->max());  // the charts follow the procedure from its start
    EXPECT_TRUE(v.ComTeachCancel->enabled());
    EXPECT_FALSE(v.ComTeachMaxMin->enabled());
    EXPECT_FALSE(v.ComteachQuick->enabled());
    EXPECT_TRUE(s.writes.empty());  // "4" reaches the device with its answer
    s.wait(kPollMs);
    EXPECT_THAT(s.codes(), ElementsAreArray({"4"}));
    EXPECT_TRUE(s.f.sim().inTeachProcedure());
    // The answer to "4" is a teach answer: it moves nothing, and the next update waits for flow.
    EXPECT_THAT(s.states, ElementsAreArray({0, 1, 2}));
}

// Without a switch point percentage the flow switch point frame stays hidden for the procedure.
TEST_F(MaxMinTeachSteps, StartHidesTheFlowSwitchPointWhenTheDeviceHasNone) {
    auto options = device(1);
    options.swPoint = Presence::NoValue;
    TeachStand s(options);
    ASSERT_TRUE(s.click(*s.v().ComTeachMaxMin));
    EXPECT_FALSE(s.v().FrameFL->visible());
}

// The maximum can be taught only at a settled flow above the minimum span; the minimum only once
// the flow lies a full span below the taught maximum. Teaching either too early is the fault.
TEST_F(MaxMinTeachSteps, TeachButtonsWaitForASufficientSettledFlow) {
    TeachStand s(device(0, Category::Other));
    ASSERT_TRUE(s.click(*s.v().ComTeachMaxMin));
    s.settleAt(51);  // firmware 0 needs more than 51
    EXPECT_FALSE(s.click(*s.v().ComTMax));
    s.flow(700);
    s.wait(kPollMs);
    EXPECT_FALSE(s.click(*s.v().ComTMax));  // not settled yet
    s.wait(kSettleAndPollMs);
    ASSERT_TRUE(s.click(*s.v().ComTMax));
    s.wait(kPollMs);
    ASSERT_EQ(s.v().mTeachState, 6);

    s.settleAt(650);  // 50 below the maximum: one short of the span
    EXPECT_FALSE(s.click(*s.v().ComTMin));
    s.settleAt(649);
    EXPECT_TRUE(s.click(*s.v().ComTMin));
    s.wait(kPollMs);
    EXPECT_EQ(s.f.sim().value("TEACH_MIN"), "649");
}

// After the minimum is taught the level lamps go out and the bottom lamp turns amber and steady
// while the reset is on its way.
TEST_F(MaxMinTeachSteps, MinimumAnswerClearsTheLevelLampsAndMarksTheBottomLamp) {
    TeachStand s(device(1));
    ASSERT_TRUE(s.click(*s.v().ComTeachMaxMin));
    s.settleAt(900);
    ASSERT_TRUE(s.click(*s.v().ComTMax));
    s.wait(kPollMs);
    s.settleAt(500);
    ASSERT_TRUE(s.click(*s.v().ComTMin));
    ASSERT_TRUE(s.waitUntil([&] { return s.v().mTeachState == 8; }));
    for (int lamp = 1; lamp <= 8; ++lamp) EXPECT_EQ(s.lamp(lamp), kWhite) << "lamp " << lamp;
    EXPECT_EQ(s.lamp(9), kAmber);
    EXPECT_EQ(s.blinking(), -1);
    EXPECT_TRUE(s.v().mTeachActive);
    ASSERT_TRUE(s.waitUntil([&] { return s.v().mTeachState == 9; }));
    EXPECT_FALSE(s.v().mTeachActive);  // the procedure is over for the Edit button
}

// The user sees every instruction of the procedure, the success, and the idle message again.
// On firmware 1 the three success updates come with the chained answers within 150 ms; the
// success shows when the status line is free, that is when the last instruction has had its time.
TEST_F(MaxMinTeachSteps, StatusLineLeadsThroughTheProcedure) {
    TeachStand s(device(1));
    s.wait(2 * kPollMs);
    s.forget();
    ASSERT_TRUE(s.click(*s.v().ComTeachMaxMin));
    s.settleAt(900);
    ASSERT_TRUE(s.click(*s.v().ComTMax));
    s.wait(kPollMs);
    s.settleAt(500);
    s.wait(2 * kPollMs);
    ASSERT_TRUE(s.click(*s.v().ComTMin));
    ASSERT_TRUE(s.waitUntil([&] { return s.v().mTeachState == 0; }));
    EXPECT_EQ(s.statusTexts().back(), "IDS_FWZ_MAX_MIN_SUCC");
    EXPECT_EQ(s.statuses.back().colour, kGreen);
    s.wait(3 * kPollMs);
    EXPECT_THAT(s.statusTexts(),
                IsSupersetOf({"IDS_FWZ_SET_MAX", "IDS_FWZ_SET_MAX_TEACH", "IDS_FWZ_SET_MIN_TEACH",
                              "IDS_FWZ_MAX_MIN_SUCC", "IDS_FWZ_MAX_MIN_ACT"}));
    EXPECT_EQ(s.statusTexts().back(), "IDS_FWZ_MAX_MIN_ACT");
    EXPECT_TRUE(s.onlyLit({}));  // the success cleared the lamp column
}

// Firmware 0 has no teach-mode codes, so state 9 is left by polls alone: the success shows on
// exactly three updates, each one counted, and only the third returns to idle.
TEST_F(MaxMinTeachSteps, SuccessStaysForThreeUpdates) {
    TeachStand s(device(0));
    ASSERT_TRUE(s.click(*s.v().ComTeachMaxMin));
    s.settleAt(900);
    ASSERT_TRUE(s.click(*s.v().ComTMax));
    s.wait(kPollMs);
    s.settleAt(500);
    ASSERT_TRUE(s.click(*s.v().ComTMin));
    ASSERT_TRUE(s.waitUntil([&] { return s.v().mTeachState == 9; }));
    EXPECT_EQ(s.v().SuccessTicks, 0);
    for (int16_t tick = 1; tick <= 2; ++tick) {
        ASSERT_TRUE(s.waitUntil([&] { return s.v().SuccessTicks == tick; }));
        EXPECT_EQ(s.v().mTeachState, 9);
        EXPECT_TRUE(s.v().ComTeachCancel->enabled());
    }
    ASSERT_TRUE(s.waitUntil([&] { return s.v().mTeachState == 0; }));
    EXPECT_EQ(s.v().SuccessTicks, 0);
    EXPECT_FALSE(s.v().ComTeachCancel->enabled());
}

}  // namespace
}  // namespace qx::teach::test
