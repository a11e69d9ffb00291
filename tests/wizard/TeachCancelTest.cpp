// Cancelling a teach-in in each state that waits for the user or the device: what the device
// still receives, where the wizard ends, and what the panel looks like afterwards.
#include <gmock/gmock.h>

#include "view/ViewChildren.h"
#include "wizard/WizardStand.h"

namespace qx::stand::test {
namespace {

using testing::ElementsAreArray;

// The device answers 50 ms after a job, and each answer in a chain sends the next job.
constexpr int64_t kOneAnswer = 50;

// Brings a procedure to `step` and lets `answers` answers arrive. Max/min: 0 started, 1 maximum
// sent, 2 maximum taught and a lower flow settled, 3 minimum sent. Quick: 0 started, 1 sent.
void reach(WizardStand& s, bool quick, int step, int answers) {
    auto& v = s.v();
    ASSERT_TRUE(s.click(quick ? *childButton(v, "ComteachQuick") : *childButton(v, "ComTeachMaxMin")));
    s.settleAt(quick ? 400 : 900);
    if (step >= 1) {
        ASSERT_TRUE(s.click(quick ? *childButton(v, "ComTQuick") : *childButton(v, "ComTMax")));
    }
    if (step >= 2) {
        s.wait(kPollMs);  // the device teaches the flow present when the job reaches it
        s.settleAt(500);
    }
    if (step >= 3) {
        ASSERT_TRUE(s.click(*childButton(v, "ComTMin")));
    }
    s.wait(answers * kOneAnswer);
}

struct CancelCase {
    const char* name;
    int32_t fw;
    Category category;
    bool quick;
    int step, answers;
    int32_t state;                   // the state the cancel finds
    std::vector<std::string> codes;  // everything the device receives, cancel included
};

class CancelIn : public testing::TestWithParam<CancelCase> {};

// A cancel sends nothing but the end of teach mode (firmware 1 only). A teach job already under
// way is answered, but its answer finds state 0 and writes no "0"; a wizard that went on with the
// procedure after the cancel would show up as extra codes or a state other than 0.
TEST_P(CancelIn, EndsTheProcedureAndSendsOnlyTheEndOfTeachMode) {
    const auto& c = GetParam();
    WizardStand s(device(c.fw, c.category));
    reach(s, c.quick, c.step, c.answers);
    ASSERT_EQ(wizard::number(s.v().progress().mTeachState), c.state);

    ASSERT_TRUE(s.click(*childButton(s.v(), "ComTeachCancel")));
    auto& v = s.v();
    EXPECT_EQ(wizard::number(v.progress().mTeachState), 0);
    EXPECT_TRUE(s.allLampsOff());
    EXPECT_EQ(s.blinking(), -1);
    EXPECT_FALSE(v.progress().mTeachActive);
    EXPECT_FALSE(v.progress().mQuickTeachActive);
    EXPECT_FALSE(childButton(v, "ComTeachCancel")->enabled());
    EXPECT_FALSE(childTextBox(v, "LaTQuickW")->enabled());
    EXPECT_EQ(s.toolbarButton("Edit").value(), 0);
    EXPECT_FALSE(s.toolbarButton("Edit").enabled());

    s.wait(5 * kPollMs);
    EXPECT_THAT(s.codes(), ElementsAreArray(c.codes));
    EXPECT_EQ(wizard::number(v.progress().mTeachState), 0);
    EXPECT_FALSE(s.f.sim().inTeachProcedure());
    EXPECT_TRUE(childButton(v, "ComTeachMaxMin")->enabled());  // the next idle update offers a new start
    EXPECT_FALSE(s.toolbarButton("Edit").enabled());
}

INSTANTIATE_TEST_SUITE_P(
    WaitingStates, CancelIn,
    testing::Values(
        CancelCase{"Fw1WaitingForMaximum", 1, Category::Match, false, 0, 0, 2, {"4", "5"}},
        CancelCase{"Fw1MaximumSent", 1, Category::Match, false, 1, 0, 3, {"4", "1", "5"}},
        CancelCase{"Fw1MaximumReset", 1, Category::Match, false, 1, 1, 4, {"4", "1", "0", "5"}},
        CancelCase{"Fw1WaitingForMinimum", 1, Category::Match, false, 2, 0, 6, {"4", "1", "0", "5"}},
        CancelCase{"Fw1MinimumSent", 1, Category::Match, false, 3, 0, 7, {"4", "1", "0", "2", "5"}},
        CancelCase{"Fw1MinimumReset", 1, Category::Match, false, 3, 1, 8, {"4", "1", "0", "2", "0", "5"}},
        // The end code of the finished procedure is already on its way; the cancel sends its own.
        CancelCase{"Fw1Finished", 1, Category::Match, false, 3, 2, 9, {"4", "1", "0", "2", "0", "5", "5"}},
        CancelCase{"Fw0MinimumSent", 0, Category::Other, false, 3, 0, 7, {"2", "0", "1"}},
        CancelCase{"Fw1QuickWaiting", 1, Category::Match, true, 0, 0, 10, {"4", "5"}},
        CancelCase{"Fw1QuickSent", 1, Category::Match, true, 1, 0, 11, {"4", "3", "5"}},
        CancelCase{"Fw1QuickReset", 1, Category::Match, true, 1, 1, 12, {"4", "3", "0", "5"}},
        CancelCase{"Fw1QuickFinished", 1, Category::Match, true, 1, 2, 14, {"4", "3", "0", "5", "5"}},
        CancelCase{"Fw0QuickSent", 0, Category::Match, true, 1, 0, 11, {"3"}}),
    CaseName{});

// Firmware 0 sends nothing on cancel, so the teach job's id is still the one the answer carries:
// the answer runs the continuation, which must find state 0 and neither write "0" nor refresh the
// view (a refresh would be a view update outside the poll).
TEST(CancelDetails, AnswerToTheMaximumAfterCancelOnFirmwareZeroDoesNothing) {
    WizardStand s(device(0, Category::Other));
    reach(s, false, 1, 0);
    const std::string teachJob = s.v().jobs().teachJobId();
    ASSERT_FALSE(teachJob.empty());
    ASSERT_TRUE(s.click(*childButton(s.v(), "ComTeachCancel")));
    EXPECT_EQ(s.v().jobs().teachJobId(), teachJob);  // nothing new was sent
    const auto ticks = s.v().trend().flow.object->group(1).data().numPoints();
    s.wait(kOneAnswer);
    EXPECT_THAT(s.codes(), ElementsAreArray({"2"}));
    EXPECT_EQ(s.v().trend().flow.object->group(1).data().numPoints(), ticks);  // no update for the answer
    EXPECT_EQ(wizard::number(s.v().progress().mTeachState), 0);
}

}  // namespace
}  // namespace qx::stand::test
