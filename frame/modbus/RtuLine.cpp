#include "frame/modbus/RtuLine.h"

#include <stdexcept>

#include "frame/FrameModelFactory.h"
#include "frame/modbus/RtuTransport.h"

namespace qx::frame {

RtuLine::RtuLine(const LineContext& context, RegisterMap map, SerialSettings settings)
    : inbox_(std::make_shared<UiInbox>(context.scheduler)),
      observers_(context.observers),
      map_(std::move(map)),
      settings_(std::move(settings)) {}

host::DevicePtr RtuLine::makeDevice(const host::DataModelPtr& model) {
    const uint8_t unit = map_.unitId;
    device_ = std::make_shared<ModbusDevice>(
        inbox_, map_, [settings = settings_, unit] { return std::make_unique<RtuTransport>(settings, unit); },
        observers_, model);
    return device_;
}

std::shared_ptr<LineCommunication> RtuLine::communication() const {
    return device_ ? device_->communication() : nullptr;
}

LineKind rtuLineKind() {
    return {"rtu",
            "<device> [baud=19200] [parity=E|O|N] [data=8] [stop=1] [unit=<n>] [timeout=<ms>] "
            "[connect-timeout=<ms>]",
            "a serial line (Modbus RTU), on real time",
            1,
            8,
            [](const std::vector<std::string>& arguments) -> MakeLine {
                SerialSettings settings;
                try {
                    settings = parseSerialSettings(arguments);
                } catch (const std::invalid_argument& e) {
                    throw LineError(e.what());
                }
                return [settings](const LineContext& context) {
                    try {
                        return std::make_unique<RtuLine>(
                            context, readRegisterMap(flowMonitorDescriptionPath()), settings);
                    } catch (const RegisterMapError& e) {
                        throw LineError(e.what());
                    }
                };
            }};
}

}  // namespace qx::frame
