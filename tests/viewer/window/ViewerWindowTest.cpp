// The recording viewer used through the mouse on the offscreen platform: opened as the frame
// opens it, cursors dragged along the chart, the wheel zooming around the pointer, a drag
// panning, an event picked in the list, a marker's events on hover, and the shown range exported
// as CSV and PNG. What the readout says is checked against the raw samples.
#include <QApplication>
#include <QHeaderView>
#include <QListWidget>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>
#include <fstream>

#include <gtest/gtest.h>

#include "viewer/RecordingChart.h"
#include "viewer/RecordingCsv.h"
#include "viewer/RecordingFixture.h"
#include "viewer/RecordingViewer.h"
#include "viewer/ViewerLauncher.h"

namespace qx::viewer {
namespace {

using test::tenOClock;

void send(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
    QMouseEvent e(type, at, w->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                  buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Press, a few moves on the way, release: as a hand drags.
void drag(QWidget* w, QPointF from, QPointF to) {
    send(w, QEvent::MouseButtonPress, from, Qt::LeftButton);
    for (int i = 1; i <= 4; ++i) send(w, QEvent::MouseMove, from + (to - from) * i / 4.0, Qt::LeftButton);
    send(w, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

void wheel(QWidget* w, QPointF at, int notches) {
    QWheelEvent e(at, w->mapToGlobal(at), {}, {0, 120 * notches}, Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

double numberIn(const QTableWidget* t, int r, int c) {
    bool ok = false;
    const double v = QLocale(QLocale::English).toDouble(t->item(r, c)->text().remove(" s"), &ok);
    EXPECT_TRUE(ok) << "row " << r << " column " << c << ": " << t->item(r, c)->text().toStdString();
    return v;
}

class ViewerWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        file_.add(test::teachInSamples(6000, 100));  // ten minutes
        file_.add(test::RawEvent{tenOClock() + 120000, "teach-state", "max taught"});
        file_.add(test::RawEvent{tenOClock() + 200000, "note", "valve half open"});
        viewer_ = openViewer(nullptr, 1033, file_.path(), false);
        ASSERT_NE(viewer_, nullptr);
        viewer_->resize(1000, 700);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer_));
    }
    void TearDown() override { delete viewer_; }

    // Where time t lies on the flow chart, halfway down its plot.
    QPointF at(double t) const {
        const QRect plot = viewer_->flowChart()->plotArea();
        return {RecordingPainter::xOf(plot, viewer_->window(), t), plot.center().y() + 0.0};
    }
    double timeAt(double x) const {
        return RecordingPainter::timeAt(viewer_->flowChart()->plotArea(), viewer_->window(), x);
    }
    void expectReadoutAgreesWithTheSamples() {
        const auto* t = viewer_->readout();
        const double a = *viewer_->window().cursorA, b = *viewer_->window().cursorB;
        EXPECT_EQ(t->item(0, 0)->text().toStdString(), localIsoTime(std::llround(a)).substr(11));
        EXPECT_EQ(t->item(0, 1)->text().toStdString(), localIsoTime(std::llround(b)).substr(11));
        EXPECT_NEAR(numberIn(t, 0, 2), (b - a) / 1000, 0.0005);
        for (int r = 1; r <= 2; ++r) {
            const auto brute = test::bruteStatistics(file_.samples(), r - 1, std::min(a, b), std::max(a, b));
            ASSERT_GT(brute.count, 0);
            EXPECT_EQ(numberIn(t, r, 3), brute.low) << "row " << r;
            EXPECT_EQ(numberIn(t, r, 4), brute.high) << "row " << r;
            EXPECT_NEAR(numberIn(t, r, 5), brute.mean, 0.005) << "row " << r;
        }
    }

    test::RecordingFile file_{"window.sqlite"};
    RecordingViewer* viewer_ = nullptr;
};

TEST_F(ViewerWindowTest, CursorsMovedByMouseAndTheWheelZoomAroundThePointer) {
    auto* chart = viewer_->flowChart();
    EXPECT_EQ(viewer_->readout()->verticalHeaderItem(1)->text(), "Flow [cm/s]");
    const double t0 = static_cast<double>(tenOClock());

    // Cursor A from where it stands to a minute in, B to four minutes in.
    drag(chart, at(*viewer_->window().cursorA), at(t0 + 60000));
    EXPECT_NEAR(*viewer_->window().cursorA, t0 + 60000, 1000);
    drag(viewer_->temperatureChart(), at(*viewer_->window().cursorB), at(t0 + 240000));
    EXPECT_NEAR(*viewer_->window().cursorB, t0 + 240000, 1000);
    expectReadoutAgreesWithTheSamples();

    // Three notches in around cursor A's time: the window narrows to half, A stays under the pointer.
    const double width = viewer_->window().toMs - viewer_->window().fromMs;
    const QPointF pointer = at(*viewer_->window().cursorA);
    const double pivot = timeAt(pointer.x());
    wheel(chart, pointer, 3);
    EXPECT_NEAR(viewer_->window().toMs - viewer_->window().fromMs, width * 0.512, 1);
    EXPECT_NEAR(timeAt(pointer.x()), pivot, 1);
    // Zoomed in, B drags onto a finer place: seconds, with a lost connection in between.
    drag(chart, at(*viewer_->window().cursorA), at(t0 + 47000));
    drag(chart, at(t0 + 47000) + QPointF(40, 0),
         at(t0 + 47000) + QPointF(40, 0));  // a click on nothing moves no cursor
    viewer_->placeCursor(true, t0 + 49000);
    expectReadoutAgreesWithTheSamples();
    EXPECT_EQ(viewer_->readout()->item(1, 1)->text(), "–");  // B sits in a lost connection (samples 480..499)

    // Out again beyond the whole recording: no wider than the recording with its margin.
    wheel(chart, at(t0), -40);
    EXPECT_LE(viewer_->window().toMs - viewer_->window().fromMs, 600000 * 1.05 + 2000);
    EXPECT_LE(viewer_->window().fromMs, t0);
}

TEST_F(ViewerWindowTest, DragPansEventsAreFoundAndTheShownRangeExports) {
    auto* chart = viewer_->flowChart();
    const double t0 = static_cast<double>(tenOClock());
    viewer_->showRange(t0 + 100000, t0 + 160000);
    // Half a plot's width to the left moves the window half its width later.
    const QRect plot = chart->plotArea();
    drag(chart, QPointF(plot.center().x() + 100, plot.center().y()),
         QPointF(plot.center().x() - plot.width() / 2.0 + 100, plot.center().y()));
    EXPECT_NEAR(viewer_->window().fromMs, t0 + 130000, 200);
    EXPECT_NEAR(viewer_->window().toMs, t0 + 190000, 200);

    // The note in the list: the window centres on it; its marker tells it on hover.
    auto* list = viewer_->eventList();
    ASSERT_EQ(list->count(), 2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_NEAR((viewer_->window().fromMs + viewer_->window().toMs) / 2, t0 + 200000, 1);
    EXPECT_EQ(viewer_->window().pickedEvent, 1);
    const QPoint marker(static_cast<int>(std::lround(at(t0 + 200000).x())), chart->plotArea().bottom() + 4);
    EXPECT_TRUE(chart->toolTipAt(marker).contains("valve half open"));
    EXPECT_TRUE(chart->toolTipAt(marker + QPoint(0, -60)).isEmpty());

    // CSV of the shown range: the samples inside it, the note among them.
    const std::string csv = file_.path() + ".csv", png = file_.path() + ".png";
    viewer_->exportCsv(csv);
    std::ifstream in(csv);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    const int inside =
        static_cast<int>(std::count_if(file_.samples().begin(), file_.samples().end(), [&](const auto& s) {
            return static_cast<double>(s.tMs) >= viewer_->window().fromMs &&
                   static_cast<double>(s.tMs) <= viewer_->window().toMs;
        }));
    EXPECT_EQ(static_cast<int>(lines.size()), inside + 2);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.ends_with(",note: valve half open"); }),
              1);

    // PNG: the size asked for, with the legend's colours: the flow line and the switch point.
    viewer_->exportPng(png);
    const QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(1280, 800));
    int switchPoint = 0, flow = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            switchPoint += image.pixelColor(x, y) == QColor(220, 0, 0);
            flow += image.pixelColor(x, y) == QColor(0, 0, 128);
        }
    EXPECT_GT(switchPoint, 100);
    EXPECT_GT(flow, 300);
    std::filesystem::remove(csv);
    std::filesystem::remove(png);
    EXPECT_THROW(viewer_->exportPng("/nonexistent-folder/x.png"), std::runtime_error);
}

