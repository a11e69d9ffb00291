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

using Log = std::vector<std::string>;

class VirtualTime : public testing::Test {
  protected:
    VirtualScheduler scheduler{0};
    Log log;

    // Logs "<name>@<ms since start>" when it runs.
    Scheduler::Task note(std::string name) {
        return [this, name] { log.push_back(name + "@" + std::to_string(scheduler.nowMs())); };
    }
};

TEST_F(VirtualTime, TasksRunInTimeOrderFirstComeFirstServedAndNeverInsideThePost) {
    scheduler.postAfter(30, note("c"));
    scheduler.postAfter(10, [this] {
        note("a1")();
        scheduler.post(note("posted-now"));
        scheduler.postAfter(15, note("due-at-25"));
    });
    scheduler.postAfter(20, note("b"));
    scheduler.postAfter(10, note("a2"));  // already waiting at 10: runs before what a1 posts
    scheduler.post(note("now"));
    EXPECT_TRUE(log.empty());
    scheduler.processPending();
    EXPECT_EQ(log, Log{"now@0"});
    scheduler.advance(25);
    EXPECT_EQ(log, (Log{"now@0", "a1@10", "a2@10", "posted-now@10", "b@20", "due-at-25@25"}));
    EXPECT_EQ(scheduler.nowMs(), 25);  // the clock ends at the end of the wait, not at the last task
    scheduler.advance(5);
    EXPECT_EQ(log.back(), "c@30");
    EXPECT_EQ(scheduler.pendingCount(), 0u);
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

TEST_F(TimerTest, TicksOneIntervalAfterEnablingUntilDisabledAndEnablingAgainDoesNotRestart) {
    EXPECT_FALSE(timer.enabled());
    scheduler.advance(300);
    timer.setEnabled(true);
    scheduler.advance(600);
    timer.setEnabled(true);
    timer.setProperty("Enabled", true);
    scheduler.advance(1500);
    timer.setEnabled(false);  // at 2400: the tick due at 3300 is dropped
    scheduler.advance(1000);
    timer.setEnabled(true);
    scheduler.advance(1000);
    EXPECT_EQ(log, (Log{"tick@1300", "tick@2300", "tick@4400"}));
}

TEST_F(TimerTest, SettingTheIntervalRestartsAnEnabledTimerAndZeroNeverTicks) {
    timer.setEnabled(true);
    scheduler.advance(600);
    timer.setInterval(500);
    scheduler.advance(1000);
    timer.setProperty("Interval", 1000);
    scheduler.advance(600);
    timer.setInterval(1000);  // at 2200: the same interval again still restarts
    scheduler.advance(1000);
    timer.setInterval(0);
    scheduler.advance(10000);
    timer.setEnabled(false);
    timer.setInterval(200);  // a disabled timer waits for Enabled
    scheduler.advance(1000);
    timer.setEnabled(true);
    scheduler.advance(200);
    EXPECT_EQ(log, (Log{"tick@1100", "tick@1600", "tick@3200", "tick@14400"}));
}

TEST_F(TimerTest, HandlerMayStopItsTimerAFailingOneDoesNotAndADestroyedTimerNeverTicks) {
    {
        Timer shortLived("TimerCnt", scheduler, 100);
        shortLived.Tick = note("gone");
        shortLived.setEnabled(true);
    }
    int ticks = 0;
    timer.Tick = [&] {
        if (++ticks == 2) raise(kOverflow);
        if (ticks == 3) timer.setEnabled(false);
    };
    timer.setEnabled(true);
    scheduler.advance(10000);
    EXPECT_EQ(ticks, 3);
    EXPECT_FALSE(timer.enabled());
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

}  // namespace
}  // namespace qx::platform
