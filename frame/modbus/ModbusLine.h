#pragma once
// The Modbus TCP line as a kind of line: `line modbus <host>:<port> [timeout=<ms>]
// [connect-timeout=<ms>]`. Its answers come from the worker thread through its own inbox, so the
// frame runs on real time; the register map is the built-in flow monitor's.
#include <memory>

#include "frame/line/LineKinds.h"
#include "frame/modbus/ModbusDevice.h"

namespace qx::frame {

class ModbusLine : public Line {
  public:
    ModbusLine(const LineContext& context, RegisterMap map, ModbusSettings settings, std::string address);

    host::DevicePtr makeDevice(const host::DataModelPtr& model) override;
    std::shared_ptr<LineCommunication> communication() const override;
    std::shared_ptr<UiInbox> inbox() const override { return inbox_; }
    std::string name() const override { return address_; }
    std::string kind() const override { return "modbus"; }
    std::string address() const override { return address_; }

  private:
    std::shared_ptr<UiInbox> inbox_;
    const LineObservers& observers_;
    RegisterMap map_;
    ModbusSettings settings_;
    std::string address_;
    std::shared_ptr<ModbusDevice> device_;
};

LineKind modbusLineKind();

}  // namespace qx::frame
