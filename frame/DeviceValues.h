#pragma once
// Carrying the simulated device's own values into a data model of the stand-in frame: what a
// read job does for its parameters, and what the frame does for its whole model when it brings
// the device up to date (before the view is first bound, the model holds the device's values).
#include "frame/FlowMonitorSim.h"
#include "frame/FrameParameter.h"
#include "host/DataModel.h"

namespace qx::frame {

// The device's value of this parameter into the model: "no value" where the device holds none;
// a parameter the device lacks keeps what it has.
void copyDeviceValue(const FlowMonitorSim& device, FrameParameter& parameter);
// The same for every parameter of a stand-in model.
void copyDeviceValues(const FlowMonitorSim& device, const host::IDataModel& model);

}  // namespace qx::frame
