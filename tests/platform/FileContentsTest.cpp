// Whatever stands in a file's place, a reader gets the bytes of a regular file within its bound or
// a reason, and never waits: a FIFO without a writer, /dev/zero, a folder, a file grown too big.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/FileContents.h"
#include "platform/TestSupport.h"

namespace qx::platform {
namespace {

namespace fs = std::filesystem;

TEST(FileContents, OnlyARegularFileWithinTheBoundIsRead) {
    const fs::path folder = fs::path(testing::TempDir()) / ("qx_file_contents_" + std::to_string(getpid()));
    fs::create_directories(folder);
    const std::string fifo = (folder / "fifo").string(), zero = (folder / "zero").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", zero);
    test::ScratchFile ten("0123456789");

    const struct {
        std::string path;
        size_t bound;
        std::string why;  // empty: read whole
    } cases[] = {
        {fifo, kMaxFileBytes, "is a FIFO, not a regular file"},
        {zero, kMaxFileBytes, "is a character device, not a regular file"},
        {folder.string(), kMaxFileBytes, "is a folder, not a file"},
        {(folder / "absent").string(), kMaxFileBytes, "file not found"},
        {(folder / "absent" / "deeper").string(), kMaxFileBytes, "file not found"},
        {ten.path(), 9, "is larger than 9 bytes"},
        {ten.path(), 10, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const FileContents file = readFileContents(c.path, c.bound);
        EXPECT_EQ(file.ok, c.why.empty());
        EXPECT_EQ(file.why, c.why);
        EXPECT_EQ(file.bytes, c.why.empty() ? "0123456789" : "");
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace qx::platform
