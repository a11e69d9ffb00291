#pragma once
// The colours the view paints with, as 0x00BBGGRR (red in the low byte).
#include <cstdint>

namespace qx::view {

inline constexpr uint32_t kGreen = 0x80FF80;  // normal: status line, lamps
inline constexpr uint32_t kAmber = 52222;     // attention: 0x00CBFE
inline constexpr uint32_t kWhite = 0xFFFFFF;  // a lamp that is off
inline constexpr uint32_t kRed = 0x0000FF;
inline constexpr uint32_t kBlue = 0xFF0000;
inline constexpr uint32_t kFlowColour = 0xEF29ED;         // RGB(237, 41, 239)
inline constexpr uint32_t kTemperatureColour = 0x288C96;  // RGB(150, 140, 40)
inline constexpr uint32_t kFlowLimitsColour = 0xFAFABE;   // RGB(190, 250, 250)
inline constexpr uint32_t kTempLimitsColour = 0xF0F0F0;   // RGB(240, 240, 240)
// The signal colours of the switch-point sliders, unlocked and locked.
inline constexpr uint32_t kFlowSliderUnlocked = 0xFF0000;
inline constexpr uint32_t kFlowSliderLocked = 0xB25452;
inline constexpr uint32_t kTempSliderUnlocked = 0x0000FF;
inline constexpr uint32_t kTempSliderLocked = 0x5B5BC1;

}  // namespace qx::view
