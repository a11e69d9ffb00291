// The points of a chart group: holes against written values, the index limits, and a count that
// shrinks and grows. Chunk edges get their own cases because that is where chunked storage breaks.
#include <gtest/gtest.h>

#include <limits>

#include "platform/ChartData.h"
#include "platform/TestSupport.h"

namespace qx::platform {
namespace {

using test::errorOf;
constexpr int32_t kChunk = ChartColumn<double>::kChunkSize;

TEST(ChartData, UnwrittenValuesAreHolesAndIndicesOutsideTheCountFailChangingNothing) {
    ChartData d(4);
    EXPECT_EQ(errorOf([&] { d.x(1); }), kSubscriptOutOfRange);  // an empty chart has no point 1
    d.setNumPoints(3);
    d.setX(1, 0.0);
    d.setY(1, 1, 0);
    d.setY(2, 3, -32768);  // the lowest value is a value like any other, not a hole marker
    EXPECT_EQ(d.x(1), 0.0);
    EXPECT_EQ(d.x(2), std::nullopt);
    EXPECT_EQ(d.y(1, 1), int16_t{0});
    EXPECT_EQ(d.y(2, 1), std::nullopt);
    EXPECT_EQ(d.y(2, 3), int16_t{-32768});
    EXPECT_EQ(d.y(4, 2), std::nullopt);

    EXPECT_EQ(errorOf([&] { d.setX(4, 1.0); }), kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { d.setY(1, 4, 7); }), kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { d.setX(0, 1.0); }), kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { d.y(1, 0); }), kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { d.setY(5, 1, 7); }), kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { d.y(0, 1); }), kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { d.setNumPoints(-1); }), kInvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { d.setX(1, std::numeric_limits<double>::quiet_NaN()); }), kInvalidPropertyValue);
    EXPECT_EQ(d.numPoints(), 3);
    EXPECT_EQ(d.x(1), 0.0);
}

TEST(ChartData, ValuesAtChunkEdgesStayApartAndPointsDroppedByAShrinkComeBackAsHoles) {
    // An off-by-one in the chunk or bit arithmetic shows up as a value landing next door. Clearing
    // sets the count to 0 and the next trend grows it again: an old value must never reappear,
    // whether its chunk was released or is the one the shrink cut through.
    ChartData d(2);
    const int32_t n = 2 * kChunk + 100, cut = kChunk + 37;
    d.setNumPoints(n);
    for (int32_t p = 1; p <= n; ++p) {
        d.setX(p, p / 3600.0);
        d.setY(2, p, static_cast<int16_t>(p % 30000));
    }
    for (int32_t p : {kChunk - 1, kChunk, kChunk + 1, 2 * kChunk, 2 * kChunk + 1}) {
        EXPECT_EQ(d.x(p), p / 3600.0) << p;
        EXPECT_EQ(d.y(2, p), static_cast<int16_t>(p % 30000)) << p;
        EXPECT_EQ(d.y(1, p), std::nullopt) << p;
    }

    d.setNumPoints(cut);
    EXPECT_EQ(errorOf([&] { d.x(cut + 1); }), kSubscriptOutOfRange);
    d.setNumPoints(n);
    EXPECT_EQ(d.y(2, cut), static_cast<int16_t>(cut % 30000));
    for (int32_t p : {cut + 1, cut + 27, 2 * kChunk, 2 * kChunk + 1, n}) {
        EXPECT_EQ(d.x(p), std::nullopt) << p;
        EXPECT_EQ(d.y(2, p), std::nullopt) << p;
    }
    d.setNumPoints(0);
    d.setNumPoints(5);
    EXPECT_EQ(d.x(1), std::nullopt);
}

}  // namespace
}  // namespace qx::platform
