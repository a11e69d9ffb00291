#pragma once
// The frame's parameter slider on screen: a horizontal slider between the limits in effect, with
// the value as the slider shows it (number and unit) beside it. A person's move goes through the
// control's user entry point, and a locked slider's thumb does not move.
#include <QWidget>
#include <memory>

#include "platform/Control.h"

namespace qx::window {

// The widget for a control whose object is a frame::ParameterSlider.
QWidget* createSliderWidget(const std::shared_ptr<platform::Control>& control, QWidget* parent);

}  // namespace qx::window