// The present run's recording: rows the writer commits later come in on the next read; a viewer
// showing the newest minute moves on with the run, one looking back stays where it is.
TEST_F(ViewerWindowTest, AGrowingRecordingMovesTheNewestMinuteOnAndLeavesALookBackAlone) {
    const double t0 = static_cast<double>(tenOClock());
    viewer_->showLast(60000);
    const double end = viewer_->window().toMs;
    auto more = test::teachInSamples(6600, 100);
    file_.add({more.begin() + 6000, more.end()});  // one minute more
    file_.add(test::RawEvent{tenOClock() + 630000, "note", "a minute later"});
    EXPECT_TRUE(viewer_->readNew());
    EXPECT_GE(viewer_->window().toMs, t0 + 659900);
    EXPECT_GE(viewer_->window().toMs - end, 60000);
    EXPECT_NEAR(viewer_->window().toMs - viewer_->window().fromMs, 60000, 1);
    EXPECT_EQ(viewer_->eventList()->count(), 3);
    EXPECT_FALSE(viewer_->readNew());

    viewer_->showRange(t0, t0 + 60000);
    file_.add({test::RawSample{tenOClock() + 660000, {}}});
    EXPECT_TRUE(viewer_->readNew());
    EXPECT_EQ(viewer_->window().fromMs, t0);
}

}  // namespace
}  // namespace qx::viewer
