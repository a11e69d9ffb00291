// Decimation against a plain reference: every series is checked point by point over all stored
// points, so a binary search that misses the window's edge, a column that loses its extreme or a
// hole that stops breaking the line shows up as a difference.
#include "trend/ChartDecimation.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace qx::trend {
namespace {

struct StoredPoint {
    std::optional<double> x;
    std::optional<int16_t> y;
};

platform::ChartData dataOf(const std::vector<StoredPoint>& points) {
    platform::ChartData d(1);
    d.setNumPoints(static_cast<int32_t>(points.size()));
    for (int32_t p = 1; p <= d.numPoints(); ++p) {
        const StoredPoint& s = points[static_cast<size_t>(p - 1)];
        if (s.x) d.setX(p, *s.x);
        if (s.y) d.setY(1, p, *s.y);
    }
    return d;
}

// The drawn runs as lists of (x, y), for comparisons that read like the expectation.
std::vector<std::vector<std::pair<double, double>>> runsOf(const DecimatedSeries& s) {
    std::vector<std::vector<std::pair<double, double>>> runs;
    for (size_t r = 0; r < s.runCount(); ++r) {
        runs.emplace_back();
        for (size_t i = s.runStarts[r]; i < s.runEnd(r); ++i)
            runs.back().emplace_back(s.vertices[i].x, s.vertices[i].y);
    }
    return runs;
}

using Runs = std::vector<std::vector<std::pair<double, double>>>;

struct Case {
    const char* what;
    std::vector<StoredPoint> points;
    ChartColumns columns;
    Runs expected;
};

// Small hand-made trends whose drawing can be written down.
TEST(ChartDecimationTest, HandMadeTrends) {
    const Case cases[] = {
        {"one column keeps first, lowest, highest and last in stored order",
         {{0.0, 5}, {0.1, 4}, {0.2, 1}, {0.3, 9}, {0.4, 3}, {0.5, 6}},
         {0, 10, 10},
         {{{0.0, 5}, {0.2, 1}, {0.3, 9}, {0.5, 6}}}},
        {"a highest point before the lowest is drawn first",
         {{0.0, 5}, {0.1, 9}, {0.2, 1}, {0.3, 5}},
         {0, 10, 10},
         {{{0.0, 5}, {0.1, 9}, {0.2, 1}, {0.3, 5}}}},
        {"a hole inside a column breaks the line there",
         {{0.0, 5}, {0.1, 8}, {0.2, std::nullopt}, {0.3, 2}, {0.4, 4}},
         {0, 10, 10},
         {{{0.0, 5}, {0.1, 8}}, {{0.3, 2}, {0.4, 4}}}},
        {"a point without X is a hole as well",
         {{0.5, 5}, {std::nullopt, 8}, {1.5, 2}},
         {0, 10, 10},
         {{{0.5, 5}}, {{1.5, 2}}}},
        {"the nearest point beyond each edge is kept, nothing further",
         {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 7}},
         {2.5, 5.5, 3},
         {{{2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}}}},
        {"an edge point found across a run of points without X",
         {{1, 1}, {std::nullopt, 9}, {std::nullopt, 9}, {4, 4}, {std::nullopt, 9}, {9, 9}},
         {2, 5, 3},
         {{{1, 1}}, {{4, 4}}, {{9, 9}}}},
        {"a window before every point shows the first one only", {{5, 1}, {6, 2}}, {0, 1, 4}, {{{5, 1}}}},
        {"an empty window draws nothing", {{0.0, 5}, {0.5, 6}}, {1, 1, 10}, {}},
        {"an empty group draws nothing", {}, {0, 1, 10}, {}},
    };
    for (const Case& c : cases) {
        const auto data = dataOf(c.points);
        EXPECT_EQ(runsOf(decimate(data, 1, c.columns)), c.expected) << c.what;
    }
}

// The reference: what decimation must keep, computed over every stored point.
struct Reference {
    int32_t first = 1, last = 0;  // the span: one point to spare beyond each edge
};

Reference referenceSpan(const std::vector<StoredPoint>& pts, const ChartColumns& w) {
    Reference r;
    const auto n = static_cast<int32_t>(pts.size());
    int32_t before = 0, inside = 0, after = 0;
    for (int32_t p = 1; p <= n; ++p) {
        const auto& x = pts[static_cast<size_t>(p - 1)].x;
        if (!x) continue;
        if (*x < w.xMin) before = p;
        if (*x >= w.xMin && !inside) inside = p;
        if (*x > w.xMax && !after) after = p;
    }
    r.first = before ? before : (inside ? inside : n + 1);
    r.last = after ? after : n;
    return r;
}

