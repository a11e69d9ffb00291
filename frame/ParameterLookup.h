#pragma once
// Finds the stand-in frame's parameters behind the host interfaces, for the frame's own objects,
// the console and the tests; a model or parameter of another frame yields none.
#include <memory>
#include <string>
#include <vector>

#include "frame/FrameParameter.h"
#include "host/DataModel.h"

namespace qx::frame {

// The parameter of that name anywhere in a stand-in model; none when the model has no such
// parameter or is not a model of the stand-in frame.
std::shared_ptr<FrameParameter> findParameter(const host::IDataModel& model, const std::string& name);
// Every parameter of a stand-in model in walk order (empty for any other model).
std::vector<std::shared_ptr<FrameParameter>> listParameters(const host::IDataModel& model);
// The stand-in parameter behind a parameter reference; none for any other parameter.
std::shared_ptr<FrameParameter> asFrameParameter(const host::ParameterPtr& parameter);

}  // namespace qx::frame
