#include "device/CCommandFiFo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/RuntimeError.h"

namespace qx::device {
namespace {

std::vector<std::string> drain(CCommandFiFo& fifo) {
    std::vector<std::string> out;
    while (fifo.Count() > 0) out.push_back(fifo.Remove());
    return out;
}

TEST(CCommandFiFo, RepeatedRequestsWhileConnectingCollapseIntoOne) {
    CCommandFiFo fifo;
    fifo.Add("ReadOnce");
    fifo.Add("ReadOnce");
    fifo.Add("ReadOnce");
    EXPECT_EQ(drain(fifo), (std::vector<std::string>{"ReadOnce"}));
}

TEST(CCommandFiFo, OnlyTheNewestEntryIsCompared) {
    // A queue that refused any key it already holds would lose the second A.
    CCommandFiFo fifo;
    fifo.Add("A");
    fifo.Add("B");
    fifo.Add("A");
    EXPECT_EQ(fifo.Count(), 3);
    EXPECT_EQ(drain(fifo), (std::vector<std::string>{"A", "B", "A"}));
}

TEST(CCommandFiFo, ComparisonIsExactAndCaseSensitive) {
    CCommandFiFo fifo;
    fifo.Add("ReadOnce");
    fifo.Add("readonce");
    fifo.Add("ReadOnce ");
    EXPECT_EQ(fifo.Count(), 3);
}

TEST(CCommandFiFo, KeysTakenOutOrClearedCanBeQueuedAgain) {
    // Remembering the last key added, instead of looking at what the queue holds, drops these.
    CCommandFiFo fifo;
    fifo.Add("ReadOnce");
    EXPECT_EQ(fifo.Remove(), "ReadOnce");
    fifo.Add("ReadOnce");
    EXPECT_EQ(fifo.Count(), 1);

    fifo.Add("B");
    fifo.Clear();
    EXPECT_EQ(fifo.Count(), 0);
    fifo.Add("B");
    EXPECT_EQ(fifo.Count(), 1);
}

TEST(CCommandFiFo, RemoveOnEmptyQueueRaisesToTheCaller) {
    CCommandFiFo fifo;
    try {
        fifo.Remove();
        FAIL() << "Remove on an empty queue returned";
    } catch (const platform::RuntimeError& e) {
        EXPECT_EQ(e.number(), platform::kSubscriptOutOfRange);
    }
    fifo.Add("A");
    fifo.Remove();
    EXPECT_THROW(fifo.Remove(), platform::RuntimeError);
    EXPECT_EQ(fifo.Count(), 0);
}

}  // namespace
}  // namespace qx::device
