#pragma once
// The points of one chart group. All series of the group share one X array: point p has one X
// value and one Y value per series. Point indices run from 1 to NumPoints; a value never written
// is a hole, which the chart draws as a gap.
//
// Y values are 16-bit (int16_t), the width of every value the view plots. X values are doubles
// (the view's X is hours since the trend started) and must be finite.
//
// Failures: an index outside 1..NumPoints, or a series outside 1..seriesCount(), fails with
// error 9 (subscript out of range), for reads and writes alike; a negative NumPoints or a
// non-finite X fails with error 380 (invalid property value). A failed call changes nothing.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/ChartColumn.h"
#include "platform/PackageInternal.h"

namespace qx::platform {

class QX_FLOW_INTERNAL ChartData {
  public:
    explicit ChartData(int seriesCount);

    int seriesCount() const { return static_cast<int>(y_.size()); }

    int32_t numPoints() const { return x_.size(); }
    // Growing adds holes; shrinking drops the points beyond n. Costs the same whatever the
    // length, apart from releasing the storage of dropped points.
    void setNumPoints(int32_t n);

    std::optional<double> x(int32_t p) const;
    void setX(int32_t p, double value);

    std::optional<int16_t> y(int series, int32_t p) const;

    // The nearest point at or after p (at or before p) whose X is written; 0 when there is none.
    // Any p is allowed. A front end searching the visible X range skips the points a group
    // leaves without X this way, at a cost that does not grow with the length of such a run.
    int32_t nextPointWithX(int32_t p) const;
    int32_t previousPointWithX(int32_t p) const;
    void setY(int series, int32_t p, int16_t value);

  private:
    int32_t pointSlot(int32_t p) const;
    size_t seriesSlot(int series) const;

    ChartColumn<double> x_;
    std::vector<ChartColumn<int16_t>> y_;
};

}  // namespace qx::platform
