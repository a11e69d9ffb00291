// The debugger output channel and the library folder: where diagnostic text and data files go.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/DebugOutput.h"
#include "platform/LibraryFolder.h"

namespace qx::platform {
namespace {

TEST(DebugOutput, PiecesGoToTheSinkOrAsLinesToStandardError) {
    std::vector<std::string> pieces;
    setDebugOutputSink([&](const std::string& text) { pieces.push_back(text); });
    testing::internal::CaptureStderr();
    OutputDebugStringA("QX_Flow::tag: first");
    OutputDebugStringA("");
    setDebugOutputSink({});
    OutputDebugStringA("back on standard error");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(pieces, (std::vector<std::string>{"QX_Flow::tag: first", ""}));
    EXPECT_EQ(err, "back on standard error\n");
}

TEST(LibraryFolder, IsTheAbsoluteFolderOfTheLibraryFileNotTheWorkingDirectory) {
    const std::string before = libraryFolder();
    ASSERT_FALSE(before.empty());
    EXPECT_TRUE(std::filesystem::path(before).is_absolute());
    EXPECT_NE(before.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(before + "/libQX_Flow.so")) << before;

    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(testing::TempDir());
    const std::string after = libraryFolder();
    std::filesystem::current_path(cwd);
    EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace qx::platform
