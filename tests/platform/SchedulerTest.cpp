// Virtual time and the timer control on it: the order in which things run is what every test of
// the view builds on, so each rule is pinned down here with an event log.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/RuntimeError.h"
#include "platform/Timer.h"
#include "platform/VirtualScheduler.h"

namespace qx::platform {
namespace {

class VirtualTime : public testing::Test {
  protected:
    VirtualScheduler scheduler{0};
    std::vector<std::string> log;

    // Logs "<name>@<ms since start>" when it runs.
    Scheduler::Task note(std::string name) {
        return [this, name] { log.push_back(name + "@" + std::to_string(scheduler.nowMs())); };
    }
};

using Log = std::vector<std::string>;

TEST_F(VirtualTime, TasksRunInTimeOrderAndFirstComeFirstServedAtEqualTimes) {
    scheduler.postAfter(30, note("c"));
    scheduler.postAfter(10, note("a1"));
    scheduler.postAfter(20, note("b"));
    scheduler.postAfter(10, note("a2"));
    scheduler.post(note("now"));
    scheduler.advance(25);
    EXPECT_EQ(log, (Log{"now@0", "a1@10", "a2@10", "b@20"}));
    EXPECT_EQ(scheduler.nowMs(), 25);  // the clock ends at the end of the wait, not at the last task
    scheduler.advance(5);
    EXPECT_EQ(log.back(), "c@30");
}

TEST_F(VirtualTime, NothingRunsInsideTheCallThatPostsIt) {
    scheduler.post(note("posted"));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(scheduler.pendingCount(), 1u);
    scheduler.processPending();
    EXPECT_EQ(log, (Log{"posted@0"}));
}

TEST_F(VirtualTime, TasksPostedWhileAdvancingRunWhenTheyBecomeDue) {
    scheduler.postAfter(10, [this] {
        note("first")();
        scheduler.post(note("posted-now"));
        scheduler.postAfter(15, note("due-at-25"));
        scheduler.postAfter(40, note("due-at-50"));
    });
    scheduler.postAfter(10, note("second"));  // already waiting at 10: runs before what 'first' posts
    scheduler.advance(30);
    EXPECT_EQ(log, (Log{"first@10", "second@10", "posted-now@10", "due-at-25@25"}));
    EXPECT_EQ(scheduler.pendingCount(), 1u);
}

TEST_F(VirtualTime, CancelledTasksNeverRun) {
    auto a = scheduler.postAfter(10, note("a"));
    scheduler.postAfter(10, [&] { scheduler.cancel(a); });  // too late: 'a' ran first
    auto c = scheduler.postAfter(20, note("c"));
    scheduler.postAfter(15, [&] { scheduler.cancel(c); });
    scheduler.cancel(9999);  // unknown handles are ignored
    scheduler.advance(100);
    EXPECT_EQ(log, (Log{"a@10"}));
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

TEST(VirtualScheduler, TimeOfDayHasWholeSecondsAndWrapsAtMidnight) {
    VirtualScheduler s(10 * 3600 * 1000 + 999);
    EXPECT_EQ(s.timeOfDay(), 36000);
    s.setNow(24 * 3600 * 1000 + 1500);
    EXPECT_EQ(s.timeOfDay(), 1);
}

class TimerTest : public VirtualTime {
  protected:
    Timer timer{"Timer1", scheduler, 1000};
    void SetUp() override { timer.Tick = note("tick"); }
};

TEST_F(TimerTest, FirstTickOneIntervalAfterEnablingThenEveryInterval) {
    EXPECT_FALSE(timer.enabled());
    scheduler.advance(300);
    timer.setEnabled(true);
    scheduler.advance(3000);
    EXPECT_EQ(log, (Log{"tick@1300", "tick@2300", "tick@3300"}));
}

TEST_F(TimerTest, EnablingAnEnabledTimerDoesNotRestartIt) {
    timer.setEnabled(true);
    scheduler.advance(600);
    timer.setEnabled(true);
    timer.setProperty("Enabled", true);
    scheduler.advance(500);
    EXPECT_EQ(log, (Log{"tick@1000"}));
}

TEST_F(TimerTest, DisablingDropsThePendingTick) {
    timer.setEnabled(true);
    scheduler.advance(900);
    timer.setEnabled(false);
    scheduler.advance(1000);
    EXPECT_TRUE(log.empty());
    timer.setEnabled(true);  // at 1900
    scheduler.advance(1000);
    EXPECT_EQ(log, (Log{"tick@2900"}));
}

TEST_F(TimerTest, ChangingTheIntervalRestartsAnEnabledTimer) {
    timer.setEnabled(true);
    scheduler.advance(600);
    timer.setInterval(500);
    scheduler.advance(1000);
    EXPECT_EQ(log, (Log{"tick@1100", "tick@1600"}));
    timer.setProperty("Interval", 1000);  // the same interval again still restarts
    scheduler.advance(600);
    timer.setInterval(1000);
    scheduler.advance(1000);
    EXPECT_EQ(log, (Log{"tick@1100", "tick@1600", "tick@3200"}));
}

TEST_F(TimerTest, IntervalZeroNeverTicksAndADisabledTimerWaitsForEnabled) {
    timer.setInterval(0);
    timer.setEnabled(true);
    scheduler.advance(10000);
    EXPECT_TRUE(log.empty());
    timer.setEnabled(false);
    timer.setInterval(200);
    scheduler.advance(1000);
    EXPECT_TRUE(log.empty());
    timer.setEnabled(true);
    scheduler.advance(200);
    EXPECT_EQ(log, (Log{"tick@11200"}));
}

TEST_F(TimerTest, TheTickHandlerMayStopTheTimerAndAFailingHandlerDoesNotStopIt) {
    int ticks = 0;
    timer.Tick = [&] {
        if (++ticks == 2) raise(kOverflow);
        if (ticks == 3) timer.setEnabled(false);
    };
    timer.setEnabled(true);
    scheduler.advance(10000);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(timer.enabled());
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

TEST_F(TimerTest, DestroyingAnEnabledTimerDropsItsTick) {
    {
        Timer shortLived("TimerCnt", scheduler, 100);
        shortLived.Tick = note("gone");
        shortLived.setEnabled(true);
    }
    scheduler.advance(1000);
    EXPECT_TRUE(log.empty());
}

}  // namespace
}  // namespace qx::platform
