#include "viewer/RecordingFiles.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace qx::viewer {

std::string recordingsFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    std::filesystem::path base;
    if (data && *data) {
        base = data;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home ? home : "") / ".local" / "share";
    }
    return (base / "qxflow" / "recordings").string();
}

std::optional<std::string> newestFile(const std::string& folder) {
    std::error_code error;
    std::optional<std::string> newest;
    std::filesystem::file_time_type newestTime{};
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        // The writer's companions (-wal, -shm, -journal) are no recordings of their own.
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file(error) || name.ends_with("-wal") || name.ends_with("-shm") ||
            name.ends_with("-journal"))
            continue;
        const auto time = entry.last_write_time(error);
        if (error) continue;
        if (!newest || time > newestTime) {
            newest = entry.path().string();
            newestTime = time;
        }
    }
    return newest;
}

}  // namespace qx::viewer
