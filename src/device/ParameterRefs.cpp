#include "device/ParameterRefs.h"

namespace qx::device {

const std::array<std::pair<const char*, ParameterRefs::Member>, 13>& ParameterRefs::byName() {
    static const std::array<std::pair<const char*, Member>, 13> table = {{
        {"QUICK_2", &ParameterRefs::QUICK_2},
        {"PROINFLOW_RAW", &ParameterRefs::PROINFLOW_RAW},
        {"DELTAFLOW_NEW", &ParameterRefs::DELTAFLOW_NEW},
        {"PROINTEMP", &ParameterRefs::PROINTEMP},
        {"SWPOINT", &ParameterRefs::SWPOINT},
        {"TEACHDO_SWPOINT", &ParameterRefs::TEACHDO_SWPOINT},
        {"DELTAFLOW_RAW", &ParameterRefs::DELTAFLOW_RAW},
        {"TEACH_MAX", &ParameterRefs::TEACH_MAX},
        {"TEACH_MIN", &ParameterRefs::TEACH_MIN},
        {"TEACHDO_QUICK_MODE", &ParameterRefs::TEACHDO_QUICK_MODE},
        {"TEACHDO_QUICK", &ParameterRefs::TEACHDO_QUICK},
        {"FLOWSP_RAW", &ParameterRefs::FLOWSP_RAW},
        {"FLOWSPQT_RAW", &ParameterRefs::FLOWSPQT_RAW},
    }};
    return table;
}

bool ParameterRefs::holds(const std::string& parameterName) const {
    for (const auto& [name, member] : byName()) {
        const auto& p = this->*member;
        if (p && p->name() == parameterName) return true;
    }
    return false;
}

}  // namespace qx::device
