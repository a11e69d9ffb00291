#pragma once
// The frame's parameter slider ("QX_ParameterControls.Slider"): shows one value between its
// limits and lets a person move it unless it is locked. Limits set through "MinValue" and
// "MaxValue" take effect at UpdateLimits. A value outside the limits in effect is clamped to the
// nearer limit rather than refused, as a slider's thumb stops at its ends; UpdateLimits clamps
// the present value into the new limits the same way. Every change is told to the observers: a
// property set by name under its name, the limits as "Limits", the lock as "Locked".
#include <cstdint>
#include <string>

#include "host/Slider.h"
#include "platform/Controls.h"

namespace qx::frame {

class ParameterSlider : public host::ISlider {
  public:
    platform::Variant getProperty(const std::string& name) const override;
    void setProperty(const std::string& name, const platform::Variant& value) override;
    void setDisplayStyle(const std::string& style) override;
    void setLock(bool locked) override;
    // Error 380 when the limits set are the wrong way round; the old limits stay.
    void UpdateLimits() override;

    double value() const { return value_; }
    void setValue(double v);
    bool locked() const { return locked_; }
    double minimum() const { return appliedMin_; }
    double maximum() const { return appliedMax_; }
    const std::string& displayStyle() const { return displayStyle_; }

    // A person moves the thumb: refused (false, value unchanged) while the slider is locked.
    bool slide(double v);
    // The value as the slider shows it: FixFormat's number of decimals ("#0" whole numbers,
    // "#0.0" one decimal), then the unit after a blank when there is one.
    std::string displayText() const;

  private:
    void setField(const std::string& name, const platform::Variant& value);

    bool visible_ = true;
    bool locked_ = false;
    int32_t height_ = 1155;
    double minValue_ = 0, maxValue_ = 100;      // as set, until UpdateLimits
    double appliedMin_ = 0, appliedMax_ = 100;  // in effect
    std::string unit_;
    double step_ = 1;
    double value_ = 0;
    uint32_t signalColor_ = 0xFF0000;
    std::string fixFormat_ = "#0";
    std::string displayStyle_;
};

// Lets a container create sliders by their program id.
void registerSlider(platform::ControlFactories& factories);

}  // namespace qx::frame
