#pragma once
// A device object whose communication objects talk Modbus TCP to a real device (or anything
// serving its register map); the frame's model is the one the frame made from the description.
#include <memory>

#include "frame/modbus/ModbusCommunication.h"
#include "host/Device.h"

namespace qx::frame {

class ModbusDevice : public host::IDevice {
  public:
    ModbusDevice(std::shared_ptr<UiInbox> inbox, RegisterMap map, ModbusSettings settings,
                 LineObservers observers, host::DataModelPtr model)
        : inbox_(std::move(inbox)),
          map_(std::move(map)),
          settings_(std::move(settings)),
          observers_(std::move(observers)),
          model_(std::move(model)) {}

    std::string className() const override { return "DeviceObject"; }
    host::CommunicationPtr CreateCommunication() override {
        communication_ = ModbusCommunication::create(inbox_, map_, settings_, observers_);
        return communication_;
    }
    void ReleaseItem(const host::ObjectPtr&, int32_t) override {}
    host::DataModelPtr datamodel() const override { return model_; }

    // The communication object made last; none before the first.
    const std::shared_ptr<ModbusCommunication>& communication() const { return communication_; }

  private:
    std::shared_ptr<UiInbox> inbox_;
    RegisterMap map_;
    ModbusSettings settings_;
    LineObservers observers_;
    host::DataModelPtr model_;
    std::shared_ptr<ModbusCommunication> communication_;
};

}  // namespace qx::frame
