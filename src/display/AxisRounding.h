#pragma once
// The value-axis limits of the trend charts: a running minimum or maximum rounded outwards to
// whole steps, always at least half a step away from the value so that a line never touches the
// frame of the plot. All arithmetic is 16-bit and checked, as the limits feed 16-bit sums; a step
// of 0 fails with the division-by-zero error.
#include <cstdint>
#include <source_location>

#include "platform/Int16.h"
#include "platform/RuntimeError.h"

namespace qx::display {

namespace detail {

// The step at or below v (one further down for v <= 0), and whether v lies more than half a step
// above it.
struct AxisBase {
    int16_t base;
    bool farFromBase;
};

inline AxisBase axisBase(int16_t v, int16_t s, std::source_location where) {
    if (s == 0) platform::raise(platform::kDivisionByZero, {}, where);
    const int16_t q = platform::checked16(v / s, where);  // truncates toward zero
    int16_t b = platform::mul16(q, s, where);
    if (v <= 0) b = platform::sub16(b, s, where);
    const int16_t distance = platform::sub16(b, v, where);
    const int16_t absolute = distance < 0 ? platform::checked16(-int32_t{distance}, where) : distance;
    return {b, absolute > s / 2.0};
}

}  // namespace detail

// The lower limit for v: with s = 10, 95 gives 80, 96 gives 90 and 0 gives -10.
inline int16_t RoundAxisDown(int16_t v, int16_t s,
                             std::source_location where = std::source_location::current()) {
    const auto [b, far] = detail::axisBase(v, s, where);
    return far ? b : platform::sub16(b, s, where);
}

// The upper limit for v: with s = 10, 95 gives 100, 96 gives 110 and 0 gives 10.
inline int16_t RoundAxisUp(int16_t v, int16_t s,
                           std::source_location where = std::source_location::current()) {
    const auto [b, far] = detail::axisBase(v, s, where);
    return platform::add16(b, far ? platform::mul16(2, s, where) : s, where);
}

}  // namespace qx::display
