#include "frame/DeviceValues.h"

#include "frame/ParameterLookup.h"

namespace qx::frame {

void copyDeviceValue(const FlowMonitorSim& device, FrameParameter& parameter) {
    const std::string name = parameter.name();
    if (device.has(name)) parameter.setDeviceValue(device.value(name));
}

void copyDeviceValues(const FlowMonitorSim& device, const host::IDataModel& model) {
    for (const auto& parameter : listParameters(model)) copyDeviceValue(device, *parameter);
}

}  // namespace qx::frame
