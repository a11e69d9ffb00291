#pragma once
// Draws a chart model as the chart component shows it: the background, the grid, the areas of
// an Area group, the lines of Plot and Step groups broken at every hole, the symbols, and the
// axes with their labels and titles, all from the look the chart definition gave the model and
// the limits the view set. Each series is decimated to the plot's pixel columns first, so a
// paint costs the same whatever history lies outside the window.
#include <QFont>
#include <QRect>

#include "platform/ChartObject.h"

class QPainter;

namespace qx::ui {

class ChartPainter {
  public:
    ChartPainter();

    // Paints `chart` into `area` of `painter`, which it leaves as it found it. The plot starts at
    // least `leftRoom` pixels right of the area's left edge, so that charts stacked one above
    // the other can share their time axis' position.
    void paint(QPainter& painter, const platform::ChartObject& chart, const QRect& area,
               int leftRoom = 0) const;

    // The rectangle of `area` the plot takes, inside the axes' labels and titles.
    QRect plotArea(const platform::ChartObject& chart, const QRect& area, int leftRoom = 0) const;

  private:
    QFont font_;
};

}  // namespace qx::ui
