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

// The room beside the plot: at least this many pixels from the area's left and right edges, so
// that charts stacked one above the other can share their time axis' position and length.
struct PlotRoom {
    int left = 0;
    int right = 0;
    bool operator==(const PlotRoom&) const = default;
};

class ChartPainter {
  public:
    ChartPainter();

    // Paints `chart` into `area` of `painter`, which it leaves as it found it.
    void paint(QPainter& painter, const platform::ChartObject& chart, const QRect& area,
               PlotRoom room = {}) const;

    // The rectangle of `area` the plot takes, inside the axes' labels and titles.
    QRect plotArea(const platform::ChartObject& chart, const QRect& area, PlotRoom room = {}) const;
    // The room the chart's own labels and titles need beside the plot in `area`.
    PlotRoom neededRoom(const platform::ChartObject& chart, const QRect& area) const;

    // The language of the axis titles the chart definition gives in English (1033, 1031; any
    // other number keeps them as they are).
    void setLanguage(int32_t language) { language_ = language; }

  private:
    QFont font_;
    int32_t language_ = 1033;
};

}  // namespace qx::ui
