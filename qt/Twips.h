#pragma once
// The models measure in twips; a widget in pixels at 15 twips to a pixel, which Qt scales by the
// screen's device pixel ratio on its own.
#include <QRect>
#include <cstdint>

namespace qx::ui {

inline constexpr int kTwipsPerPixel = 15;

inline int toPixels(int32_t twips) {
    return twips / kTwipsPerPixel;
}

inline int32_t toTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

inline QRect pixelRect(int32_t left, int32_t top, int32_t width, int32_t height) {
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}

}  // namespace qx::ui