// Random trends with holes of both kinds, long runs of points without X and windows anywhere:
// at most four vertices per column, every column's lowest and highest point kept, the vertices
// real points in stored order, and a break exactly where a hole lies between two vertices.
TEST(ChartDecimationTest, MatchesTheReferenceOnRandomTrends) {
    struct Trend {
        int32_t points;
        double holeRate;
        int32_t xGapRun;  // every so many points a run of this length has no X
        int columns;
    };
    const Trend trends[] = {
        {3000, 0.0, 0, 50}, {3000, 0.05, 0, 200}, {5000, 0.3, 1500, 37}, {200, 0.1, 0, 640}};
    std::mt19937 random(7);
    for (const Trend& t : trends) {
        std::vector<StoredPoint> pts;
        std::uniform_real_distribution<double> unit(0, 1);
        std::uniform_int_distribution<int> value(-500, 500);
        double x = 0;
        for (int32_t p = 0; p < t.points; ++p) {
            x += 0.5 + unit(random);
            StoredPoint s;
            const bool noX = t.xGapRun > 0 && (p / t.xGapRun) % 2 == 1;
            if (!noX) s.x = x;
            if (unit(random) >= t.holeRate) s.y = static_cast<int16_t>(value(random));
            pts.push_back(s);
        }
        const auto data = dataOf(pts);
        for (int trial = 0; trial < 20; ++trial) {
            const double a = unit(random) * x * 1.1 - 0.05 * x, b = a + unit(random) * x * 0.5;
            const ChartColumns w{a, b, t.columns};
            const DecimatedSeries d = decimate(data, 1, w);
            const Reference ref = referenceSpan(pts, w);

            // Each vertex is a stored point of the span, in stored order.
            std::vector<int32_t> pointOf;
            int32_t cursor = ref.first;
            for (const ChartVertex& v : d.vertices) {
                while (cursor <= ref.last && !(pts[static_cast<size_t>(cursor - 1)].x == v.x &&
                                               pts[static_cast<size_t>(cursor - 1)].y == v.y))
                    ++cursor;
                ASSERT_LE(cursor, ref.last)
                    << "vertex (" << v.x << ", " << v.y << ") is not a stored point in order";
                pointOf.push_back(cursor++);
            }

            // Per column: the count, and the extremes of the points of the span.
            std::map<int, std::pair<double, double>> extremes;
            std::map<int, int> drawn;
            for (int32_t p = ref.first; p <= ref.last; ++p) {
                const auto& s = pts[static_cast<size_t>(p - 1)];
                if (!s.x || !s.y) continue;
                auto [it, fresh] = extremes.try_emplace(w.columnOf(*s.x), *s.y, *s.y);
                it->second = {std::min<double>(it->second.first, *s.y),
                              std::max<double>(it->second.second, *s.y)};
            }
            std::map<int, std::pair<double, double>> kept;
            for (const ChartVertex& v : d.vertices) {
                ++drawn[w.columnOf(v.x)];
                auto [it, fresh] = kept.try_emplace(w.columnOf(v.x), v.y, v.y);
                it->second = {std::min(it->second.first, v.y), std::max(it->second.second, v.y)};
            }
            for (const auto& [column, n] : drawn) EXPECT_LE(n, 4) << "column " << column;
            EXPECT_EQ(kept, extremes);

            // Breaks exactly where a hole lies between two consecutive vertices.
            std::vector<bool> startsRun(d.vertices.size(), false);
            for (size_t s : d.runStarts) startsRun[s] = true;
            for (size_t i = 1; i < d.vertices.size(); ++i) {
                bool hole = false;
                for (int32_t p = pointOf[i - 1] + 1; p < pointOf[i]; ++p)
                    hole = hole || !pts[static_cast<size_t>(p - 1)].x || !pts[static_cast<size_t>(p - 1)].y;
                EXPECT_EQ(startsRun[i], hole) << "between points " << pointOf[i - 1] << " and " << pointOf[i];
            }
        }
    }
}

}  // namespace
}  // namespace qx::trend
