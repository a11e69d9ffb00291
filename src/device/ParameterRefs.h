#pragma once
// The flow monitor's parameters the view works with, one reference each, named after the role the
// parameter plays (TEACH_MAX holds TEACH_MAX_SAVE on a flow monitor of the saving category; on
// another device it holds whatever parameter the device's table gives that role). Any of them may
// be none: a model without that parameter, or not bound yet.
#include <array>
#include <optional>
#include <string>
#include <utility>

#include "device/DeviceTable.h"
#include "host/DataModel.h"
#include "platform/PackageInternal.h"

namespace qx::device {

struct QX_FLOW_INTERNAL ParameterRefs {
    host::ParameterPtr QUICK_2, PROINFLOW_RAW, DELTAFLOW_NEW, PROINTEMP, SWPOINT, TEACHDO_SWPOINT,
        DELTAFLOW_RAW, TEACH_MAX, TEACH_MIN, TEACHDO_QUICK_MODE, TEACHDO_QUICK, FLOWSP_RAW, FLOWSPQT_RAW;

    using Member = host::ParameterPtr ParameterRefs::*;
    // Every reference by its name, for those that look them up by name.
    static const std::array<std::pair<const char*, Member>, 13>& byName();

    // Bound, and the device reports a value for it: what a parameter must be to be read or shown.
    static bool hasValue(const host::ParameterPtr& p) { return p && p->noValue() == 0; }
    // Whether one of the references holds the very parameter of that name.
    bool holds(const std::string& parameterName) const;

    // Where the references are looked up, read afresh from the model at each binding.
    DeviceTable table = DeviceTable::flowMonitor();
    std::optional<int32_t> firmware;  // the device's item "FWversion", when it can be read

    // Reads the table the model's database holds for its device (selected by the description's
    // item "IDX"). Each part the database does not state, every part when it cannot be asked, is
    // the flow monitor's.
    void readTable(const host::IDataModel& model);
    // Looks the reference up afresh where the table places its role on a device of that bus
    // category: description → module → group → value object → parameter, each by name. A role the
    // table leaves out, or a look-up that fails, leaves it none, never the parameter of an earlier
    // model.
    void bind(Member member, const host::IDataModel& model, bool savingCategory);
};

}  // namespace qx::device
