#pragma once
// A trend chart on screen: paints its chart model and reports the mouse to it.
//
// The view may change the model a thousand times a second (a fast poll), and a paint per change
// would spend the machine on frames nobody sees. So a change notice of the model (or the frame's
// word that models may have changed) asks for one frame, a screen's frame period later; the frame
// repaints only when the model has moved on since the last paint, and a burst of changes between
// two frames ends in one paint that shows all of them. With nothing changing no frame is asked
// for, so an idle chart costs nothing. The model keeps every sample; only paints are saved.
//
// Charts stacked one above the other share the room beside their plots (alignWith), so that
// their time axes stand one above the other whatever their value labels need; the axis titles
// follow the language the view speaks (followLanguage).
//
// Every mouse move over the widget (with mouse tracking, also without a button held) reaches the
// model as the chart's "MouseMove" event, with the position in pixels of the widget.
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "chart/ChartPainter.h"
#include "platform/ChartObject.h"

namespace qx::ui {

// What a paint showed of a model: a paint is due when any of it has changed.
struct ChartStamp {
    uint64_t refreshCount = 0;
    int32_t points1 = 0, points2 = 0;
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0, y2Min = 0, y2Max = 0;
    int32_t timeBase = 0;
    PlotRoom room;         // the room beside the plot, shared with an aligned chart
    int32_t language = 0;  // of the axis titles

    static ChartStamp of(const platform::ChartObject& chart);
    bool operator==(const ChartStamp&) const = default;
};

class ChartWidget : public QWidget {
  public:
    ChartWidget(platform::ChartObject& chart, QWidget* parent);

    // One frame of the screen: asks for a paint when the model has changed since the last one.
    // The widget's own timer calls it one frame period after frameSoon().
    void onFrame();
    // Models may have changed (a notice, or the frame after an event that may have changed them
    // through members that send none): a frame follows within a frame period, while shown.
    void frameSoon();

    // The frame period of the screen the widget is on, in milliseconds.
    int frameInterval() const;

    // From now on both this chart's and `other`'s plot keep the room the larger of them needs on
    // each side, while both are shown.
    void alignWith(ChartWidget* other);
    // The language of the axis titles, asked at each frame (the view learns it when it binds).
    void followLanguage(std::function<int32_t()> language);
    // Where the plot lies in the widget as the next paint draws it.
    QRect plotRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    ChartStamp stamp() const;
    PlotRoom sharedRoom() const;

    platform::ChartObject& chart_;
    QPointer<ChartWidget> partner_;
    std::function<int32_t()> language_;
    ChartPainter painter_;
    ChartStamp painted_;
    QTimer* frames_;  // single-shot; a child, so that a test can stop it and play the frames itself
    platform::Subscription watch_;
};

}  // namespace qx::ui
