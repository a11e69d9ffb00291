// Virtual time paced by the real clock: a fault here makes a script's waits in the window run too
// much or too little time, or end without calling back, and its transcript differ from the
// console's.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "VirtualTimePacer.h"

namespace qx::ui {
namespace {

struct PacerRow {
    const char* what;
    double speed;
    int64_t wait;                    // -1: free-running
    std::vector<int64_t> realSteps;  // real milliseconds between steps
    std::vector<int64_t> advanced;   // what each step ran
    bool done;
};

TEST(VirtualTimePacer, RunsVirtualTimeAtItsPaceAndEndsAWaitExactly) {
    const std::vector<PacerRow> rows = {
        {"real pace", 1, -1, {10, 10, 25}, {10, 10, 25}, false},
        {"ten times as fast", 10, -1, {10, 3}, {100, 30}, false},
        // Fractions of a millisecond are owed, not dropped: 0.25 ms a step adds up.
        {"a quarter pace", 0.25, -1, {2, 2, 2, 2}, {0, 1, 0, 1}, false},
        // The last step runs only what is left of the wait, then the wait ends.
        {"a wait ends on its length", 100, 250, {1, 1, 1}, {100, 100, 50}, true},
        {"a wait of nothing runs what is due now", 1, 0, {}, {0}, true},
        {"a step after the wait runs nothing", 100, 100, {1, 1}, {100}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        int64_t now = 0;
        std::vector<int64_t> advanced;
        bool done = false;
        VirtualTimePacer pacer([&](int64_t ms) { advanced.push_back(ms); }, {}, row.speed,
                               [&] { return now; });
        if (row.wait < 0)
            pacer.start();
        else
            pacer.run(row.wait, [&] { done = true; });
        for (int64_t real : row.realSteps) {
            now += real;
            pacer.step();
        }
        EXPECT_EQ(advanced, row.advanced);
        EXPECT_EQ(done, row.done);
        EXPECT_EQ(pacer.running(), !row.done);
    }
}

// The alarm: a pacer sleeps until the earliest event falls due, so an idle window costs nothing;
// an alarm left at the old time would let an event posted meanwhile run late, or ring in a loop.
TEST(VirtualTimePacer, SleepsUntilTheNextDueEventOrTheEndOfAWait) {
    int64_t now = 0;
    std::optional<int64_t> due;  // virtual ms from the last step
    VirtualTimePacer pacer([&](int64_t ms) { due = due ? std::optional<int64_t>(*due - ms) : std::nullopt; },
                           [&] { return due; }, 2, [&] { return now; });
    pacer.start();
    EXPECT_EQ(pacer.alarmInMs(), std::nullopt) << "nothing waits: no alarm";

    due = 1000;
    pacer.rearm();
    EXPECT_EQ(pacer.alarmInMs(), 500) << "at twice the real pace";

    now += 300;  // a person's click brings time up: 600 of the 1000 ms have passed
    pacer.step();
    EXPECT_EQ(due, 400);
    EXPECT_EQ(pacer.alarmInMs(), 200);

    pacer.run(100, [] {});
    EXPECT_EQ(pacer.alarmInMs(), 50) << "a wait ends before the next event";
    pacer.stop();
    EXPECT_EQ(pacer.alarmInMs(), std::nullopt);
}

}  // namespace
}  // namespace qx::ui
