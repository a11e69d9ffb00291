#pragma once
// The lines a front end can put behind the device object: the one list of line kinds the console
// and the window choose from by name.
#include "frame/line/LineKinds.h"

namespace qx::console {

const frame::LineKinds& lineKinds();

}  // namespace qx::console
