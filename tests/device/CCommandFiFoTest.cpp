#include "device/CCommandFiFo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/RuntimeError.h"

namespace qx::device {
namespace {

using Keys = std::vector<std::string>;

// Adds the keys in order, then takes out everything the queue kept, oldest first.
Keys queueAndDrain(CCommandFiFo& fifo, const Keys& keys) {
    for (const auto& key : keys) fifo.Add(key);
    Keys out;
    while (fifo.Count() > 0) out.push_back(fifo.Remove());
    return out;
}

TEST(CCommandFiFo, DropsOnlyAKeyEqualToTheNewestEntry) {
    struct Row {
        Keys added, kept;
    };
    const std::vector<Row> rows = {
        {{"ReadOnce", "ReadOnce", "ReadOnce"}, {"ReadOnce"}},
        // A queue that refused any key it already holds would lose the second A.
        {{"A", "B", "A"}, {"A", "B", "A"}},
        {{"ReadOnce", "readonce", "ReadOnce "}, {"ReadOnce", "readonce", "ReadOnce "}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.added));
        CCommandFiFo fifo;
        EXPECT_EQ(queueAndDrain(fifo, row.added), row.kept);
    }
}

TEST(CCommandFiFo, EmptiedQueueTakesKeysAgainAndRefusesRemove) {
    // Remembering the last key added, instead of looking at what the queue holds, drops these.
    CCommandFiFo fifo;
    queueAndDrain(fifo, {"ReadOnce"});
    EXPECT_EQ(queueAndDrain(fifo, {"ReadOnce"}), Keys{"ReadOnce"});
    fifo.Add("B");
    fifo.Clear();
    EXPECT_EQ(fifo.Count(), 0);
    EXPECT_EQ(queueAndDrain(fifo, {"B"}), Keys{"B"});
    EXPECT_THROW(fifo.Remove(), platform::RuntimeError);  // callers ask Count first
}

}  // namespace
}  // namespace qx::device
