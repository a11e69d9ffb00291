#pragma once
// The device object of the stand-in frame: the frame hands it to the view in place of a data
// model. It gives the frame's model of the simulated flow monitor and makes communication
// objects to it; the device options of the simulator decide whether making one fails.
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "frame/FlowMonitorSim.h"
#include "frame/SimCommunication.h"
#include "host/Device.h"
#include "platform/Scheduler.h"

namespace qx::frame {

class SimDevice : public host::IDevice {
  public:
    SimDevice(platform::Scheduler& scheduler, std::shared_ptr<FlowMonitorSim> device,
              host::DataModelPtr model)
        : scheduler_(scheduler), device_(std::move(device)), model_(std::move(model)) {}

    std::string className() const override { return "DeviceObject"; }
    // Error 429 when the device options say the communication object cannot be made.
    host::CommunicationPtr CreateCommunication() override;
    void ReleaseItem(const host::ObjectPtr& item, int32_t code) override {
        released_.emplace_back(item, code);
    }
    host::DataModelPtr datamodel() const override { return model_; }

    // The communication object made last; none before the first.
    const std::shared_ptr<SimCommunication>& communication() const { return communication_; }
    // Every ReleaseItem call in order.
    const std::vector<std::pair<host::ObjectPtr, int32_t>>& releasedItems() const { return released_; }

  private:
    platform::Scheduler& scheduler_;
    std::shared_ptr<FlowMonitorSim> device_;
    host::DataModelPtr model_;
    std::shared_ptr<SimCommunication> communication_;
    std::vector<std::pair<host::ObjectPtr, int32_t>> released_;
};

}  // namespace qx::frame
