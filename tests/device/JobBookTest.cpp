#include "device/JobBook.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/RuntimeError.h"

namespace qx::device {
namespace {

// When a queued read goes out after an answer: only with the read waiting, only the answered job
// pending, and the line up. A rule that looked at fewer of these would send a second read while
// jobs are outstanding or onto a line that is gone.
TEST(JobBook, QueuedReadFollowsOnlyTheLastAnswerOnALiveLine) {
    struct Row {
        const char* label;
        std::vector<std::string> pending;
        bool queued, connected, sent;
    };
    const std::vector<Row> rows = {
        {"last answer, line up", {"a"}, true, true, true},
        {"another job outstanding", {"a", "b"}, true, true, false},
        {"line gone", {"a"}, true, false, false},
        {"nothing queued", {"a"}, false, true, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        JobBook book;
        book.create();
        for (const auto& id : r.pending) book.track(id);
        if (r.queued) book.queueRead();
        EXPECT_EQ(book.takeReadAfterAnswer(r.connected), r.sent);
        // The read is taken out only when it is sent; otherwise it still waits.
        EXPECT_EQ(book.commands()->Count(), r.queued && !r.sent ? 1 : 0);
    }
}

TEST(JobBook, AnAnswerThatOvertookItsIdNeverCountsAsPending) {
    JobBook book;
    book.create();
    book.noteEarlyAnswer("a");
    EXPECT_FALSE(book.allSettled());
    book.track("a");
    EXPECT_FALSE(book.isPending("a"));
    EXPECT_TRUE(book.allSettled());
    book.track("");  // a queuing call that sent nothing
    EXPECT_TRUE(book.nonePending());
}

TEST(JobBook, ForgettingEverythingKeepsTheSettingJobAndThePollButton) {
    JobBook book;
    book.create();
    book.track("a");
    book.noteEarlyAnswer("b");
    book.queueRead();
    book.setTeachJob("t");
    book.setSettingJob("s");
    book.notePollButton(false);
    book.forgetAll();
    EXPECT_TRUE(book.allSettled());
    EXPECT_FALSE(book.isTeachJob("t"));
    EXPECT_TRUE(book.isSettingJob("s"));
    EXPECT_EQ(book.pollButtonLeftPressed(), false);
}

// Before create, every question about jobs fails as a call on "none" does, so a view whose
// creation stopped early reports the failure instead of taking an empty book for an idle one.
TEST(JobBook, WithoutItsCollectionsEveryQuestionFails) {
    JobBook book;
    EXPECT_THROW(book.nonePending(), platform::RuntimeError);
    EXPECT_THROW(book.hasWork(), platform::RuntimeError);
    EXPECT_THROW(book.track("a"), platform::RuntimeError);
    EXPECT_THROW(book.queueRead(), platform::RuntimeError);
    EXPECT_EQ(book.pending(), nullptr);
}

}  // namespace
}  // namespace qx::device
