#pragma once
// A device object whose communication objects talk Modbus to a real device (or anything serving
// its register map), over TCP or a serial line; the frame's model is the one the frame made from
// the description.
#include <functional>
#include <memory>

#include "frame/modbus/ModbusCommunication.h"
#include "host/Device.h"

namespace qx::frame {

class ModbusDevice : public host::IDevice {
  public:
    // Makes the transport of each new communication object.
    using MakeTransport = std::function<std::unique_ptr<ModbusTransport>()>;

    ModbusDevice(std::shared_ptr<UiInbox> inbox, RegisterMap map, MakeTransport makeTransport,
                 LineObservers observers, host::DataModelPtr model)
        : inbox_(std::move(inbox)),
          map_(std::move(map)),
          makeTransport_(std::move(makeTransport)),
          observers_(std::move(observers)),
          model_(std::move(model)) {}

    std::string className() const override { return "DeviceObject"; }
    host::CommunicationPtr CreateCommunication() override {
        communication_ = ModbusCommunication::create(inbox_, map_, makeTransport_(), observers_);
        return communication_;
    }
    void ReleaseItem(const host::ObjectPtr&, int32_t) override {}
    host::DataModelPtr datamodel() const override { return model_; }

    // The communication object made last; none before the first.
    const std::shared_ptr<ModbusCommunication>& communication() const { return communication_; }

  private:
    std::shared_ptr<UiInbox> inbox_;
    RegisterMap map_;
    MakeTransport makeTransport_;
    LineObservers observers_;
    host::DataModelPtr model_;
    std::shared_ptr<ModbusCommunication> communication_;
};

}  // namespace qx::frame
