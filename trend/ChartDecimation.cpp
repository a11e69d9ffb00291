#include "trend/ChartDecimation.h"

#include <array>
#include <cmath>
#include <limits>

namespace qx::trend {

namespace {

// The first point p for which the X of the next point with X at or after p satisfies `beyond`.
// A point without X takes the X of the next one that has it, which keeps the search monotone
// across holes; numPoints() + 1 when no point qualifies.
template <class Beyond>
int32_t firstPointWhere(const platform::ChartData& data, Beyond beyond) {
    int32_t lo = 1, hi = data.numPoints() + 1;
    while (lo < hi) {
        const int32_t mid = lo + (hi - lo) / 2;
        const int32_t q = data.nextPointWithX(mid);
        if (q == 0) {
            hi = mid;
        } else if (beyond(*data.x(q))) {
            hi = mid;
        } else {
            lo = q + 1;
        }
    }
    return lo;
}

// One candidate vertex with its place among the stored points and the number of holes met
// before it: a hole lies between two vertices exactly when their counts differ.
struct Candidate {
    ChartVertex vertex;
    int32_t point = 0;
    int64_t holesBefore = 0;
};

// The points of one pixel column between flushes.
class ColumnBucket {
  public:
    bool empty() const { return count_ == 0; }

    void add(const Candidate& c) {
        if (count_++ == 0) {
            first_ = low_ = high_ = c;
        } else {
            if (c.vertex.y < low_.vertex.y) low_ = c;
            if (c.vertex.y > high_.vertex.y) high_ = c;
        }
        last_ = c;
    }

    // Appends first, lowest, highest and last in stored order, each once, starting a new run
    // wherever a hole lies before a vertex.
    void flush(DecimatedSeries& out, int64_t& holesAtLastVertex) {
        if (count_ == 0) return;
        std::array<const Candidate*, 4> order = {&first_, &low_, &high_, &last_};
        if (high_.point < low_.point) std::swap(order[1], order[2]);
        int32_t previousPoint = 0;
        for (const Candidate* c : order) {
            if (c->point == previousPoint) continue;
            previousPoint = c->point;
            if (out.vertices.empty() || c->holesBefore != holesAtLastVertex)
                out.runStarts.push_back(out.vertices.size());
            out.vertices.push_back(c->vertex);
            holesAtLastVertex = c->holesBefore;
        }
        count_ = 0;
    }

  private:
    int32_t count_ = 0;
    Candidate first_, low_, high_, last_;
};

}  // namespace

int ChartColumns::columnOf(double x) const {
    const double c = std::floor((x - xMin) / (xMax - xMin) * count);
    if (c < 0) return -1;
    if (c >= count) return count;
    return static_cast<int>(c);
}

PointSpan visiblePoints(const platform::ChartData& data, double xMin, double xMax) {
    const int32_t n = data.numPoints();
    const int32_t inside = firstPointWhere(data, [xMin](double x) { return x >= xMin; });
    const int32_t after = firstPointWhere(data, [xMax](double x) { return x > xMax; });
    PointSpan span;
    const int32_t before = inside > 1 ? data.previousPointWithX(inside - 1) : 0;
    span.first = before > 0 ? before : inside;
    const int32_t next = after <= n ? data.nextPointWithX(after) : 0;
    span.last = next > 0 ? next : n;
    return span;
}

DecimatedSeries decimate(const platform::ChartData& data, int series, const ChartColumns& columns) {
    DecimatedSeries out;
    if (columns.empty()) return out;
    const PointSpan span = visiblePoints(data, columns.xMin, columns.xMax);
    ColumnBucket bucket;
    int bucketColumn = std::numeric_limits<int>::min();
    int64_t holes = 0;
    int64_t holesAtLastVertex = 0;
    for (int32_t p = span.first; p <= span.last; ++p) {
        const auto x = data.x(p);
        const auto y = x ? data.y(series, p) : std::nullopt;
        if (!y) {
            ++holes;
            continue;
        }
        const int column = columns.columnOf(*x);
        if (column != bucketColumn) {
            bucket.flush(out, holesAtLastVertex);
            bucketColumn = column;
        }
        bucket.add({{*x, static_cast<double>(*y)}, p, holes});
    }
    bucket.flush(out, holesAtLastVertex);
    return out;
}

}  // namespace qx::trend
