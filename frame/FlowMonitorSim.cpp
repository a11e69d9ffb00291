#include "frame/FlowMonitorSim.h"

#include <limits>

#include "frame/FlowMonitorNames.h"
#include "platform/Variant.h"

namespace qx::frame {

namespace {

struct DefaultValue {
    const char* name;
    const char* text;
};

// The device as it leaves the factory: no flow, room temperature, taught 100..800 Bit with the
// switch point at half the span.
constexpr DefaultValue kDefaults[] = {
    {kFlow, "0"},           {kTemperature, "22"},    {kSwitchPoint, "60"}, {kSwitchPercent, "50"},
    {kTeachMax, "800"},     {kTeachMin, "100"},      {kQuickMode, "2"},    {kQuickOffset, " 0 %"},
    {kFlowSetPoint, "450"}, {kQuickSetPoint, "450"}, {kCommand, "0"},      {kDeltaFlowRaw, "0"},
};

Presence presenceOf(const std::string& name, const DeviceOptions& o) {
    if (name == kQuickMode) return o.quickMode;
    if (name == kSwitchPercent) return o.swPoint;
    if (name == kFlowSetPoint) return o.flowSp;
    if (name == kQuickSetPoint) return o.flowSpQt;
    if (name == kTeachMax || name == kTeachMin) return o.teachPresent ? Presence::Valid : Presence::Missing;
    return Presence::Valid;
}

// The mode a text selects. A text that is no number, or a number no 32-bit mode can hold, selects
// none, so the device stays in the mode it is in.
std::optional<int32_t> teachModeIn(const std::string& text) {
    double mode;
    if (!platform::parseNumber(text, mode)) return std::nullopt;
    if (!(mode >= std::numeric_limits<int32_t>::min() && mode <= std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return static_cast<int32_t>(mode);
}

}  // namespace

FlowMonitorSim::FlowMonitorSim(platform::Scheduler& scheduler, const DeviceOptions& options)
    : scheduler_(scheduler), settledAtMs_(std::numeric_limits<int64_t>::min()) {
    setOptions(options);
}

void FlowMonitorSim::setOptions(const DeviceOptions& options) {
    options_ = options;
    for (const auto& d : kDefaults) {
        switch (presenceOf(d.name, options)) {
            case Presence::Missing:
                values_.erase(d.name);
                break;
            case Presence::NoValue:
                values_[d.name] = std::nullopt;
                break;
            case Presence::Valid: {
                auto& v = values_[d.name];
                if (!v) v = d.text;
                break;
            }
        }
    }
    if (auto text = roleValue(kQuickMode)) teachMode_ = teachModeIn(*text).value_or(teachMode_);
}

std::string FlowMonitorSim::roleOf(const std::string& name) const {
    // The family of the device's firmware, both bus categories: a name plays its role either way.
    if (const auto* places = device::familyOf(table_.places, options_.fw))
        for (const auto& p : *places)
            if (p.name == name) return p.role;
    return {};
}

bool FlowMonitorSim::hasRole(const std::string& role) const {
    return role == kDeltaFlowNew || values_.contains(role);
}

std::optional<std::string> FlowMonitorSim::roleValue(const std::string& role) const {
    if (role == kDeltaFlowNew) return scheduler_.nowMs() < settledAtMs_ ? "0" : "1";
    auto it = values_.find(role);
    return it == values_.end() ? std::nullopt : it->second;
}

bool FlowMonitorSim::has(const std::string& name) const {
    return hasRole(roleOf(name));
}

std::optional<std::string> FlowMonitorSim::value(const std::string& name) const {
    return roleValue(roleOf(name));
}

bool FlowMonitorSim::set(const std::string& name, const std::string& text) {
    const std::string role = roleOf(name);
    if (role == kDeltaFlowNew || !hasRole(role)) return false;
    if (store(role, text).limitsChanged) recomputeSwitchPoint();
    return true;
}

void FlowMonitorSim::setFlow(double flow) {
    if (store(kFlow, platform::shortestText(flow)).limitsChanged) recomputeSwitchPoint();
}

void FlowMonitorSim::setTemperature(double temperature) {
    store(kTemperature, platform::shortestText(temperature));
}

FlowMonitorSim::Effect FlowMonitorSim::store(const std::string& role, const std::string& text) {
    const std::string& key = role;
    auto it = values_.find(key);
    if (it == values_.end()) return {};
    const bool changed = it->second != text;
    it->second = text;
    Effect effect;
    if (key == kFlow && changed) settledAtMs_ = scheduler_.nowMs() + settleMs_;
    if (key == kQuickMode) teachMode_ = teachModeIn(text).value_or(teachMode_);
    effect.limitsChanged = key == kTeachMax || key == kTeachMin || key == kSwitchPercent;
    return effect;
}

void FlowMonitorSim::putNumber(const std::string& role, double v) {
    auto it = values_.find(role);
    if (it != values_.end()) it->second = platform::shortestText(v == 0 ? 0.0 : v);  // never "-0"
}

}  // namespace qx::frame
