#include "frame/modbus/RtuLine.h"

#include <stdexcept>

#include "frame/modbus/RtuTransport.h"
#include "frame/modbus/SerialPort.h"
#include "frame/modbus/TransportLine.h"

namespace qx::frame {

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
                    return std::make_unique<TransportLine>(
                        context, "rtu", settings.device,
                        [settings](uint8_t unit) { return std::make_unique<RtuTransport>(settings, unit); });
                };
            }};
}

}  // namespace qx::frame
