#pragma once
// The flow monitor's parameter names, as the device and the data model both know them.
#include <string>

namespace qx::frame {

inline constexpr const char* kCommand = "QUICK_2";
inline constexpr const char* kFlow = "PROINFLOW_RAW";
inline constexpr const char* kDeltaFlowNew = "DELTAFLOW_NEW";
inline constexpr const char* kDeltaFlowRaw = "DELTAFLOW_RAW";
inline constexpr const char* kTemperature = "PROINTEMP";
inline constexpr const char* kSwitchPoint = "SWPOINT";
inline constexpr const char* kSwitchPercent = "TEACHDO_SWPOINT";
inline constexpr const char* kTeachMax = "TEACH_MAX";
inline constexpr const char* kTeachMin = "TEACH_MIN";
inline constexpr const char* kTeachMaxSave = "TEACH_MAX_SAVE";
inline constexpr const char* kTeachMinSave = "TEACH_MIN_SAVE";
inline constexpr const char* kQuickMode = "TEACHDO_QUICK_MODE";
inline constexpr const char* kQuickOffset = "TEACHDO_QUICK";
inline constexpr const char* kFlowSetPoint = "FLOWSP_RAW";
inline constexpr const char* kQuickSetPoint = "FLOWSPQT_RAW";

// The device holds one teach maximum and one minimum; the *_SAVE names read and write them too.
inline std::string canonicalName(const std::string& name) {
    if (name == kTeachMaxSave) return kTeachMax;
    if (name == kTeachMinSave) return kTeachMin;
    return name;
}

}  // namespace qx::frame
