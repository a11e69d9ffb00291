#include "frame/ParameterSlider.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "platform/RuntimeError.h"

namespace qx::frame {

using platform::Variant;

Variant ParameterSlider::getProperty(const std::string& name) const {
    if (name == "Visible") return visible_;
    if (name == "Locked") return locked_;
    if (name == "Height") return height_;
    if (name == "MaxValue") return maxValue_;
    if (name == "MinValue") return minValue_;
    if (name == "unit") return unit_;
    if (name == "Step") return step_;
    if (name == "value") return value_;
    if (name == "SignalColor") return signalColor_;
    if (name == "FixFormat") return fixFormat_;
    platform::raise(platform::kNotSupported);
}

void ParameterSlider::setProperty(const std::string& name, const Variant& value) {
    setField(name, value);
    changed(name);
}

void ParameterSlider::setDisplayStyle(const std::string& style) {
    displayStyle_ = style;
    changed("DisplayStyle");
}

void ParameterSlider::setLock(bool locked) {
    locked_ = locked;
    changed("Locked");
}

void ParameterSlider::setField(const std::string& name, const Variant& value) {
    if (name == "Visible") {
        visible_ = value.toBool();
    } else if (name == "Locked") {
        locked_ = value.toBool();
    } else if (name == "Height") {
        height_ = value.toInt32();
    } else if (name == "MaxValue") {
        maxValue_ = value.toDouble();
    } else if (name == "MinValue") {
        minValue_ = value.toDouble();
    } else if (name == "unit") {
        unit_ = value.toText();
    } else if (name == "Step") {
        step_ = value.toDouble();
    } else if (name == "value") {
        setValue(value.toDouble());
    } else if (name == "SignalColor") {
        signalColor_ = static_cast<uint32_t>(value.toInt32());
    } else if (name == "FixFormat") {
        fixFormat_ = value.toText();
    } else {
        platform::raise(platform::kNotSupported);
    }
}

void ParameterSlider::UpdateLimits() {
    if (minValue_ > maxValue_) platform::raise(platform::kInvalidPropertyValue);
    appliedMin_ = minValue_;
    appliedMax_ = maxValue_;
    changed("Limits");
    setValue(value_);
}

void ParameterSlider::setValue(double v) {
    const double clamped = std::clamp(v, appliedMin_, appliedMax_);
    if (clamped == value_) return;
    value_ = clamped;
    changed("value");
}

bool ParameterSlider::slide(double v) {
    if (locked_) return false;
    setValue(v);
    return true;
}

std::string ParameterSlider::displayText() const {
    const auto point = fixFormat_.find('.');
    const int decimals = point == std::string::npos ? 0 : static_cast<int>(fixFormat_.size() - point - 1);
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value_);
    return unit_.empty() ? std::string(text) : std::string(text) + " " + unit_;
}

void registerSlider(platform::ControlFactories& factories) {
    factories.add(host::kSliderProgId, [] { return std::make_shared<ParameterSlider>(); });
}

}  // namespace qx::frame
