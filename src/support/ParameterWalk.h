#pragma once
// Asks the parameters of a data model to refresh themselves: every value object whose flag word
// shares a bit with the mask (as a positive signed number) and whose state is 2 or 3.
#include <cstdint>
#include <string>

#include "host/DataModel.h"

namespace qx::support {

// moduleName "$$MODULE" walks every module in order; any other name walks that module only.
// A failing call on the model ends the walk and reaches the caller.
void WalkModelParameters(const host::DataModelPtr& model, const std::string& moduleName, int32_t mask);

}  // namespace qx::support
