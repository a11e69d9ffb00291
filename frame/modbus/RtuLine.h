#pragma once
// The Modbus RTU line as a kind of line: `line rtu <device> [baud=19200] [parity=E|O|N] [data=8]
// [stop=1] [unit=<map's>] [timeout=<ms>] [connect-timeout=<ms>]`. The same register map, request
// planning and contract as the TCP line; only the transport differs. On real time, as the TCP
// line.
#include <memory>

#include "frame/line/LineKinds.h"
#include "frame/modbus/ModbusDevice.h"
#include "frame/modbus/SerialPort.h"

namespace qx::frame {

class RtuLine : public Line {
  public:
    RtuLine(const LineContext& context, RegisterMap map, SerialSettings settings);

    host::DevicePtr makeDevice(const host::DataModelPtr& model) override;
    std::shared_ptr<LineCommunication> communication() const override;
    std::shared_ptr<UiInbox> inbox() const override { return inbox_; }
    std::string name() const override { return settings_.device; }
    std::string kind() const override { return "rtu"; }
    std::string address() const override { return settings_.device; }

  private:
    std::shared_ptr<UiInbox> inbox_;
    const LineObservers& observers_;
    RegisterMap map_;
    SerialSettings settings_;
    std::shared_ptr<ModbusDevice> device_;
};

LineKind rtuLineKind();

}  // namespace qx::frame
