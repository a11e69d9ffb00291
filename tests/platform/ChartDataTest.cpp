// The points of a chart group: holes against written values, the index limits, and a count that
// shrinks and grows. Chunk edges get their own cases because that is where chunked storage breaks.
#include <gtest/gtest.h>

#include <limits>

#include "platform/ChartData.h"
#include "platform/RuntimeError.h"

namespace qx::platform {
namespace {

constexpr int32_t kChunk = ChartColumn<double>::kChunkSize;

int32_t errorOf(auto&& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(ChartData, UnwrittenValuesAreHolesDistinctFromZero) {
    ChartData d(4);
    d.setNumPoints(3);
    d.setX(1, 0.0);
    d.setY(1, 1, 0);
    d.setY(2, 3, -32768);  // the lowest value is a value like any other, not a hole marker

    EXPECT_EQ(d.x(1), 0.0);
    EXPECT_EQ(d.x(2), std::nullopt);
    EXPECT_EQ(d.y(1, 1), int16_t{0});
    EXPECT_EQ(d.y(2, 1), std::nullopt);
    EXPECT_EQ(d.y(2, 3), int16_t{-32768});
    EXPECT_EQ(d.y(3, 3), std::nullopt);
    EXPECT_EQ(d.y(4, 2), std::nullopt);
}

TEST(ChartData, ValuesOnBothSidesOfAChunkEdgeStayApart) {
    // An off-by-one in the chunk or bit arithmetic shows up as a value landing next door.
    ChartData d(2);
    d.setNumPoints(3 * kChunk + 1);
    for (int32_t p : {kChunk, kChunk + 1, 2 * kChunk, 3 * kChunk + 1}) {
        d.setX(p, p / 3600.0);
        d.setY(2, p, static_cast<int16_t>(p % 30000));
    }
    for (int32_t p : {kChunk, kChunk + 1, 2 * kChunk, 3 * kChunk + 1}) {
        EXPECT_EQ(d.x(p), p / 3600.0) << p;
        EXPECT_EQ(d.y(2, p), static_cast<int16_t>(p % 30000)) << p;
        EXPECT_EQ(d.y(1, p), std::nullopt) << p;
    }
    for (int32_t p : {kChunk - 1, kChunk + 2, 2 * kChunk - 1, 2 * kChunk + 1, 3 * kChunk})
        EXPECT_EQ(d.x(p), std::nullopt) << p;
}

TEST(ChartData, IndicesOutsideTheCountFailAndChangeNothing) {
    ChartData d(4);
    EXPECT_EQ(errorOf([&] { d.x(1); }), kSubscriptOutOfRange);  // an empty chart has no point 1
    d.setNumPoints(2);
    d.setX(2, 1.5);

    EXPECT_EQ(errorOf([&] { d.setX(3, 1.0); }), kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { d.setY(1, 3, 7); }), kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { d.setX(0, 1.0); }), kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { d.x(3); }), kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { d.y(1, 0); }), kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { d.setY(5, 1, 7); }), kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { d.y(0, 1); }), kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { d.setNumPoints(-1); }), kInvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { d.setX(1, std::numeric_limits<double>::quiet_NaN()); }), kInvalidPropertyValue);

    EXPECT_EQ(d.numPoints(), 2);
    EXPECT_EQ(d.x(1), std::nullopt);
    EXPECT_EQ(d.x(2), 1.5);
}

TEST(ChartData, PointsDroppedByAShrinkComeBackAsHoles) {
    // Clearing sets the count to 0 and the next trend grows it again: an old value must never
    // reappear, whether its chunk was released or is the one the shrink cut through.
    ChartData d(2);
    const int32_t n = 2 * kChunk + 100;
    d.setNumPoints(n);
    for (int32_t p = 1; p <= n; ++p) {
        d.setX(p, p);
        d.setY(1, p, static_cast<int16_t>(p % 1000));
    }
    const int32_t cut = kChunk + 37;
    d.setNumPoints(cut);
    EXPECT_EQ(d.numPoints(), cut);
    EXPECT_EQ(errorOf([&] { d.x(cut + 1); }), kSubscriptOutOfRange);

    d.setNumPoints(n);
    EXPECT_EQ(d.x(cut), cut);
    EXPECT_EQ(d.y(1, cut), static_cast<int16_t>(cut % 1000));
    for (int32_t p : {cut + 1, cut + 27, 2 * kChunk, 2 * kChunk + 1, n}) {
        EXPECT_EQ(d.x(p), std::nullopt) << p;
        EXPECT_EQ(d.y(1, p), std::nullopt) << p;
    }

    d.setNumPoints(0);
    d.setNumPoints(5);
    for (int32_t p = 1; p <= 5; ++p) EXPECT_EQ(d.x(p), std::nullopt) << p;
}

TEST(ChartData, GrowingByMoreThanOneAddsPointsWithXAndNoY) {
    // A break in the trend: two points with X only, then the next real point.
    ChartData d(2);
    d.setNumPoints(1);
    d.setX(1, 0.25);
    d.setY(1, 1, 40);

    d.setNumPoints(3);
    d.setX(2, 0.25);
    d.setX(3, 0.5);
    d.setNumPoints(4);
    d.setX(4, 0.5);
    d.setY(1, 4, 42);

    EXPECT_EQ(d.numPoints(), 4);
    EXPECT_EQ(d.x(3), 0.5);
    EXPECT_EQ(d.y(1, 2), std::nullopt);
    EXPECT_EQ(d.y(1, 3), std::nullopt);
    EXPECT_EQ(d.y(1, 4), int16_t{42});
}

}  // namespace
}  // namespace qx::platform
