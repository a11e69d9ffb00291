#pragma once
// The registry values the view reads, and what it makes of the values a .reg file sets for them:
// a value of a type it cannot use, or a number it does not take, is left aside by the view
// without a word, so `registry file` says so, naming the line that set it.
#include <optional>
#include <string>
#include <vector>

#include "platform/RegistryFile.h"

namespace qx::console {

// The key below HKEY_LOCAL_MACHINE of a value the view reads (Debug, DebugFile, CombineModels,
// PollCycle); none for any other name.
std::optional<std::string> viewRegistryKey(const std::string& valueName);

// One line per value of `edits` that the view cannot use as written:
// "registry <file>, line <n>: <Name> is <what>, not <what it wants>: <what the view does>".
std::vector<std::string> registryReport(const std::string& file,
                                        const std::vector<platform::RegistryEdit>& edits);

}  // namespace qx::console
