#pragma once
// The wizard's vocabulary: its states, the teach modes the device reports and the command codes
// written to QUICK_2. The numbers are what the device and the console's transcripts see, so each
// value keeps its number.
#include <cstdint>

namespace qx::wizard {

// The wizard's state. The states between a command and its answer (MaximumSent, MinimumSent,
// MinimumReset, QuickSent, QuickReset) wait for the device; a view update changes nothing in them.
enum class TeachState : int32_t {
    Idle = 0,
    MaxMinStarted = 1,
    WaitingForMaximum = 2,
    MaximumSent = 3,
    MaximumReset = 4,  // maximum taught, the reset code sent
    MaxMinByHand = 5,
    WaitingForMinimum = 6,
    MinimumSent = 7,
    MinimumReset = 8,  // minimum taught, the reset code sent
    MaxMinFinished = 9,
    WaitingForSettledFlow = 10,  // quick teach started
    QuickSent = 11,
    QuickReset = 12,  // quick teach done, the reset code sent
    QuickByHand = 13,
    QuickFinished = 14,
};
static_assert(static_cast<int32_t>(TeachState::Idle) == 0 &&
              static_cast<int32_t>(TeachState::MaxMinByHand) == 5 &&
              static_cast<int32_t>(TeachState::WaitingForSettledFlow) == 10 &&
              static_cast<int32_t>(TeachState::QuickFinished) == 14);

constexpr int32_t number(TeachState s) {
    return static_cast<int32_t>(s);
}

// The teach mode the device reports in TEACHDO_QUICK_MODE and takes back with values set by hand.
// Any other number (0 when the parameter has no value) is neither mode.
enum class TeachMode : int16_t { None = 0, Quick = 1, MaxMin = 2 };
static_assert(static_cast<int16_t>(TeachMode::Quick) == 1 && static_cast<int16_t>(TeachMode::MaxMin) == 2);

constexpr int16_t number(TeachMode m) {
    return static_cast<int16_t>(m);
}

// The command codes written to QUICK_2: writing one makes the device act, Reset clears it after.
enum class TeachCode : int16_t {
    Reset = 0,
    TeachFirst = 1,  // the maximum with the category flag set, else the minimum
    TeachSecond = 2,
    TeachQuick = 3,
    ModeStart = 4,  // firmware 1 only
    ModeEnd = 5,
};
static_assert(static_cast<int16_t>(TeachCode::Reset) == 0 &&
              static_cast<int16_t>(TeachCode::TeachQuick) == 3 &&
              static_cast<int16_t>(TeachCode::ModeEnd) == 5);

constexpr int16_t number(TeachCode c) {
    return static_cast<int16_t>(c);
}

}  // namespace qx::wizard
