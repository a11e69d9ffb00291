#pragma once
// The models hold colours as 0x00BBGGRR, red in the low byte; Qt takes them as QColor.
#include <QColor>
#include <cstdint>

namespace qx::ui {

inline QColor colourOf(uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>(bgr >> 8 & 0xFF),
                  static_cast<int>(bgr >> 16 & 0xFF));
}

}  // namespace qx::ui
