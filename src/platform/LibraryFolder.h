#pragma once
// Where the library's own file lies: its data files (resource database, chart definition) and
// the diagnostic log live beside it, wherever the host process was started from.
#include <string>

#include "platform/PackageInternal.h"

namespace qx::platform {

// The absolute folder of the file that holds the library's code, without a trailing slash
// (empty if the platform cannot tell).
QX_FLOW_INTERNAL std::string libraryFolder();

}  // namespace qx::platform
