#pragma once
// The frame's parameter slider, created by program id "QX_ParameterControls.Slider". Its
// properties are set by name: "Visible", "Locked", "Height", "MaxValue", "MinValue", "unit",
// "Step", "value", "SignalColor", "FixFormat"; these are its own operations.
#include <string>

#include "Export.h"
#include "platform/Control.h"

namespace qx::host {

inline constexpr const char* kSliderProgId = "QX_ParameterControls.Slider";

class QX_FLOW_EXPORT ISlider : public platform::PropertyObject {
  public:
    virtual void setDisplayStyle(const std::string& style) = 0;  // "ShowVal"
    virtual void setLock(bool locked) = 0;
    virtual void UpdateLimits() = 0;
};

}  // namespace qx::host
