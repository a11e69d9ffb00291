#pragma once
// Checked 16-bit arithmetic: results outside -32768..32767 raise the overflow error (6), as the
// view's 16-bit fields require.
#include <cstdint>
#include <source_location>

#include "platform/PackageInternal.h"

namespace qx::platform {

QX_FLOW_INTERNAL int16_t checked16(int64_t v, std::source_location where = std::source_location::current());
inline int16_t add16(int64_t a, int64_t b, std::source_location w = std::source_location::current()) {
    return checked16(a + b, w);
}
inline int16_t sub16(int64_t a, int64_t b, std::source_location w = std::source_location::current()) {
    return checked16(a - b, w);
}
inline int16_t mul16(int64_t a, int64_t b, std::source_location w = std::source_location::current()) {
    return checked16(a * b, w);
}
// Rounds a double half to even into 16 bits (overflow outside the range).
QX_FLOW_INTERNAL int16_t round16(double v, std::source_location where = std::source_location::current());
int32_t round32(double v, std::source_location where = std::source_location::current());

}  // namespace qx::platform
