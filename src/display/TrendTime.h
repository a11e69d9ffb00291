#pragma once
// The time axis of the trend charts: X values are hours since the trend started, and the window
// the charts show is one minute of them.
#include <cstdint>
#include <source_location>

#include "platform/Int16.h"

namespace qx::display {

// One minute in X units.
inline constexpr double kWindowHours = 60.0 / 3600.0;

// The X value of a point taken at the time of day `now` (seconds) in a trend started at `start`.
// The seconds between them are counted in 16 bits: more than 32767 of them (9 h 6 min 7 s)
// fail with the overflow error, and across midnight the count turns negative.
inline double trendHours(int32_t start, int32_t now,
                         std::source_location where = std::source_location::current()) {
    return platform::checked16(int64_t{now} - start, where) / 3600.0;
}

}  // namespace qx::display
