// The chart widget on the offscreen platform: paints follow the screen's frames, not the model's
// changes, and the mouse reaches the model as the chart's events.
#include "chart/ChartWidget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace qx::ui {
namespace {

class PaintCounter : public QObject {
  public:
    int paints = 0;
    int wholePaints = 0;  // paints of the whole widget, not of a strip

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::Paint) return false;
        ++paints;
        const auto* w = static_cast<QWidget*>(watched);
        if ((QRegion(w->rect()) - static_cast<QPaintEvent*>(e)->region()).isEmpty()) ++wholePaints;
        return false;
    }
};

// A poll appends one point and asks for a redraw, as the view's update does.
void poll(platform::ChartObject& chart) {
    auto& data = chart.group(1).data();
    const int32_t n = data.numPoints() + 1;
    data.setNumPoints(n);
    data.setX(n, n / 3600.0);
    data.setY(1, n, static_cast<int16_t>(n % 100));
    chart.refresh();
}

// Delivers the paints that are due; the widget's own frame timer is muted, so only the frames
// the test plays can ask for paints.
void deliverPaints() {
    QCoreApplication::processEvents();
}

// A poll every millisecond for one simulated second, with a frame of the screen every frame
// interval: one paint per frame at most, none between frames, and the last sample painted.
TEST(ChartWidgetTest, PaintsOncePerFrameWhateverThePollRate) {
    platform::ChartObject chart;
    chart.chartArea().axis("Y").setMax(100);
    ChartWidget widget(chart, nullptr);
    widget.resize(640, 300);
    widget.show();
    widget.findChild<QTimer*>()->blockSignals(true);  // the test plays the frames
    deliverPaints();
    PaintCounter counter;
    widget.installEventFilter(&counter);

    for (int ms = 0; ms < 1000; ++ms) {
        poll(chart);
        deliverPaints();
    }
    EXPECT_EQ(counter.paints, 0) << "a change of the model alone must not paint";

    const int interval = widget.frameInterval();
    ASSERT_GE(interval, 1);
    int frames = 0;
    for (int ms = 1; ms <= 1000; ++ms) {
        poll(chart);
        if (ms % interval == 0) {
            widget.onFrame();
            ++frames;
        }
        deliverPaints();
    }
    EXPECT_EQ(counter.paints, frames);
    EXPECT_LE(counter.paints, 1000 / interval);
    EXPECT_EQ(chart.group(1).data().numPoints(), 2000) << "every sample stays in the model";

    // The next frame shows what came after the last one; a frame without news paints nothing.
    poll(chart);
    widget.onFrame();
    deliverPaints();
    EXPECT_EQ(counter.paints, frames + 1);
    widget.onFrame();
    deliverPaints();
    EXPECT_EQ(counter.paints, frames + 1);

    // Moving the window is news too, also without a refresh (dragging while nothing polls).
    chart.chartArea().axis("X").setMax(1);
    widget.onFrame();
    deliverPaints();
    EXPECT_EQ(counter.paints, frames + 2);
}

// An idle chart asks for no frames (a chart that looks at its model every frame keeps a core busy
// for nothing); a change notice asks for exactly one.
TEST(ChartWidgetTest, AsksForAFrameOnlyWhenTheModelSaysItChanged) {
    platform::ChartObject chart;
    ChartWidget widget(chart, nullptr);
    widget.resize(640, 300);
    widget.show();
    auto* frames = widget.findChild<QTimer*>();
    ASSERT_TRUE(frames->isActive()) << "a chart just shown paints once";
    frames->stop();
    widget.onFrame();
    deliverPaints();
    EXPECT_FALSE(frames->isActive());

    poll(chart);
    EXPECT_TRUE(frames->isActive());
    EXPECT_TRUE(frames->isSingleShot());
    frames->stop();

    chart.chartArea().axis("X").setMax(1);  // a member that sends no notice
    EXPECT_FALSE(frames->isActive());
    widget.frameSoon();  // the frame's word after an event
    EXPECT_TRUE(frames->isActive());
}

// The view's time bar lies on the lowest chart's bottom edge; while a teach-in runs each update
// enables it and the wizard disables it again, so it repaints, and the chart's strip beneath it
// with it. The next frame must still paint the whole chart.
TEST(ChartWidgetTest, ASiblingRepaintedAboveTheChartLeavesTheNextFrameToPaintTheWhole) {
    platform::ChartObject chart;
    chart.chartArea().axis("Y").setMax(100);
    QWidget pane;
    pane.resize(640, 300);
    auto* widget = new ChartWidget(chart, &pane);
    widget->setGeometry(0, 0, 640, 300);
    auto* bar = new QScrollBar(Qt::Horizontal, &pane);
    bar->setGeometry(40, 270, 500, 16);
    pane.show();
    widget->findChild<QTimer*>()->blockSignals(true);  // the test plays the frames
    deliverPaints();
    PaintCounter counter;
    widget->installEventFilter(&counter);

    for (int update = 1; update <= 3; ++update) {
        poll(chart);
        bar->setEnabled(!bar->isEnabled());
        deliverPaints();
        widget->onFrame();
        deliverPaints();
        EXPECT_EQ(counter.wholePaints, update) << "update " << update;
    }
    EXPECT_EQ(counter.paints - counter.wholePaints, 3) << "the bar's repaints reach the chart";
}

// Each mouse move is one "MouseMove" with buttons and shift state counted as the chart counts
// them, also a move without a button (which ends a drag in the view).
TEST(ChartWidgetTest, MouseMovesReachTheModel) {
    platform::ChartObject chart;
    std::vector<std::vector<int32_t>> seen;
    chart.ObjectEvent = [&](const platform::ObjectEventInfo& info) {
        ASSERT_EQ(info.name, "MouseMove");
        std::vector<int32_t> params;
        for (const auto& p : info.params) params.push_back(p.toInt32());
        seen.push_back(params);
    };
    ChartWidget widget(chart, nullptr);
    widget.resize(200, 100);
    widget.show();
    const struct {
        QPoint at;
        Qt::MouseButtons buttons;
        Qt::KeyboardModifiers modifiers;
    } moves[] = {{{10, 20}, Qt::NoButton, Qt::NoModifier},
                 {{30, 40}, Qt::LeftButton, Qt::NoModifier},
                 {{50, 60}, Qt::RightButton | Qt::MiddleButton, Qt::ShiftModifier | Qt::AltModifier}};
    for (const auto& m : moves) {
        QMouseEvent e(QEvent::MouseMove, QPointF(m.at), widget.mapToGlobal(QPointF(m.at)), Qt::NoButton,
                      m.buttons, m.modifiers);
        QApplication::sendEvent(&widget, &e);
    }
    const std::vector<std::vector<int32_t>> expected = {{0, 0, 10, 20}, {1, 0, 30, 40}, {6, 5, 50, 60}};
    EXPECT_EQ(seen, expected);
}

}  // namespace
}  // namespace qx::ui
