#include "device/DeviceTable.h"

#include <algorithm>

namespace qx::device {

namespace {

DeviceTable makeFlowMonitor() {
    using S = CategoryScope;
    DeviceTable t;
    t.places["default"] = {
        {"QUICK_2", "SYSTEM_FMX", "DUMMY", "QUICK_2", S::Any},
        {"PROINFLOW_RAW", "PROIN_FMX", "PROIN", "PROINFLOW_RAW", S::Any},
        {"DELTAFLOW_NEW", "PROIN_FMX", "PROIN", "DELTAFLOW_NEW", S::Any},
        {"PROINTEMP", "PROIN_FMX", "PROIN", "PROINTEMP", S::Any},
        {"SWPOINT", "MEDIA_FMX", "MEDIA", "SWPOINT", S::Any},
        {"TEACHDO_SWPOINT", "TEACH_FMX", "FLOW2_FMX", "TEACHDO_SWPOINT", S::Any},
        {"DELTAFLOW_RAW", "PROIN_FMX", "PROIN", "DELTAFLOW_RAW", S::Any},
        // A device of the saving category keeps its taught limits in the *_SAVE parameters.
        {"TEACH_MAX", "TEACH_FMX", "FLOW2_FMX", "TEACH_MAX_SAVE", S::Saving},
        {"TEACH_MIN", "TEACH_FMX", "FLOW2_FMX", "TEACH_MIN_SAVE", S::Saving},
        {"TEACH_MAX", "TEACH_FMX", "FLOW_FMX", "TEACH_MAX", S::Other},
        {"TEACH_MIN", "TEACH_FMX", "FLOW_FMX", "TEACH_MIN", S::Other},
        {"TEACHDO_QUICK_MODE", "TEACH_FMX", "FLOW2_FMX", "TEACHDO_QUICK_MODE", S::Any},
        {"TEACHDO_QUICK", "TEACH_FMX", "TEACH", "TEACHDO_QUICK", S::Any},
        {"FLOWSP_RAW", "PROIN_FMX", "PROIN", "FLOWSP_RAW", S::Any},
        {"FLOWSPQT_RAW", "TEACH_FMX", "FLOW2_FMX", "FLOWSPQT_RAW", S::Any},
    };
    t.savingCategory = "2C4CD8B8-D509-4ECB-94A7-019F12569C8B";
    // Firmware 1 offers finer steps over a narrower range.
    t.tolerances["default"] = {{" 6,0 %", " 4,5 %", " 3,0 %", " 1,5 %", " 0 %", "-1,5 %", "-3,0 %", "-4,5 %"},
                               4};
    t.tolerances["1"] = {
        {" 4,0 %", " 3,5 %", " 3,0 %", " 2,5 %", " 2,0 %", " 1,5 %", " 1,0 %", " 0,5 %", " 0 %", "-0,5 %",
         "-1,0 %", "-1,5 %", "-2,0 %", "-2,5 %", "-3,0 %", "-3,5 %", "-4,0 %"},
        8};
    t.flowUnit = "Bit";
    t.temperatureUnit = "°C";
    return t;
}

bool appliesTo(CategoryScope scope, bool saving) {
    return scope == CategoryScope::Any || (scope == CategoryScope::Saving) == saving;
}

}  // namespace

const DeviceTable& DeviceTable::flowMonitor() {
    static const DeviceTable table = makeFlowMonitor();
    return table;
}

bool DeviceTable::isRole(const std::string& role) {
    const auto& places = flowMonitor().places.at("default");
    return std::ranges::any_of(places, [&](const ParameterPlace& p) { return p.role == role; });
}

void DeviceTable::complete(const DeviceTable& defaults) {
    if (places.empty()) places = defaults.places;
    if (savingCategory.empty()) savingCategory = defaults.savingCategory;
    if (tolerances.empty()) tolerances = defaults.tolerances;
    if (flowUnit.empty()) flowUnit = defaults.flowUnit;
    if (temperatureUnit.empty()) temperatureUnit = defaults.temperatureUnit;
}

const ParameterPlace* DeviceTable::place(const std::string& role, std::optional<int32_t> firmware,
                                         bool saving) const {
    const auto* family = familyOf(places, firmware);
    if (!family) return nullptr;
    auto it = std::ranges::find_if(
        *family, [&](const ParameterPlace& p) { return p.role == role && appliesTo(p.scope, saving); });
    return it == family->end() ? nullptr : &*it;
}

const ToleranceList& DeviceTable::tolerancesFor(int32_t firmware) const {
    if (const auto* list = familyOf(tolerances, firmware)) return *list;
    return *familyOf(flowMonitor().tolerances, firmware);
}

}  // namespace qx::device
