#include "platform/FileContents.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace qx::platform {

FileContents readFileContents(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found) return {false, {}, "file not found"};
    if (status.type() == fs::file_type::directory) return {false, {}, "is a folder, not a file"};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {false, {}, std::string("cannot be read (") + std::strerror(errno) + ")"};
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) return {false, {}, std::string("cannot be read (") + std::strerror(errno) + ")"};
    return {true, bytes.str(), {}};
}

}  // namespace qx::platform
