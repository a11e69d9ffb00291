// A lost line stays on show: after a dropped connection, a failed job or a refused connection the
// status bar names the loss, its time and its status until the next connection, while the view
// itself behaves as it always did (the Poll button pops out, the charts stop).
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>

#include "WindowStand.h"

namespace qx::window::test {
namespace {

QString statusLine(WindowStand& stand) {
    return stand.window.findChild<QLabel*>("LineStatus")->text();
}

struct FaultRow {
    const char* what;
    std::vector<std::string> fault;  // console lines that break the line
    const char* shown;               // what the status bar then says
};

TEST(LineFault, StaysInTheStatusBarUntilTheNextConnection) {
    const std::vector<FaultRow> rows = {
        {"dropped", {"sim abort"}, "lost at 10:00:03 (DISCONNECTED ABORT)"},
        {"failed job", {"sim fail any"}, "lost at 10:00:04 (FAILED)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        WindowStand stand;  // the view opens polling
        stand.window.runFor(3000);
        EXPECT_EQ(statusLine(stand), "Line to the device: simulator, connected");
        for (const auto& line : row.fault) stand.window.runLine(line);
        stand.window.runFor(2000);
        EXPECT_TRUE(statusLine(stand).contains(row.shown)) << statusLine(stand).toStdString();
        stand.window.runFor(60'000);  // long after, with the view idle, it still says so
        EXPECT_TRUE(statusLine(stand).contains(row.shown));
        EXPECT_TRUE(statusLine(stand).contains("press Poll to connect again"));
        EXPECT_FALSE(stand.toolButton("Poll")->isChecked()) << "the view lets Poll pop out";

        stand.clickTool("Poll");
        stand.window.runFor(3000);
        EXPECT_EQ(statusLine(stand), "Line to the device: simulator, connected");
    }
}

// In the narrowest window the loss is still read whole: the status line wraps instead of being
// cut off.
TEST(LineFault, IsReadWholeInTheNarrowestWindow) {
    WindowStand stand;
    stand.window.resize(stand.window.minimumSizeHint());
    stand.window.runFor(3000);
    stand.window.runLine("sim abort");
    stand.window.runFor(2000);
    QApplication::processEvents();
    const auto* line = stand.window.findChild<QLabel*>("LineStatus");
    ASSERT_TRUE(statusLine(stand).contains("press Poll to connect again"));
    ASSERT_LT(line->width(), line->fontMetrics().horizontalAdvance(line->text()))
        << "the window is not narrow";
    // The text laid out in lines of the label's width needs no more height than the label has.
    const QRect needed =
        line->fontMetrics().boundingRect(QRect(0, 0, line->width(), 1000), Qt::TextWordWrap, line->text());
    EXPECT_GE(line->height(), needed.height());
    EXPECT_TRUE(stand.window.rect().contains(line->mapTo(&stand.window, line->rect().bottomRight())));
}

TEST(LineFault, ARefusedConnectionIsShownWithItsTime) {
    WindowStand stand(false);
    stand.window.runLine("sim connect fail");
    EXPECT_EQ(stand.window.openDevice({}, {}), std::nullopt);
    stand.window.runFor(3000);
    EXPECT_TRUE(statusLine(stand).contains("lost at 10:00:00 (CONNECT FAILED)"))
        << statusLine(stand).toStdString();
    stand.window.runLine("sim connect ok");
    stand.clickTool("Poll");
    stand.window.runFor(3000);
    EXPECT_EQ(statusLine(stand), "Line to the device: simulator, connected");
}

// Releasing Poll ends the connection as asked: nothing was lost.
TEST(LineFault, AnEndAskedForIsNoLoss) {
    WindowStand stand(false);
    EXPECT_EQ(stand.window.findChild<QLabel*>("LineStatus")->text(),
              "Line to the device: simulator, not connected");
    EXPECT_EQ(stand.window.openDevice({}, {}), std::nullopt);
    stand.window.runFor(3000);
    EXPECT_EQ(statusLine(stand), "Line to the device: simulator, connected");
    stand.clickTool("Poll");
    stand.window.runFor(3000);
    EXPECT_EQ(statusLine(stand), "Line to the device: simulator, not connected");
}

}  // namespace
}  // namespace qx::window::test
