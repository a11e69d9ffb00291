#pragma once
// What the rest of the stand-in frame and the console use of the data model: creating the
// frame's model for a simulated device, and finding and listing its parameters.
#include <memory>
#include <string>
#include <vector>

#include "frame/DeviceOptions.h"
#include "frame/FrameDataModel.h"
#include "frame/FrameParameter.h"
#include "host/DataModel.h"

namespace qx::frame {

// The path of the flow monitor's description file beside the library.
std::string flowMonitorDescriptionPath();

// The frame's own model of the flow monitor for `options`, read from the options' description
// (by default the one beside the library): the chosen language, the database (unless options say it is
// missing), and the environment values "STATE" and "LOCAL_COMM" from the options.
std::shared_ptr<FrameDataModel> createFrameModel(const DeviceOptions& options);
// The same from the description file at `path`, whatever the options name.
std::shared_ptr<FrameDataModel> createFrameModel(const DeviceOptions& options, const std::string& path);

// The parameter of that name anywhere in a stand-in model; none when the model has no such
// parameter or is not a model of the stand-in frame.
std::shared_ptr<FrameParameter> findParameter(const host::IDataModel& model, const std::string& name);
// Every parameter of a stand-in model in walk order (empty for any other model).
std::vector<std::shared_ptr<FrameParameter>> listParameters(const host::IDataModel& model);
// The stand-in parameter behind a parameter reference; none for any other parameter.
std::shared_ptr<FrameParameter> asFrameParameter(const host::ParameterPtr& parameter);

}  // namespace qx::frame
