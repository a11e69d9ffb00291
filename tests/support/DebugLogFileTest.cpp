// The diagnostic log's file "dtm.log" beside the library: lines exactly as they land, written
// before the debugger output, opened per line, and never a failure towards the caller.
//
// Every test program of a build shares the library's folder, and CTest runs test cases as
// processes side by side, so all that touches dtm.log is one test case.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "platform/LibraryFolder.h"
#include "platform/RuntimeError.h"
#include "platform/VirtualScheduler.h"
#include "support/DebugLog.h"
#include "support/LogTestSupport.h"

namespace qx::support {
namespace {

namespace fs = std::filesystem;
using platform::registryStore;
using test::kControlsKey;
using Pieces = std::vector<std::string>;

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Leaves no dtm.log behind, whatever the test did to it.
class LogFileCleanup {
  public:
    explicit LogFileCleanup(fs::path path) : path_(std::move(path)) { fs::remove_all(path_); }
    ~LogFileCleanup() { fs::remove_all(path_); }

  private:
    fs::path path_;
};

class DebugLogFile : public test::LogTest {};

TEST_F(DebugLogFile, LinesAsTheyLandInTheFile) {
    const fs::path logFile = platform::libraryFolder() + "/dtm.log";
    LogFileCleanup cleanup(logFile);
    platform::VirtualScheduler clock(10 * 3600 * 1000 + 500, 20'000);  // 2024-10-04 10:00:00.500
    test::NamedObject view("QX_FlowWiz");
    const std::string viewTag = "(" + std::to_string(reinterpret_cast<uintptr_t>(&view)) + ")QX_FlowWiz";

    {
        SCOPED_TRACE("the debugger switch alone creates no file");
        registryStore().setDword(kControlsKey, "Debug", 1);
        inFreshThread([] { DebugWrite("T", "channel only"); });
        EXPECT_EQ(channel, (Pieces{"QX_Flow::T: channel only"}));
        EXPECT_FALSE(fs::exists(logFile));
    }
    {
        SCOPED_TRACE("both switches: the file gets date, time and header, the channel the header");
        registryStore().setDword(kControlsKey, "DebugFile", 1);
        channel.clear();
        std::vector<bool> lineWasThere;
        onPiece = [&](const std::string&) {
            lineWasThere.push_back(readAll(logFile).find("Start") != std::string::npos);
        };
        inFreshThread([&] {
            setLogClock(&clock);
            DebugLog(view, "UserControl_Initialize():", "Start");
        });
        onPiece = nullptr;
        EXPECT_EQ(readAll(logFile),
                  "2024-10-04, 10:00:00: QX_Flow::" + viewTag + ": UserControl_Initialize():Start\r\n");
        EXPECT_EQ(channel, (Pieces{"QX_Flow::" + viewTag + ": UserControl_Initialize():Start"}));
        EXPECT_EQ(lineWasThere, (std::vector<bool>{true}));  // the file is written first
    }
    {
        SCOPED_TRACE("a message of several lines is one entry; the clock is the scheduler's");
        fs::remove(logFile);
        inFreshThread([&] {
            setLogClock(&clock);
            DebugWrite("T", "first\r\nsecond");
            clock.advance(14 * 3600 * 1000);
            try {
                platform::raise(platform::kOverflow);
            } catch (const platform::RuntimeError& e) {
                platform::ErrorLineScope handling(e);
                DebugWrite("T", "");
            }
            setLogClock(nullptr);
        });
        const std::string content = readAll(logFile);
        const std::string firstEntry = "2024-10-04, 10:00:00: QX_Flow::T: first\r\nsecond\r\n";
        EXPECT_EQ(content.substr(0, firstEntry.size()), firstEntry) << content;
        EXPECT_TRUE(
            std::regex_match(content.substr(std::min(firstEntry.size(), content.size())),
                             std::regex("2024-10-05, 00:00:00: QX_Flow::T: in line [1-9][0-9]*: \r\n")))
            << content;
    }
    {
        SCOPED_TRACE("without a scheduler the machine's clock gives date and time");
        fs::remove(logFile);
        inFreshThread([] { DebugWrite("T", "real"); });
        EXPECT_TRUE(std::regex_match(
            readAll(logFile), std::regex("20[0-9]{2}-[01][0-9]-[0-3][0-9], [0-2][0-9]:[0-5][0-9]:[0-5][0-9]: "
                                         "QX_Flow::T: real\r\n")))
            << readAll(logFile);
    }
    {
        SCOPED_TRACE("a debugger switch that is no number leaves it off and the file switch still counts");
        registryStore().setText(kControlsKey, "Debug", "yes");
        fs::remove(logFile);
        channel.clear();
        inFreshThread([&] {
            setLogClock(&clock);
            DebugWrite("T", "file only");
        });
        EXPECT_TRUE(channel.empty());
        EXPECT_EQ(readAll(logFile), "2024-10-05, 00:00:00: QX_Flow::T: file only\r\n");
    }
    {
        SCOPED_TRACE("a file that cannot be written still lets the channel have its piece");
        registryStore().setDword(kControlsKey, "Debug", 1);
        fs::remove(logFile);
        fs::create_directory(logFile);
        channel.clear();
        inFreshThread([] { EXPECT_NO_THROW(DebugWrite("T", "despite the file")); });
        EXPECT_EQ(channel, (Pieces{"QX_Flow::T: despite the file"}));
    }
}

TEST(AppendLineToFile, AppendsOneCrLfLinePerCallAndIgnoresFailures) {
    const fs::path path = testing::TempDir() + "qx_append_" + std::to_string(getpid()) + ".log";
    fs::remove(path);
    AppendLineToFile(path, "one");
    AppendLineToFile(path, "two\r\nthree");
    AppendLineToFile(path, "");
    EXPECT_EQ(readAll(path), "one\r\ntwo\r\nthree\r\n\r\n");
    fs::remove(path);

    const fs::path nowhere = testing::TempDir() + "qx_no_such_folder/dtm.log";
    EXPECT_NO_THROW(AppendLineToFile(nowhere, "lost"));
    EXPECT_FALSE(fs::exists(nowhere));
}

}  // namespace
}  // namespace qx::support
