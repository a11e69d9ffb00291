#pragma once
// Reduces one series of a chart group to what a plot area of a given width can show: at most
// four vertices per pixel column (the column's first, lowest, highest and last point, in the
// order they were stored), plus the nearest point on each side of the visible X range so that
// lines run on to the edges. A point without X or without Y is a hole and breaks the line, also
// when it falls inside a column. The cost depends on the points inside the window, never on the
// history around it: the window's ends are found by binary search over the stored X values,
// which a trend appends in time order.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/ChartData.h"

namespace qx::trend {

// The window on the X axis and the number of pixel columns it spans.
struct ChartColumns {
    double xMin = 0;
    double xMax = 0;
    int count = 0;

    bool empty() const { return !(xMax > xMin) || count <= 0; }
    // The column x falls in: -1 left of the window, count right of it.
    int columnOf(double x) const;
};

struct ChartVertex {
    double x = 0;
    double y = 0;
};

// The vertices to draw, as runs: run r is vertices[runStarts[r]] up to the next run's start.
struct DecimatedSeries {
    std::vector<ChartVertex> vertices;
    std::vector<size_t> runStarts;

    size_t runCount() const { return runStarts.size(); }
    size_t runEnd(size_t r) const { return r + 1 < runStarts.size() ? runStarts[r + 1] : vertices.size(); }
};

// Stored points first..last (1-based, inclusive) cover the window with one point to spare on
// each side where the group has one; empty when first > last.
struct PointSpan {
    int32_t first = 1;
    int32_t last = 0;
    bool empty() const { return first > last; }
};

PointSpan visiblePoints(const platform::ChartData& data, double xMin, double xMax);

// `series` counts from 1 as the chart's series do.
DecimatedSeries decimate(const platform::ChartData& data, int series, const ChartColumns& columns);

}  // namespace qx::trend
