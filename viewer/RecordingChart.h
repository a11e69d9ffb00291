#pragma once
// One chart of the recording viewer on screen. It draws through RecordingPainter and turns the
// mouse into requests the viewer decides on: the wheel zooms around the pointer, a drag pans, a
// drag that starts on a cursor moves that cursor; resting on an event marker shows the events
// there. The window it shows belongs to the viewer, which keeps both charts on the same one.
#include <QWidget>
#include <functional>

#include "viewer/RecordingPainter.h"

namespace qx::viewer {

class RecordingChart : public QWidget {
  public:
    RecordingChart(const Recording& recording, ChartContent content, const ChartWindow& window,
                   QWidget* parent);

    void setContent(ChartContent content);
    QRect plotArea() const { return painter_.plotArea(rect()); }
    // The text a pointer resting at `pos` shows; empty where there is no event marker.
    QString toolTipAt(const QPoint& pos) const;

    std::function<void(double fromMs, double toMs)> onWindow;
    std::function<void(bool b, double tMs)> onCursor;

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;

  private:
    enum class Drag { None, Pan, CursorA, CursorB };
    // The cursor whose line lies within reach of x, if any (B wins where they overlap, as it is drawn on
    // top).
    Drag cursorAt(double x) const;

    const Recording& recording_;
    ChartContent content_;
    const ChartWindow& window_;
    RecordingPainter painter_;
    Drag drag_ = Drag::None;
    double pressX_ = 0;
    ChartWindow pressWindow_;
};

}  // namespace qx::viewer
