#pragma once
// A scratch folder of a test's own, gone with the test.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace qx::test {

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qxrecord-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("no scratch folder");
        root_ = pattern;
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path(const std::string& name) const { return (root_ / name).string(); }
    std::string root() const { return root_.string(); }

  private:
    std::filesystem::path root_;
};

}  // namespace qx::test
