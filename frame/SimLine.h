#pragma once
// The simulated line as a kind of line: `line sim`, the line a frame has unless told otherwise.
// Its device object is the stand-in frame's, on the frame's simulated flow monitor.
#include <memory>

#include "frame/SimDevice.h"
#include "frame/line/LineKinds.h"

namespace qx::frame {

class SimLine : public Line {
  public:
    SimLine(platform::Scheduler& scheduler, std::shared_ptr<FlowMonitorSim> simulator)
        : scheduler_(scheduler), simulator_(std::move(simulator)) {}

    host::DevicePtr makeDevice(const host::DataModelPtr& model) override;
    std::shared_ptr<LineCommunication> communication() const override;
    std::string name() const override { return "simulator"; }
    std::string kind() const override { return "sim"; }

  private:
    platform::Scheduler& scheduler_;
    std::shared_ptr<FlowMonitorSim> simulator_;
    std::shared_ptr<SimDevice> device_;
};

LineKind simLineKind();

}  // namespace qx::frame
