#include "platform/Int16.h"

#include <cmath>

#include "platform/RuntimeError.h"
#include "platform/Variant.h"

namespace qx::platform {

int16_t checked16(int64_t v, std::source_location where) {
    if (v < INT16_MIN || v > INT16_MAX) raise(kOverflow, {}, where);
    return static_cast<int16_t>(v);
}

int16_t round16(double v, std::source_location where) {
    if (!std::isfinite(v)) raise(kOverflow, {}, where);
    double r = roundHalfEven(v);
    if (r < INT16_MIN || r > INT16_MAX) raise(kOverflow, {}, where);
    return static_cast<int16_t>(r);
}

int32_t round32(double v, std::source_location where) {
    if (!std::isfinite(v)) raise(kOverflow, {}, where);
    double r = roundHalfEven(v);
    if (r < INT32_MIN || r > INT32_MAX) raise(kOverflow, {}, where);
    return static_cast<int32_t>(r);
}

}  // namespace qx::platform
