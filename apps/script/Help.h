#pragma once
// What `qxflow-run --help` prints: the usage, the commands, the range of every numeric argument
// and the exit statuses.
#include <string>

namespace qx::console {

std::string helpText();

}  // namespace qx::console
