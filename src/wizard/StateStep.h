#pragma once
// The wizard's part of each view update: what the present state shows (status message, lamps,
// teach buttons, setting frames) and the moves that need no answer from the device.
#include <cstdint>

#include "view/QX_FlowWiz.h"

namespace qx::wizard {

// The smallest span between the taught maximum and minimum the device accepts; the flow must
// also exceed it before a maximum may be taught. Firmware 0 counts in coarser steps.
inline int16_t minimumSpan(int16_t fwVersion) {
    return fwVersion != 0 ? 10 : 51;
}

// Runs the step for view.mTeachState. States that wait for the device change nothing.
// Failures reach the caller (the view update), which logs them.
void runStateStep(view::QX_FlowWiz& view);

}  // namespace qx::wizard
