// The control models behave like the controls the view was written against: the order in which
// virtual time runs things and the timer control on it (what every test of the view builds on,
// pinned down here with an event log), which values controls refuse, which events a change
// raises, what observers see, and how the Controls collection creates children by program id.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ChartObject.h"
#include "platform/Controls.h"
#include "platform/StandardControls.h"
#include "platform/TestSupport.h"
#include "platform/Timer.h"
#include "platform/VirtualScheduler.h"

namespace qx::platform {
namespace {

using test::errorOf;
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

TEST_F(VirtualTime, TasksRunInTimeOrderFirstComeFirstServedUnlessCancelledAndNeverInsideThePost) {
    scheduler.postAfter(30, note("c"));
    scheduler.postAfter(10, [this] {
        note("a1")();
        scheduler.post(note("posted-now"));
        scheduler.postAfter(15, note("due-at-25"));
    });
    scheduler.postAfter(20, note("b"));
    scheduler.postAfter(10, note("a2"));  // already waiting at 10: runs before what a1 posts
    const auto cancelled = scheduler.postAfter(24, note("cancelled"));
    scheduler.postAfter(20, [&] { scheduler.cancel(cancelled); });
    scheduler.cancel(9999);  // unknown handles are ignored
    scheduler.post(note("now"));
    EXPECT_TRUE(log.empty());
    scheduler.processPending();
    EXPECT_EQ(log, Log{"now@0"});
    scheduler.advance(25);
    EXPECT_EQ(log, (Log{"now@0", "a1@10", "a2@10", "posted-now@10", "b@20", "due-at-25@25"}));
    EXPECT_EQ(scheduler.nowMs(), 25);  // the clock ends at the end of the wait, not at the last task
    scheduler.advance(5);
    EXPECT_EQ(log.back(), "c@30");
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

    // Runs steps on the timer: "+<ms>" waits, "e1"/"e0" enables or disables, "i<ms>" sets the
    // interval; in capitals the same by property name.
    void run(std::initializer_list<std::string> steps) {
        for (const std::string& step : steps) {
            const int32_t n = std::stoi(step.substr(1));
            if (step[0] == '+') scheduler.advance(n);
            if (step[0] == 'e') timer.setEnabled(n != 0);
            if (step[0] == 'E') timer.setProperty("Enabled", n != 0);
            if (step[0] == 'i') timer.setInterval(n);
            if (step[0] == 'I') timer.setProperty("Interval", n);
        }
    }
};

TEST_F(TimerTest, TicksOneIntervalAfterEnablingUntilDisabledAndEnablingAgainDoesNotRestart) {
    // Disabling at 2400 drops the tick due at 3300.
    run({"+300", "e1", "+600", "e1", "E1", "+1500", "e0", "+1000", "e1", "+1000"});
    EXPECT_EQ(log, (Log{"tick@1300", "tick@2300", "tick@4400"}));
}

TEST_F(TimerTest, SettingTheIntervalRestartsAnEnabledTimerAndZeroNeverTicks) {
    // At 2200 the same interval again still restarts; at 13200 a disabled timer waits for Enabled.
    run({"e1", "+600", "i500", "+1000", "I1000", "+600", "i1000", "+1000", "i0", "+10000", "e0", "i200",
         "+1000", "e1", "+200"});
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
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

using Names = std::vector<std::string>;

// Records the properties a control reports as changed.
struct Watched {
    explicit Watched(Control& c) {
        watch =
            c.observe([this](const Control&, const std::string& property) { changes.push_back(property); });
    }
    Names changes;
    Subscription watch;
};

TEST(ScrollBar, RefusesValuesOutsideItsRangeAndRaisesChangeOnlyOnAChange) {
    ScrollBar bar("VSMax", false, 0, 100);
    std::vector<int32_t> seen;
    bar.Change = [&] { seen.push_back(bar.value()); };
    bar.setValue(40);
    bar.setValue(40);
    bar.setProperty("Value", 100);
    EXPECT_EQ(errorOf([&] { bar.setValue(101); }), kInvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { bar.setValue(-1); }), kInvalidPropertyValue);
    EXPECT_EQ(bar.value(), 100);
    EXPECT_EQ(seen, (std::vector<int32_t>{40, 100}));

    // A bar whose Min is above its Max (as the view's vertical bars run) accepts the range between.
    ScrollBar reversed("VSMin", false, 100, 0);
    EXPECT_EQ(errorOf([&] { reversed.setValue(0); }), 0);
    EXPECT_EQ(errorOf([&] { reversed.setValue(101); }), kInvalidPropertyValue);
}

TEST(CheckBoxAndComboBox, ClickFollowsEveryChangeOfTheValueAndRefusedValuesChangeNothing) {
    CheckBox box("CheckFL");
    int boxClicks = 0;
    box.Click = [&] { ++boxClicks; };
    box.setValue(1);
    box.setValue(1);
    box.setProperty("Value", 0);
    EXPECT_EQ(errorOf([&] { box.setValue(5); }), kInvalidPropertyValue);
    EXPECT_EQ(box.value(), 0);
    EXPECT_EQ(boxClicks, 2);

    ComboBox combo("CoQTTol");
    for (const char* item : {"5 %", "10 %", "20 %"}) combo.addItem(item);
    int clicks = 0;
    combo.Click = [&] { ++clicks; };
    EXPECT_EQ(combo.listIndex(), -1);
    combo.setText("10 %");
    EXPECT_EQ(combo.listIndex(), 1);
    combo.setListIndex(1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(errorOf([&] { combo.setText("15 %"); }), kInvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { combo.setListIndex(3); }), kInvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { combo.list(3); }), 381);
    combo.setProperty("ListIndex", -1);
    EXPECT_EQ(combo.text(), "");
    EXPECT_EQ(clicks, 2);
}

TEST(Control, PropertiesByNameReachTheTypedMembersAndUnknownNamesFail) {
    Label label("LaFlow");
    Watched watched(label);
    label.setProperty("Caption", 12.5);
    label.setProperty("BackColor", 0x80FF80);
    label.setProperty("Visible", false);
    label.setProperty("Left", "120");
    label.setLeft(120);  // no change, no notice
    EXPECT_EQ(label.caption(), "12.5");
    EXPECT_EQ(label.left(), 120);
    EXPECT_EQ(watched.changes, (Names{"Caption", "BackColor", "Visible", "Left"}));
    EXPECT_EQ(errorOf([&] { label.getProperty("Colour"); }), kNotSupported);
    EXPECT_EQ(errorOf([&] { label.setProperty("Colour", 1); }), kNotSupported);
    EXPECT_EQ(errorOf([&] { label.setProperty("Left", "left"); }), kTypeMismatch);
}

TEST(Control, UsableOnlyWhenItAndEveryContainerAreVisibleAndEnabled) {
    Frame outer("FrameTeach"), inner("FrameMax");
    CommandButton button("ComTMax");
    inner.setContainer(&outer);
    button.setContainer(&inner);
    EXPECT_TRUE(button.usable());
    outer.setEnabled(false);
    EXPECT_FALSE(button.usable());
    outer.setEnabled(true);
    inner.setVisible(false);
    EXPECT_FALSE(button.usable());
}

TEST(Controls, CreatesChildrenByProgramIdHiddenInsideAnExtenderThatPassesPathsOn) {
    ControlFactories factories;
    registerChartComponent(factories);
    Controls controls(factories);
    Frame pane("FramePC");
    auto added = controls.add(kChartProgId, "cPC1", &pane);
    auto chart = std::dynamic_pointer_cast<ChartObject>(added->object());
    ASSERT_TRUE(chart);
    EXPECT_FALSE(added->visible());
    added->setProperty("Height", 1600);  // position and size stay the extender's own
    added->setProperty("ChartGroups(1).data.NumPoints(1)", 3);
    EXPECT_EQ(added->height(), 1600);
    EXPECT_EQ(chart->chartArea().location().height(), 0);
    EXPECT_EQ(chart->group(1).data().numPoints(), 3);

    EXPECT_EQ(errorOf([&] { controls.add(kChartProgId, "cPC1", &pane); }), 727);
    EXPECT_EQ(errorOf([&] { controls.add("Nobody.Registered", "cPC3", &pane); }), kInvalidClassString);
    EXPECT_EQ(errorOf([&] { controls.item("cPC3"); }), 730);
    controls.remove("cPC1");
    EXPECT_EQ(controls.count(), 0);
}

}  // namespace
}  // namespace qx::platform
