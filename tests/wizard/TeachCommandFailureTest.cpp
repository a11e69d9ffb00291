// A teach-in that the device or the frame interrupts: a teach job that fails, and the frame
// releasing the view while a procedure is under way.
#include <gmock/gmock.h>

#include "wizard/TeachStand.h"

namespace qx::teach::test {
namespace {

using testing::ElementsAreArray;

class TeachInterrupted : public testing::Test {};

// A failed teach job never reaches the device: no reset follows it, polling stops, the link is
// dropped and both teach flags are cleared; the wizard stays where it was until the user cancels,
// and that cancel cannot reach a device that is no longer connected.
TEST_F(TeachInterrupted, FailedTeachJobLeavesTheStateForTheUserToCancel) {
    TeachStand s(device(1));
    ASSERT_TRUE(s.click(*s.v().ComTeachMaxMin));
    s.settleAt(900);
    s.f.link().failNext(frame::SimLink::FailKind::Write, 1);
    ASSERT_TRUE(s.click(*s.v().ComTMax));
    s.wait(3 * kPollMs);

    auto& v = s.v();
    EXPECT_THAT(s.codes(), ElementsAreArray({"4"}));
    EXPECT_EQ(s.f.sim().value("TEACH_MAX"), "800");  // the device's limit is untouched
    EXPECT_EQ(v.mTeachState, 3);
    EXPECT_FALSE(v.mTeachActive);
    EXPECT_FALSE(v.mQuickTeachActive);
    EXPECT_FALSE(v.Timer1->enabled());
    EXPECT_FALSE(s.f.communication()->IsConnected());
    EXPECT_EQ(s.toolbarButton("Poll").value(), 0);
    EXPECT_TRUE(v.ComTeachCancel->enabled());

    ASSERT_TRUE(s.click(*v.ComTeachCancel));
    s.wait(kPollMs);
    EXPECT_EQ(v.mTeachState, 0);
    EXPECT_THAT(s.codes(), ElementsAreArray({"4"}));
    EXPECT_TRUE(s.f.sim().inTeachProcedure());  // the end code could not be sent
}

// A failed quick-teach reset ends the flags the same way; the quick teach itself did happen.
TEST_F(TeachInterrupted, FailedResetAfterQuickTeachClearsBothFlags) {
    TeachStand s(device(1));
    ASSERT_TRUE(s.click(*s.v().ComteachQuick));
    s.settleAt(400);
    ASSERT_TRUE(s.click(*s.v().ComTQuick));
    s.wait(40);
    s.f.link().failNext(frame::SimLink::FailKind::Write, 1);  // the "0" that follows "3"
    s.wait(2 * kPollMs);
    EXPECT_THAT(s.codes(), ElementsAreArray({"4", "3"}));
    EXPECT_EQ(s.v().mTeachState, 12);
    EXPECT_FALSE(s.v().mTeachActive);
    EXPECT_FALSE(s.v().mQuickTeachActive);
}

// Released during a teach, the view ends the device's teach mode first ("5" on firmware 1),
// defers the release until the device is disconnected, and then tells the frame once.
TEST_F(TeachInterrupted, ReleaseDuringTeachEndsTeachModeAndCompletesLater) {
    TeachStand s(device(1));
    ASSERT_TRUE(s.f.registerCallback());
    ASSERT_TRUE(s.click(*s.v().ComTeachMaxMin));
    s.settleAt(900);

    EXPECT_TRUE(s.f.release());
    EXPECT_FALSE(s.v().mTeachActive);
    EXPECT_TRUE(s.v().mReleasePending);
    EXPECT_EQ(s.f.receiver()->releasedCount(), 0);

    s.wait(kPollMs);
    EXPECT_THAT(s.codes(), ElementsAreArray({"4", "5"}));
    EXPECT_FALSE(s.f.sim().inTeachProcedure());
    EXPECT_FALSE(s.f.communication()->IsConnected());
    EXPECT_EQ(s.f.receiver()->releasedCount(), 1);
    EXPECT_EQ(s.v().mSpecComm, nullptr);
    s.wait(3 * kPollMs);
    EXPECT_EQ(s.f.receiver()->releasedCount(), 1);
}

}  // namespace
}  // namespace qx::teach::test
