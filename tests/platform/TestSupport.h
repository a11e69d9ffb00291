#pragma once
// Helpers of the platform tests, also used by the support tests: the number and the summary of
// the run-time error a call raises, and scratch files in the test temp folder under a name no other test
// process uses, each going away with its object.
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/RuntimeError.h"

namespace qx::test {

// The error number `f` raises, 0 when it raises none.
int32_t errorOf(auto&& f) {
    try {
        f();
    } catch (const platform::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

// errorSummary() of the run-time error `f` raises, "" when it raises none.
std::string summaryOf(auto&& f) {
    try {
        f();
    } catch (const platform::RuntimeError& e) {
        return platform::errorSummary(e);
    }
    return "";
}

class ScratchFile {
  public:
    explicit ScratchFile(const std::string& bytes) {
        static std::atomic<int> counter{0};
        path_ =
            testing::TempDir() + "qx_scratch_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
        std::ofstream(path_, std::ios::binary) << bytes;
    }
    ~ScratchFile() { std::remove(path_.c_str()); }

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// The text in UTF-16LE with a byte-order mark, as regedit saves a file.
inline std::string utf16leWithBom(const std::u16string& text) {
    std::string out = "\xFF\xFE";
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

}  // namespace qx::test
