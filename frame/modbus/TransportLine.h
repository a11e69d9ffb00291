#pragma once
// A line to a device that speaks Modbus, over whichever transport the line's kind makes for each
// connection (TCP, a serial line). Its answers come from the worker thread through its own inbox,
// so the frame runs on real time; the register map is the built-in flow monitor's.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "frame/line/LineKinds.h"
#include "frame/modbus/ModbusDevice.h"

namespace qx::frame {

class TransportLine : public Line {
  public:
    // The transport of each new connection, for the register map's unit.
    using MakeTransport = std::function<std::unique_ptr<ModbusTransport>(uint8_t unit)>;

    // `kind` and `address` as the line is named ("modbus", "127.0.0.1:502"; "rtu", "/dev/ttyUSB0").
    // Fails with LineError when the built-in register map cannot be read.
    TransportLine(const LineContext& context, std::string kind, std::string address,
                  MakeTransport makeTransport);

    host::DevicePtr makeDevice(const host::DataModelPtr& model) override;
    std::shared_ptr<LineCommunication> communication() const override;
    std::shared_ptr<UiInbox> inbox() const override { return inbox_; }
    std::string name() const override { return address_; }
    std::string kind() const override { return kind_; }
    std::string address() const override { return address_; }

  private:
    std::shared_ptr<UiInbox> inbox_;
    const LineObservers& observers_;
    RegisterMap map_;
    std::string kind_, address_;
    MakeTransport makeTransport_;
    std::shared_ptr<ModbusDevice> device_;
};

}  // namespace qx::frame
