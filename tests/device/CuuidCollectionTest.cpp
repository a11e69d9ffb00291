#include "device/CuuidCollection.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "platform/RuntimeError.h"

namespace qx::device {
namespace {

// Keeps a counter the way the view keeps "LOCAL_COMM", and records every report.
struct Counter : IuuidCollection {
    int32_t value = 0;
    std::vector<int32_t> reports;
    std::optional<int32_t> failWith;  // error number to raise after recording

    void IuuidCollection_OnCountChanged(int32_t difference) override {
        reports.push_back(difference);
        if (failWith) platform::raise(*failWith, "counter not writable");
        value += difference;
    }
};

using Reports = std::vector<int32_t>;

TEST(CuuidCollection, AddReportsOnlyRealGrowth) {
    Counter counter;
    CuuidCollection ids;
    ids.SetCallback(&counter);

    ids.Add("");  // no job was queued
    ids.Add("job-1");
    ids.Add("job-1");
    ids.Add("job-2");

    EXPECT_EQ(ids.Count(), 2);
    EXPECT_EQ(counter.reports, (Reports{1, 1}));
    EXPECT_FALSE(ids.IsInside(""));
}

TEST(CuuidCollection, RemoveReportsOnlyIdsThatWereHeld) {
    Counter counter;
    CuuidCollection ids;
    ids.SetCallback(&counter);
    ids.Add("job-1");

    ids.Remove("job-9");
    ids.Remove("");
    EXPECT_EQ(counter.reports, (Reports{1}));

    ids.Remove("job-1");
    ids.Remove("job-1");
    EXPECT_EQ(counter.reports, (Reports{1, -1}));
    EXPECT_FALSE(ids.IsInside("job-1"));
    EXPECT_EQ(ids.Count(), 0);
}

TEST(CuuidCollection, ClearReportsMinusTheCountEvenWhenEmpty) {
    Counter counter;
    CuuidCollection ids;
    ids.SetCallback(&counter);
    ids.Add("a");
    ids.Add("b");
    ids.Add("c");
    counter.reports.clear();

    ids.Clear();
    EXPECT_EQ(counter.reports, (Reports{-3}));
    EXPECT_EQ(ids.Count(), 0);
    EXPECT_EQ(counter.value, 0);

    ids.Clear();
    EXPECT_EQ(counter.reports, (Reports{-3, 0}));
}

TEST(CuuidCollection, SharedCounterFollowsJobsInFlight) {
    // Another view already has five jobs out; ours adds two and gets one answered.
    Counter counter;
    counter.value = 5;
    {
        CuuidCollection ids;
        ids.SetCallback(&counter);
        ids.Add("job-1");
        ids.Add("job-2");
        ids.Remove("job-1");
        EXPECT_EQ(counter.value, 6);
    }
    // Going away with a job pending hands our share back.
    EXPECT_EQ(counter.value, 5);
    EXPECT_EQ(counter.reports.back(), -1);
}

TEST(CuuidCollection, DestructionReportsOnlyWhenIdsAndCallbackRemain) {
    Counter counter;
    {
        CuuidCollection ids;
        ids.SetCallback(&counter);
        ids.Add("a");
        ids.Remove("a");
    }
    EXPECT_EQ(counter.reports, (Reports{1, -1}));  // no 0 report at destruction

    {
        CuuidCollection ids;
        ids.SetCallback(&counter);
        ids.Add("b");
        ids.SetCallback(nullptr);  // the view clears its callback when it is released
    }
    EXPECT_EQ(counter.reports, (Reports{1, -1, 1}));
}

TEST(CuuidCollection, WithoutCallbackNothingIsReported) {
    Counter counter;
    CuuidCollection ids;
    ids.SetCallback(&counter);
    EXPECT_EQ(ids.Callback(), &counter);
    ids.SetCallback(nullptr);
    EXPECT_EQ(ids.Callback(), nullptr);

    ids.Add("a");
    ids.Remove("a");
    ids.Add("b");
    ids.Clear();
    EXPECT_TRUE(counter.reports.empty());
    EXPECT_EQ(ids.Count(), 0);
}

TEST(CuuidCollection, FailingCallbackIsSwallowedByAddAndRemove) {
    Counter counter;
    counter.failWith = platform::kObjectNotSet;
    CuuidCollection ids;
    ids.SetCallback(&counter);

    EXPECT_NO_THROW(ids.Add("a"));
    EXPECT_TRUE(ids.IsInside("a"));  // the id counts although the report failed
    EXPECT_NO_THROW(ids.Remove("a"));
    EXPECT_FALSE(ids.IsInside("a"));
    EXPECT_EQ(counter.reports, (Reports{1, -1}));
}

TEST(CuuidCollection, FailingCallbackReachesTheCallerOfClear) {
    Counter counter;
    CuuidCollection ids;
    ids.SetCallback(&counter);
    ids.Add("a");
    ids.Add("b");
    counter.failWith = platform::kObjectNotSet;

    try {
        ids.Clear();
        FAIL() << "Clear swallowed the callback's failure";
    } catch (const platform::RuntimeError& e) {
        EXPECT_EQ(e.number(), platform::kObjectNotSet);
    }
    // The report comes first, so the ids are still there when it fails.
    EXPECT_EQ(ids.Count(), 2);

    // Nor may destruction let the failure escape.
    counter.reports.clear();
    auto doomed = std::make_unique<CuuidCollection>();
    doomed->SetCallback(&counter);
    counter.failWith.reset();
    doomed->Add("x");
    counter.failWith = platform::kObjectNotSet;
    EXPECT_NO_THROW(doomed.reset());
    EXPECT_EQ(counter.reports, (Reports{1, -1}));
    counter.failWith.reset();
}

}  // namespace
}  // namespace qx::device
