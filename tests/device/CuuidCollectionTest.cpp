#include "device/CuuidCollection.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/RuntimeError.h"

namespace qx::device {
namespace {

using Reports = std::vector<int32_t>;

// Records every report, the way the view passes each one on to "LOCAL_COMM".
struct Counter : IuuidCollection {
    Reports reports;
    bool failing = false;  // raises after recording

    void IuuidCollection_OnCountChanged(int32_t difference) override {
        reports.push_back(difference);
        if (failing) platform::raise(platform::kObjectNotSet, "counter not writable");
    }
};

TEST(CuuidCollection, ReportsEveryRealChangeOfItsSize) {
    struct Step {
        char op;  // '+' Add, '-' Remove, 'c' Clear
        std::string id;
        Reports reports;
        int32_t count;
    };
    const std::vector<Step> steps = {
        {'+', "", {}, 0},  // no job was queued
        {'+', "a", {1}, 1}, {'+', "a", {}, 1},   {'+', "b", {1}, 2}, {'-', "z", {}, 2},
        {'-', "", {}, 2},   {'-', "a", {-1}, 1}, {'-', "a", {}, 1},  {'+', "c", {1}, 2},
        {'+', "d", {1}, 3}, {'c', "", {-3}, 0},  // minus the count, reported before the ids go
        {'c', "", {0}, 0},                       // an empty set still reports
    };
    Counter counter;
    CuuidCollection ids;
    ids.SetCallback(&counter);
    for (const auto& s : steps) {
        SCOPED_TRACE(std::string(1, s.op) + s.id);
        counter.reports.clear();
        if (s.op == '+') ids.Add(s.id);
        if (s.op == '-') ids.Remove(s.id);
        if (s.op == 'c') ids.Clear();
        EXPECT_EQ(counter.reports, s.reports);
        EXPECT_EQ(ids.Count(), s.count);
        EXPECT_EQ(ids.IsInside(s.id), s.op == '+' && !s.id.empty());
    }
}

TEST(CuuidCollection, GoingAwayWithIdsHeldHandsTheirShareBack) {
    Counter counter;
    {
        CuuidCollection ids;
        ids.SetCallback(&counter);
        ids.Add("job-1");
        ids.Add("job-2");
        ids.Add("job-3");
        ids.Remove("job-1");
    }
    // Neither an empty set nor one whose view cleared the callback reports anything.
    {
        CuuidCollection empty;
        empty.SetCallback(&counter);
        CuuidCollection released;
        released.SetCallback(&counter);
        released.Add("b");
        released.SetCallback(nullptr);
        released.Add("c");
    }
    EXPECT_EQ(counter.reports, (Reports{1, 1, 1, -1, -2, 1}));
}

TEST(CuuidCollection, CallbackFailureReachesOnlyTheCallerOfClear) {
    Counter counter;
    counter.failing = true;
    auto ids = std::make_unique<CuuidCollection>();
    ids->SetCallback(&counter);
    EXPECT_NO_THROW(ids->Add("a"));
    EXPECT_NO_THROW(ids->Add("b"));
    EXPECT_NO_THROW(ids->Remove("b"));
    EXPECT_TRUE(ids->IsInside("a"));  // the id counts although its report failed
    EXPECT_FALSE(ids->IsInside("b"));

    EXPECT_THROW(ids->Clear(), platform::RuntimeError);
    EXPECT_EQ(ids->Count(), 1);  // the report comes first, so the ids stay
    EXPECT_NO_THROW(ids.reset());
    EXPECT_EQ(counter.reports, (Reports{1, 1, -1, -1, -1}));
}

}  // namespace
}  // namespace qx::device
