#include "frame/SimLine.h"

namespace qx::frame {

host::DevicePtr SimLine::makeDevice(const host::DataModelPtr& model) {
    device_ = std::make_shared<SimDevice>(scheduler_, simulator_, model);
    return device_;
}

std::shared_ptr<LineCommunication> SimLine::communication() const {
    return device_ ? device_->communication() : nullptr;
}

LineKind simLineKind() {
    return {"sim",
            "",
            "the simulated flow monitor, on virtual time (the default)",
            0,
            0,
            [](const std::vector<std::string>&) -> MakeLine {
                return [](const LineContext& context) {
                    return std::make_unique<SimLine>(context.scheduler, context.simulator);
                };
            }};
}

}  // namespace qx::frame
