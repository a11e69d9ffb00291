#pragma once
// The series of a chart as the painter draws them inside the plot: an Area group as regions
// filled down to the bottom of its axis, Plot and Step groups as lines broken at every hole, with
// the symbols of their styles. Group 2 (the band on Y2) lies behind group 1; within a line group
// the first series is drawn last, so the process value stays on top of its reference lines.
#include <QColor>
#include <QPen>
#include <QRectF>
#include <cstdint>

#include "chart/ModelColour.h"
#include "platform/ChartObject.h"

class QPainter;

namespace qx::ui {

// Draws the groups of one kind, the areas (which the grid goes over) or the lines, each series
// decimated to one pixel column per unit of the plot's width.
void drawGroups(QPainter& painter, const platform::ChartObject& chart, const QRectF& plot, bool areas);

// The pen a line series of that style is drawn with; Qt::NoPen for a style without a line.
QPen linePenOf(const platform::ChartStyle& style);

}  // namespace qx::ui
