#include "platform/TextMetrics.h"

namespace qx::platform {

int32_t FixedPitchTextMetrics::textWidth(const std::string& text) const {
    int32_t points = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++points;  // count lead bytes only
    return points * kCharWidth;
}

}  // namespace qx::platform
