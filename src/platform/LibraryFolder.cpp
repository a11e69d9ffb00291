#include "platform/LibraryFolder.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace qx::platform {

std::string libraryFolder() {
    static const std::string folder = [] {
        Dl_info info{};
        if (!dladdr(reinterpret_cast<const void*>(&libraryFolder), &info) || !info.dli_fname)
            return std::string();
        std::error_code ec;
        // The loader names the file as it found it, which may be through a relative search path.
        std::filesystem::path file = std::filesystem::absolute(info.dli_fname, ec).lexically_normal();
        if (ec) return std::string();
        return file.parent_path().string();
    }();
    return folder;
}

}  // namespace qx::platform
