// The window's clock. An interactive window runs on the present date and time of day (a made-up
// clock puts every chart point and export at the wrong time), and it sleeps until something
// falls due instead of stepping time on a timer (a busy loop costs a core's share while idle).
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

#include "WindowStand.h"

namespace qx::window::test {
namespace {

TEST(WindowClock, AnInteractiveWindowsTrendStartsAtThePresentTime) {
    WindowStand stand(false);
    stand.window.useRealTimeOfDay();
    const QDateTime before = QDateTime::currentDateTime();
    ASSERT_EQ(stand.window.openDevice({}, {}), std::nullopt);
    stand.window.runFor(3000);

    QTemporaryDir dir;
    const QString path = dir.filePath("trend.csv");
    stand.window.runLine("export csv \"" + path.toStdString() + "\"");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString comment = QString::fromUtf8(file.readLine()).trimmed();
    file.readLine();  // the header
    const QString firstRow = QString::fromUtf8(file.readLine());

    // The comment line carries the date and time the trend started, the first row its time.
    const QDateTime start = QDateTime::fromString(comment.section("trend start ", 1), "yyyy-MM-dd HH:mm:ss");
    ASSERT_TRUE(start.isValid()) << comment.toStdString();
    EXPECT_LE(std::abs(start.secsTo(before)), 5) << comment.toStdString();
    const QTime first = QTime::fromString(firstRow.section(',', 0, 0), "HH:mm:ss");
    ASSERT_TRUE(first.isValid()) << firstRow.toStdString();
    const int apart = std::abs(first.secsTo(before.time()));
    EXPECT_LE(std::min(apart, 86400 - apart), 10) << firstRow.toStdString();  // also across midnight
}

TEST(WindowClock, AnIdleWindowSleepsUntilTheNextPoll) {
    WindowStand stand;
    stand.window.startClock();
    stand.window.runFor(3000);
    // Polling once a second, the answer to a read comes after the line's latency, and then nothing
    // falls due until the next tick: the alarm is set that far. A window that steps time on a
    // short timer never sleeps longer than its step.
    // While the view polls something always waits, so the pacer always has an alarm set.
    const auto longestSleep = [&] {
        int64_t longest = 0;
        for (int hop = 0; hop < 6; ++hop) {
            stand.window.pacer().step();
            const auto alarm = stand.window.pacer().alarmInMs();
            if (!alarm) return int64_t{-1};
            longest = std::max<int64_t>(longest, *alarm);
            stand.window.runFor(*alarm + 1);
        }
        return longest;
    };
    EXPECT_GT(longestSleep(), 500);

    // Released, Poll leaves at most the view's slow timers.
    stand.clickTool("Poll");
    stand.window.runFor(3000);
    stand.window.pacer().step();
    const auto idle = stand.window.pacer().alarmInMs();
    EXPECT_TRUE(!idle || *idle > 500);
}

}  // namespace
}  // namespace qx::window::test
