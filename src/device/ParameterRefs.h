#pragma once
// The flow monitor's parameters the view works with, one reference each, named after the
// parameter it is bound to by default (TEACH_MAX holds TEACH_MAX_SAVE on a device of the saving
// category). Any of them may be none: a model without that parameter, or not bound yet.
#include <array>
#include <string>
#include <utility>

#include "host/DataModel.h"

namespace qx::device {

struct ParameterRefs {
    host::ParameterPtr QUICK_2, PROINFLOW_RAW, DELTAFLOW_NEW, PROINTEMP, SWPOINT, TEACHDO_SWPOINT,
        DELTAFLOW_RAW, TEACH_MAX, TEACH_MIN, TEACHDO_QUICK_MODE, TEACHDO_QUICK, FLOWSP_RAW, FLOWSPQT_RAW;

    using Member = host::ParameterPtr ParameterRefs::*;
    // Every reference by its name, for those that look them up by name.
    static const std::array<std::pair<const char*, Member>, 13>& byName();

    // Bound, and the device reports a value for it: what a parameter must be to be read or shown.
    static bool hasValue(const host::ParameterPtr& p) { return p && p->noValue() == 0; }
    // Whether one of the references holds the very parameter of that name.
    bool holds(const std::string& parameterName) const;
};

}  // namespace qx::device
