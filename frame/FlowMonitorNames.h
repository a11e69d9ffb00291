#pragma once
// The roles of the parameters the simulated device keeps, under the view's names for them (which
// are also the flow monitor's parameter names). A device description's table says which of its
// parameters plays each role.

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
inline constexpr const char* kQuickMode = "TEACHDO_QUICK_MODE";
inline constexpr const char* kQuickOffset = "TEACHDO_QUICK";
inline constexpr const char* kFlowSetPoint = "FLOWSP_RAW";
inline constexpr const char* kQuickSetPoint = "FLOWSPQT_RAW";

}  // namespace qx::frame
