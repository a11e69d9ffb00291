#pragma once
// Reading a whole file, with the reason in words when it cannot be read, so that every reader
// that refuses a file says the same thing for the same fault.
//
// Only a regular file is read: a FIFO would block the reader until someone writes to it, and a
// device such as /dev/zero never ends. Neither is opened in a way that can wait, and a file
// larger than the reader's bound is refused before its bytes are read.
#include <cstddef>
#include <string>

#include "platform/PackageInternal.h"

namespace qx::platform {

// More than any data file, description, script or registry file of the view ever holds.
inline constexpr size_t kMaxFileBytes = 16 * 1024 * 1024;

struct FileContents {
    bool ok = false;
    std::string bytes;  // when ok
    std::string why;    // when not: "file not found", "is a folder, not a file", ...
};

QX_FLOW_INTERNAL FileContents readFileContents(const std::string& path, size_t maxBytes = kMaxFileBytes);

}  // namespace qx::platform
