#pragma once
// Where the window's recordings lie: one file per run in the user's data folder.
#include <optional>
#include <string>

namespace qx::viewer {

// $XDG_DATA_HOME/qxflow/recordings, else ~/.local/share/qxflow/recordings.
std::string recordingsFolder();

// The most recently written regular file of `folder`; nullopt when it holds none.
std::optional<std::string> newestFile(const std::string& folder);

}  // namespace qx::viewer
