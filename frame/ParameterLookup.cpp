#include "frame/ParameterLookup.h"

#include "frame/FrameDescription.h"

namespace qx::frame {

std::shared_ptr<FrameParameter> findParameter(const host::IDataModel& model, const std::string& name) {
    auto description = std::dynamic_pointer_cast<FrameDescription>(model.description());
    return description ? description->findParameter(name) : nullptr;
}

std::vector<std::shared_ptr<FrameParameter>> listParameters(const host::IDataModel& model) {
    auto description = std::dynamic_pointer_cast<FrameDescription>(model.description());
    return description ? description->parameters() : std::vector<std::shared_ptr<FrameParameter>>{};
}

std::shared_ptr<FrameParameter> asFrameParameter(const host::ParameterPtr& parameter) {
    return std::dynamic_pointer_cast<FrameParameter>(parameter);
}

}  // namespace qx::frame
