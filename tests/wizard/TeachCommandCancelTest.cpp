// Cancelling a teach-in in each state that waits for the user or the device: what the device
// still receives, where the wizard ends, and what the panel looks like afterwards.
#include <gmock/gmock.h>

#include <functional>

#include "wizard/TeachStand.h"

namespace qx::teach::test {
namespace {

using testing::ElementsAreArray;

struct CancelCase {
    const char* name;
    int32_t fw;
    Category category;
    std::function<void(TeachStand&)> reach;  // brings the wizard to the state to cancel in
    int32_t state;                           // the state the cancel finds
    std::vector<std::string> codes;          // everything the device receives, cancel included
};

void maxMinStarted(TeachStand& s) {
    ASSERT_TRUE(s.click(*s.v().ComTeachMaxMin));
    s.settleAt(900);
}
void maximumTaught(TeachStand& s) {
    maxMinStarted(s);
    ASSERT_TRUE(s.click(*s.v().ComTMax));
    s.wait(kPollMs);  // the device teaches the flow present when the job reaches it
    s.settleAt(500);
}
void quickStarted(TeachStand& s) {
    ASSERT_TRUE(s.click(*s.v().ComteachQuick));
    s.settleAt(400);
}
// The device answers 50 ms after a job, and each answer in a chain sends the next job.
constexpr int64_t kOneAnswer = 50;

class CancelIn : public testing::TestWithParam<CancelCase> {};

// A cancel sends nothing but the end of teach mode (firmware 1 only). A teach job already under
// way is answered, but its answer finds state 0 and writes no "0"; a wizard that went on with the
// procedure after the cancel would show up as extra codes or a state other than 0.
TEST_P(CancelIn, EndsTheProcedureAndSendsOnlyTheEndOfTeachMode) {
    const auto& c = GetParam();
    TeachStand s(device(c.fw, c.category));
    c.reach(s);
    ASSERT_EQ(s.v().mTeachState, c.state);

    ASSERT_TRUE(s.click(*s.v().ComTeachCancel));
    auto& v = s.v();
    EXPECT_EQ(v.mTeachState, 0);
    EXPECT_TRUE(s.onlyLit({}));
    EXPECT_EQ(s.blinking(), -1);
    EXPECT_FALSE(v.mTeachActive);
    EXPECT_FALSE(v.mQuickTeachActive);
    EXPECT_FALSE(v.ComTeachCancel->enabled());
    EXPECT_FALSE(v.LaTQuickW->enabled());
    EXPECT_EQ(s.toolbarButton("Edit").value(), 0);
    EXPECT_FALSE(s.toolbarButton("Edit").enabled());

    s.wait(5 * kPollMs);
    EXPECT_THAT(s.codes(), ElementsAreArray(c.codes));
    EXPECT_EQ(v.mTeachState, 0);
    EXPECT_FALSE(s.f.sim().inTeachProcedure());
    EXPECT_TRUE(v.ComTeachMaxMin->enabled());  // the next idle update offers a new start
    EXPECT_FALSE(s.toolbarButton("Edit").enabled());
}

INSTANTIATE_TEST_SUITE_P(
    WaitingStates, CancelIn,
    testing::Values(CancelCase{"Fw1WaitingForMaximum", 1, Category::Match, maxMinStarted, 2, {"4", "5"}},
                    CancelCase{"Fw1MaximumSent",
                               1,
                               Category::Match,
                               [](TeachStand& s) {
                                   maxMinStarted(s);
                                   ASSERT_TRUE(s.click(*s.v().ComTMax));
                               },
                               3,
                               {"4", "1", "5"}},
                    CancelCase{"Fw1MaximumReset",
                               1,
                               Category::Match,
                               [](TeachStand& s) {
                                   maxMinStarted(s);
                                   ASSERT_TRUE(s.click(*s.v().ComTMax));
                                   s.wait(kOneAnswer);
                               },
                               4,
                               {"4", "1", "0", "5"}},
                    CancelCase{
                        "Fw1WaitingForMinimum", 1, Category::Match, maximumTaught, 6, {"4", "1", "0", "5"}},
                    CancelCase{"Fw1MinimumSent",
                               1,
                               Category::Match,
                               [](TeachStand& s) {
                                   maximumTaught(s);
                                   ASSERT_TRUE(s.click(*s.v().ComTMin));
                               },
                               7,
                               {"4", "1", "0", "2", "5"}},
                    CancelCase{"Fw1MinimumReset",
                               1,
                               Category::Match,
                               [](TeachStand& s) {
                                   maximumTaught(s);
                                   ASSERT_TRUE(s.click(*s.v().ComTMin));
                                   s.wait(kOneAnswer);
                               },
                               8,
                               {"4", "1", "0", "2", "0", "5"}},
                    // The end code of the finished procedure is already on its way; the cancel sends its own.
                    CancelCase{"Fw1Finished",
                               1,
                               Category::Match,
                               [](TeachStand& s) {
                                   maximumTaught(s);
                                   ASSERT_TRUE(s.click(*s.v().ComTMin));
                                   s.wait(2 * kOneAnswer);
                               },
                               9,
                               {"4", "1", "0", "2", "0", "5", "5"}},
                    CancelCase{"Fw0MaximumSent",
                               0,
                               Category::Other,
                               [](TeachStand& s) {
                                   maxMinStarted(s);
                                   ASSERT_TRUE(s.click(*s.v().ComTMax));
                               },
                               3,
                               {"2"}},
                    CancelCase{"Fw0MinimumSent",
                               0,
                               Category::Other,
                               [](TeachStand& s) {
                                   maximumTaught(s);
                                   ASSERT_TRUE(s.click(*s.v().ComTMin));
                               },
                               7,
                               {"2", "0", "1"}},
                    CancelCase{"Fw1QuickWaiting", 1, Category::Match, quickStarted, 10, {"4", "5"}},
                    CancelCase{"Fw1QuickSent",
                               1,
                               Category::Match,
                               [](TeachStand& s) {
                                   quickStarted(s);
                                   ASSERT_TRUE(s.click(*s.v().ComTQuick));
                               },
                               11,
                               {"4", "3", "5"}},
                    CancelCase{"Fw1QuickReset",
                               1,
                               Category::Match,
                               [](TeachStand& s) {
                                   quickStarted(s);
                                   ASSERT_TRUE(s.click(*s.v().ComTQuick));
                                   s.wait(kOneAnswer);
                               },
                               12,
                               {"4", "3", "0", "5"}},
                    CancelCase{"Fw1QuickFinished",
                               1,
                               Category::Match,
                               [](TeachStand& s) {
                                   quickStarted(s);
                                   ASSERT_TRUE(s.click(*s.v().ComTQuick));
                                   s.wait(2 * kOneAnswer);
                               },
                               14,
                               {"4", "3", "0", "5", "5"}},
                    CancelCase{"Fw0QuickSent",
                               0,
                               Category::Match,
                               [](TeachStand& s) {
                                   quickStarted(s);
                                   ASSERT_TRUE(s.click(*s.v().ComTQuick));
                               },
                               11,
                               {"3"}}),
    [](const testing::TestParamInfo<CancelCase>& info) { return std::string(info.param.name); });

class CancelDetails : public testing::Test {};

// Firmware 0 sends nothing on cancel, so the teach job's id is still the one the answer carries:
// the answer runs the continuation, which must find state 0 and neither write "0" nor refresh the
// view (a refresh would be a view update outside the poll).
TEST_F(CancelDetails, AnswerToTheMaximumAfterCancelOnFirmwareZeroDoesNothing) {
    TeachStand s(device(0, Category::Other));
    maxMinStarted(s);
    ASSERT_TRUE(s.click(*s.v().ComTMax));
    const std::string teachJob = s.v().mTeachJobId;
    ASSERT_FALSE(teachJob.empty());
    ASSERT_TRUE(s.click(*s.v().ComTeachCancel));
    EXPECT_EQ(s.v().mTeachJobId, teachJob);  // nothing new was sent
    const auto ticks = s.v().mFlowChart->group(1).data().numPoints();
    s.wait(kOneAnswer);
    EXPECT_THAT(s.codes(), ElementsAreArray({"2"}));
    EXPECT_EQ(s.v().mFlowChart->group(1).data().numPoints(), ticks);  // no update for the answer
    EXPECT_EQ(s.v().mTeachState, 0);
}

// The Edit button is released by setting its value, which runs no click handler: the teach
// buttons the Edit press disabled stay disabled, no Edit message appears again, and the state
// the cancel set stays. Only the next idle update locks the entry fields again.
TEST_F(CancelDetails, CancelWithEditPressedReleasesEditWithoutItsClick) {
    TeachStand s(device(1));
    maxMinStarted(s);
    ASSERT_TRUE(s.press("Edit"));
    ASSERT_EQ(s.v().mTeachState, 5);
    ASSERT_EQ(s.messages().size(), 1u);
    ASSERT_FALSE(s.v().ComTMax->enabled());

    ASSERT_TRUE(s.click(*s.v().ComTeachCancel));
    auto& v = s.v();
    EXPECT_EQ(s.toolbarButton("Edit").value(), 0);
    EXPECT_FALSE(s.toolbarButton("Edit").enabled());
    EXPECT_FALSE(v.ComTMax->enabled());
    EXPECT_FALSE(v.ComTQuick->enabled());
    EXPECT_TRUE(v.LaTMaxW->enabled());
    EXPECT_EQ(s.messages().size(), 1u);
    EXPECT_EQ(v.mTeachState, 0);

    s.wait(kPollMs);
    EXPECT_FALSE(v.LaTMaxW->enabled());
    EXPECT_FALSE(v.LaTMinW->enabled());
    EXPECT_FALSE(v.ComSetTeach->enabled());
    EXPECT_EQ(v.mTeachState, 0);
}

// The success counter is shared and only reset on reaching three: a cancel after the first
// success update leaves it at 1, and the next procedure's success then lasts two updates.
TEST_F(CancelDetails, CancelDuringSuccessKeepsTheSuccessCount) {
    TeachStand s(device(0));
    maximumTaught(s);
    ASSERT_TRUE(s.click(*s.v().ComTMin));
    ASSERT_TRUE(s.waitUntil([&] { return s.v().SuccessTicks == 1; }));
    ASSERT_EQ(s.v().mTeachState, 9);
    ASSERT_TRUE(s.click(*s.v().ComTeachCancel));
    s.wait(3 * kPollMs);
    EXPECT_EQ(s.v().SuccessTicks, 1);

    maximumTaught(s);
    ASSERT_TRUE(s.click(*s.v().ComTMin));
    ASSERT_TRUE(s.waitUntil([&] { return s.v().mTeachState == 9; }));
    ASSERT_TRUE(s.waitUntil([&] { return s.v().SuccessTicks != 1; }));
    EXPECT_EQ(s.v().SuccessTicks, 2);
    EXPECT_EQ(s.v().mTeachState, 9);
    ASSERT_TRUE(s.waitUntil([&] { return s.v().SuccessTicks != 2; }));
    EXPECT_EQ(s.v().SuccessTicks, 0);
    EXPECT_EQ(s.v().mTeachState, 0);
}

}  // namespace
}  // namespace qx::teach::test
