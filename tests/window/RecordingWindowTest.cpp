// The window's commissioning record: the run recorded into a folder under a name of date, time
// and device, a note typed into the Note bar reaching the file, File › Commissioning report
// writing a PDF, and a recording that cannot be made told once in the status bar while the run
// goes on.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "MenuDialogs.h"
#include "WindowStand.h"
#include "record/RecordingReader.h"

namespace qx::window::test {
namespace {

TEST(RecordingWindow, RecordsTheRunTakesANoteAndWritesTheReport) {
    WindowStand stand;
    QTemporaryDir dir;
    stand.window.recordRun(dir.path().toStdString());
    const QString path = QString::fromStdString(stand.window.recordingPath());
    EXPECT_TRUE(QRegularExpression(R"(/\d{8}-\d{6}-FM1\.qxrec$)").match(path).hasMatch())
        << path.toStdString();
    stand.window.runFor(3000);

    auto* text = stand.window.findChild<QLineEdit*>("NoteText");
    auto* button = stand.window.findChild<QPushButton*>("NoteButton");
    ASSERT_TRUE(text && button);
    QTest::keyClicks(text, "valve opened to 80 %");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(text->text().isEmpty());
    stand.window.runFor(2000);

    const auto r = record::readRecording(path.toStdString());
    EXPECT_EQ(r.fact("device_name"), "FM1");
    EXPECT_GE(r.samples.size(), 4u);
    ASSERT_FALSE(r.events.empty());
    bool noted = false;
    for (const auto& e : r.events) noted = noted || (e.kind == "note" && e.text == "valve opened to 80 %");
    EXPECT_TRUE(noted);

    QAction* report = menuAction(stand.window, "File", "Commissioning report");
    ASSERT_NE(report, nullptr);
    chooseNextFile(dir.filePath("commissioning"));
    report->trigger();
    QFile pdf(dir.filePath("commissioning.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_EQ(pdf.read(5), QByteArray("%PDF-"));
}

TEST(RecordingWindow, ARecordingThatCannotBeMadeIsToldOnceAndTheRunGoesOn) {
    WindowStand stand;
    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    stand.window.recordRun(dir.filePath("file/recordings").toStdString());  // a file where a folder must be
    EXPECT_TRUE(stand.window.recordingPath().empty());
    EXPECT_TRUE(stand.window.statusBar()->currentMessage().startsWith("The run is not being recorded"))
        << stand.window.statusBar()->currentMessage().toStdString();
    stand.window.runFor(3000);
    QApplication::processEvents();
    const auto boxes = stand.window.findChildren<QMessageBox*>();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_FALSE(boxes[0]->isModal());
    // The run went on and is journalled for the report.
    EXPECT_GE(stand.console.recorder().journal().samples().size(), 2u);
}

}  // namespace
}  // namespace qx::window::test
