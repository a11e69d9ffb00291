#pragma once
// Reading a whole file, with the reason in words when it cannot be read, so that every reader
// that refuses a file says the same thing for the same fault.
#include <string>

namespace qx::platform {

struct FileContents {
    bool ok = false;
    std::string bytes;  // when ok
    std::string why;    // when not: "file not found", "is a folder, not a file", ...
};

FileContents readFileContents(const std::string& path);

}  // namespace qx::platform
