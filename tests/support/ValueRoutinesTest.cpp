// MinOf and MaxOf: the smaller and the larger of two numbers, the first one on a tie.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <type_traits>

#include "support/ValueRoutines.h"

namespace qx::support {
namespace {

TEST(ValueRoutines, SmallerAndLargerWithTheFirstOnATie) {
    EXPECT_EQ(MinOf(7, 3), 3);
    EXPECT_EQ(MaxOf(7, 3), 7);
    EXPECT_EQ(MinOf(3, 7), 3);
    EXPECT_EQ(MaxOf(3, 7), 7);
    EXPECT_EQ(MinOf(-32768, int16_t{5}), -32768);
    EXPECT_EQ(MaxOf(2, 2.5), 2.5);  // a whole number and a fraction: the result keeps the fraction
    static_assert(std::is_same_v<decltype(MaxOf(2, 2.5)), double>);
    // 0 and -0 are equal numbers that can still be told apart.
    EXPECT_TRUE(std::signbit(MinOf(-0.0, 0.0)));
    EXPECT_FALSE(std::signbit(MinOf(0.0, -0.0)));
    EXPECT_TRUE(std::signbit(MaxOf(-0.0, 0.0)));
    EXPECT_FALSE(std::signbit(MaxOf(0.0, -0.0)));
}

}  // namespace
}  // namespace qx::support
