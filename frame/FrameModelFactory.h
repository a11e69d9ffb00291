#pragma once
// Makes the stand-in frame's model of the flow monitor from a device description, as the frame
// does when it opens a device.
#include <memory>
#include <string>

#include "frame/DeviceOptions.h"
#include "frame/FrameDataModel.h"

namespace qx::frame {

// The path of the flow monitor's description file beside the library.
std::string flowMonitorDescriptionPath();

// The frame's own model of the flow monitor for `options`, read from the options' description
// (by default the one beside the library): the chosen language, the database (unless options say it is
// missing), and the environment values "STATE" and "LOCAL_COMM" from the options.
std::shared_ptr<FrameDataModel> createFrameModel(const DeviceOptions& options);
// The same from the description file at `path`, whatever the options name.
std::shared_ptr<FrameDataModel> createFrameModel(const DeviceOptions& options, const std::string& path);

}  // namespace qx::frame
