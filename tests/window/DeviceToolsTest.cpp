// The window's device tools as a person uses them: the line's diagnostics behind the status
// bar's line field, and parameter sets from the Device menu with the table shown before a write.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "LineDialog.h"
#include "MenuDialogs.h"
#include "WindowStand.h"

namespace qx::window::test {
namespace {

TEST(DeviceTools, TheLineFieldOpensTheLinesCounters) {
    WindowStand stand;
    stand.window.runFor(3500);
    auto* field = stand.window.statusBar()->findChild<QLabel*>("LineStatus");
    ASSERT_NE(field, nullptr);
    QTest::mouseClick(field, Qt::LeftButton);
    auto* dialog = stand.window.findChild<LineDialog*>("LineDialog");
    ASSERT_NE(dialog, nullptr);
    auto* table = dialog->findChild<QTableWidget*>("LineDiagnostics");
    ASSERT_NE(table, nullptr);
    std::map<std::string, std::string> rows;
    for (int r = 0; r < table->rowCount(); ++r)
        rows[table->item(r, 0)->text().toStdString()] = table->item(r, 1)->text().toStdString();
    EXPECT_EQ(rows["line"], "sim");
    EXPECT_EQ(rows["address"], "-");
    EXPECT_EQ(rows["requests"], rows["answers"]);
    EXPECT_NE(rows["requests"], "0") << "the view has polled";
    EXPECT_EQ(rows["p50"], "50 ms") << "the simulated device answers after 50 ms";
    dialog->close();
}

TEST(DeviceTools, ALoadShowsWhatDiffersAndWritesOnlyWhenConfirmed) {
    WindowStand stand;
    stand.window.runFor(1500);
    QTemporaryDir dir;
    const QString path = dir.filePath("fm1.json");
    chooseNextFile(path);
    trigger(stand.window, "Device", "Save parameters");
    stand.window.runFor(500);
    ASSERT_NE(stand.transcript.str().find("saved " + path.toStdString() + " "), std::string::npos)
        << stand.transcript.str();

    ASSERT_TRUE(stand.console.frame().sim().set("SWPOINT", "70"));
    std::vector<frame::Difference> shown;
    bool answer = false;
    stand.window.parameterSets().confirm = [&](const std::string&, const std::vector<frame::Difference>& d,
                                               bool load) {
        EXPECT_TRUE(load);
        shown = d;
        return answer;
    };
    chooseNextFile(path);
    trigger(stand.window, "Device", "Load parameter set");
    stand.window.runFor(500);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].name + " " + shown[0].fileText + " " + shown[0].deviceText, "SWPOINT 60 70");
    EXPECT_EQ(stand.console.frame().sim().value("SWPOINT"), "70") << "declined: nothing written";

    answer = true;
    stand.window.parameterSets().compare(path.toStdString(), true);
    stand.window.runFor(500);
    EXPECT_EQ(stand.console.frame().sim().value("SWPOINT"), "60");
    EXPECT_NE(stand.transcript.str().find("loaded " + path.toStdString() + ": 1 parameters"),
              std::string::npos)
        << stand.transcript.str();
}

}  // namespace
}  // namespace qx::window::test
