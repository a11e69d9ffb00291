#pragma once
// The installation the stand-in frame runs on: the library's data files and the flow monitor's
// description beside them. Front ends check it before they start, so that a missing or corrupt
// file is refused by name instead of leaving a view without charts, texts or device.
#include <string>
#include <vector>

#include "support/InstallationCheck.h"

namespace qx::frame {

// Every fault of the installation beside the library; empty when it is whole.
std::vector<support::InstallationFault> checkInstallation();
// The same with the device description at `descriptionPath` in place of the flow monitor's.
std::vector<support::InstallationFault> checkInstallation(const std::string& descriptionPath);

}  // namespace qx::frame
