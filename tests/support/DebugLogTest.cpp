// The diagnostic log: when each output is on, the header it writes, how a message of several
// lines reaches the debugger output channel, the lines as they land in "dtm.log", and that it
// never fails its caller; and the configuration it reads: what ReadRegistryValue makes of each
// kind of value, and the model-combining switch that a thread reads once.
//
// The log keeps its switches per thread and reads them once, so every case logs in a thread of
// its own (joined before its output is read), against a registry it set up itself.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "platform/DebugOutput.h"
#include "platform/LibraryFolder.h"
#include "platform/Registry.h"
#include "platform/RuntimeError.h"
#include "platform/TestSupport.h"
#include "platform/VirtualScheduler.h"
#include "support/DebugLog.h"

namespace qx::support {
namespace {

namespace fs = std::filesystem;
using platform::registryStore;
using Pieces = std::vector<std::string>;

constexpr const char* kControlsKey = "SOFTWARE\\QXX\\Controls";

class LogTest : public testing::Test {
  protected:
    void SetUp() override {
        registryStore().clear();
        platform::setDebugOutputSink([this](const std::string& text) {
            channel.push_back(text);
            if (onPiece) onPiece(text);
        });
    }
    void TearDown() override {
        platform::setDebugOutputSink({});
        registryStore().clear();
    }

    static void switchOn(const char* name) { registryStore().setDword(kControlsKey, name, 1); }
    // A text is stored as a text value, a number as a DWORD, empty as nothing.
    static void store(const char* name, const platform::Variant& value) {
        if (value.isText()) registryStore().setText(kControlsKey, name, value.toText());
        if (value.isNumber())
            registryStore().setDword(kControlsKey, name, static_cast<uint32_t>(value.toInt32()));
    }
    // Runs f in a thread that has not logged yet and gives the pieces it sent to the channel.
    Pieces logged(const std::function<void()>& f) {
        channel.clear();
        std::thread(f).join();
        return channel;
    }

    Pieces channel;                                   // pieces sent to the debugger output channel
    std::function<void(const std::string&)> onPiece;  // runs as each piece arrives
};
using DebugChannel = LogTest;
using RegistrySettings = LogTest;

TEST_F(DebugChannel, OffWithoutTheKeyAndTheRegistryIsReadOnlyAtTheFirstCall) {
    EXPECT_TRUE(logged([] {
                    DebugWrite("T", "before");
                    switchOn("Debug");  // too late for this thread
                    DebugWrite("T", "after");
                }).empty());
    EXPECT_EQ(logged([] { DebugWrite("T", "new thread"); }), (Pieces{"QX_Flow::T: new thread"}));
}

TEST_F(DebugChannel, OnlyTheNumberOneSwitchesItOn) {
    const std::pair<platform::Variant, bool> cases[] = {
        {1, true},  {"1", true}, {" 1.0 ", true}, {0, false},
        {2, false}, {-1, false}, {"yes", false},  {"", false},
    };
    for (const auto& [value, on] : cases) {
        SCOPED_TRACE(testing::PrintToString(value.toText()) + (value.isText() ? " as text" : ""));
        registryStore().clear();
        store("Debug", value);
        EXPECT_EQ(logged([] { DebugWrite("T", "m"); }).size(), on ? 1u : 0u);
    }
}

TEST_F(DebugChannel, HeaderNamesTheLineOfTheErrorBeingHandled) {
    switchOn("Debug");
    int line = 0;
    const Pieces pieces = logged([&] {
        try {
            line = __LINE__ + 1;
            platform::raise(platform::kOverflow);
        } catch (const platform::RuntimeError& e) {
            platform::ErrorLineScope handling(e);
            DebugWrite("Tag", "handled");
        }
        DebugWrite("Tag", "afterwards");
    });
    EXPECT_EQ(pieces, (Pieces{"QX_Flow::Tag: in line " + std::to_string(line) + ": handled",
                              "QX_Flow::Tag: afterwards"}));
}

TEST_F(DebugChannel, MessagesAreCutIntoOnePiecePerCrLfLine) {
    switchOn("Debug");
    const std::string h = "QX_Flow::T: ";
    const std::pair<std::string, Pieces> cases[] = {
        {"", {h}},
        {"one", {h + "one"}},
        {"one\r\n", {h + "one"}},
        {"\r\n", {h}},
        {"one\r\ntwo\r\n", {h + "one", h + "two"}},
        {"one\r\n\r\ntwo", {h + "one", h, h + "two"}},
        {"one\r\n\r\n", {h + "one", h}},
        {"a\nb\rc", {h + "a\nb\rc"}},  // only the pair cuts
    };
    for (const auto& [message, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(message));
        EXPECT_EQ(logged([&] { DebugWrite("T", message); }), expected);
    }
}

class FailingObject : public host::Object {
  public:
    std::string className() const override { platform::raise(platform::kObjectNotSet); }
};

TEST_F(DebugChannel, NothingThatFailsInsideReachesTheCaller) {
    switchOn("Debug");
    logged([&] {
        FailingObject failing;
        EXPECT_NO_THROW(DebugLog(failing, "x", ""));
        onPiece = [](const std::string&) { throw std::runtime_error("sink broke"); };
        EXPECT_NO_THROW(DebugWrite("T", "one\r\ntwo"));
    });
}

// Every test program of a build shares the library's folder, and CTest runs test cases as
// processes side by side, so all that touches dtm.log is one test case.
class DebugLogFile : public LogTest {
  protected:
    void TearDown() override {
        fs::remove_all(logFile);  // whatever the test did to it
        LogTest::TearDown();
    }
    static std::string readAll(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    // Logs in a fresh thread on the virtual clock and gives what a fresh log file then holds.
    std::string fileAfter(const std::function<void()>& f) {
        fs::remove_all(logFile);
        logged([&] {
            setLogClock(&clock);
            f();
            setLogClock(nullptr);
        });
        return readAll(logFile);
    }

    const fs::path logFile = platform::libraryFolder() + "/dtm.log";
    platform::VirtualScheduler clock{10 * 3600 * 1000 + 500, 20'000};  // 2024-10-04 10:00:00.500
};

// The view as it passes itself to the log. It is more than the frame's object, so its identity
// (the whole object's address) differs from the address of its Object part.
struct Extra {
    virtual ~Extra() = default;
};
struct FakeView : Extra, host::Object {
    std::string className() const override { return "QX_FlowWiz"; }
};

TEST_F(DebugLogFile, LinesAsTheyLandInTheFile) {
    switchOn("Debug");
    EXPECT_EQ(fileAfter([] { DebugWrite("T", "channel only"); }), "");
    EXPECT_FALSE(fs::exists(logFile)) << "the debugger switch alone creates no file";

    switchOn("DebugFile");
    FakeView view;
    const std::string header =
        "QX_Flow::(" + std::to_string(reinterpret_cast<uintptr_t>(&view)) + ")QX_FlowWiz: ";
    std::vector<bool> lineWasThere;
    onPiece = [&](const std::string&) {
        lineWasThere.push_back(readAll(logFile).find("Start") != std::string::npos);
    };
    EXPECT_EQ(fileAfter([&] { DebugLog(view, "UserControl_Initialize():", "Start"); }),
              "2024-10-04, 10:00:00: " + header + "UserControl_Initialize():Start\r\n");
    EXPECT_EQ(channel, (Pieces{header + "UserControl_Initialize():Start"}));
    EXPECT_EQ(lineWasThere, (std::vector<bool>{true})) << "the file is written first";

    // A message of several lines is one entry; the date follows the scheduler past midnight.
    EXPECT_EQ(fileAfter([&] {
                  DebugLog("T", "first\r\n", "second");
                  clock.advance(14 * 3600 * 1000);
                  DebugWrite("T", "");
              }),
              "2024-10-04, 10:00:00: QX_Flow::T: first\r\nsecond\r\n2024-10-05, 00:00:00: QX_Flow::T: \r\n");

    // Without a scheduler the machine's clock gives date and time.
    fs::remove(logFile);
    logged([] { DebugWrite("T", "real"); });
    EXPECT_TRUE(std::regex_match(readAll(logFile),
                                 std::regex("20[0-9]{2}-[01][0-9]-[0-3][0-9], "
                                            "[0-2][0-9]:[0-5][0-9]:[0-5][0-9]: QX_Flow::T: real\r\n")))
        << readAll(logFile);

    // A debugger switch that is no number leaves it off; the file switch still counts.
    platform::registryStore().setText(kControlsKey, "Debug", "yes");
    EXPECT_EQ(fileAfter([] { DebugWrite("T", "file only"); }),
              "2024-10-05, 00:00:00: QX_Flow::T: file only\r\n");
    EXPECT_TRUE(channel.empty());

    // A file that cannot be written still lets the channel have its piece; that the file is no
    // regular file is said there once.
    onPiece = nullptr;
    switchOn("Debug");
    fs::remove(logFile);
    fs::create_directory(logFile);
    EXPECT_EQ(
        logged([] { EXPECT_NO_THROW(DebugWrite("T", "despite the file")); }),
        (Pieces{"QX_Flow::DebugLog: " + logFile.string() + " is not a regular file: nothing is logged to it",
                "QX_Flow::T: despite the file"}));

    // A FIFO in the file's place gets nothing, whether someone holds it open for reading or not,
    // and the caller never waits for a reader.
    fs::remove(logFile);
    ASSERT_EQ(::mkfifo(logFile.c_str(), 0600), 0);
    const int reader = ::open(logFile.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(logged([] { DebugWrite("T", "not into the FIFO"); }),
              (Pieces{"QX_Flow::T: not into the FIFO"}));
    char byte = 0;
    EXPECT_LE(::read(reader, &byte, 1), 0) << "a line went into the FIFO";
    ::close(reader);
    if (HasFailure()) return;  // a log that writes to a FIFO would wait for a reader below
    EXPECT_EQ(logged([] { DebugWrite("T", "nobody reads"); }), (Pieces{"QX_Flow::T: nobody reads"}));
}

// The kind of a value and its text, so that 0, "0" and empty tell apart.
std::string shown(const platform::Variant& v) {
    const char* kinds[] = {"empty", "number ", "double ", "text ", "boolean "};
    return kinds[static_cast<int>(v.kind())] + v.toText();
}

TEST_F(RegistrySettings, ReadRegistryValueByKindOfValue) {
    // Types the store's own calls cannot make come from a file.
    test::ScratchFile file(
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvex\\DTM]\n\"Empty\"=\"\"\n"
        "\"Text\"=\"2500\"\n\"PollCycle\"=dword:000000fa\n\"AllBits\"=dword:ffffffff\n"
        "\"Longest\"=\"" +
        std::string(255, 'x') + "\"\n\"TooLong\"=\"" + std::string(256, 'x') +
        "\"\n\"Binary\"=hex:01,00,00,00\n"
        // Declared a DWORD but eight bytes long: the first read fits, the four-byte one not.
        "\"WideDword\"=hex(4):01,00,00,00,00,00,00,00\n"
        "\"Bare\"=hex(1):61,62\n"  // a text without its terminating zero
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvex\\DTM\\Sub]\n\"Deep\"=dword:00000007\n");
    ASSERT_EQ(registryStore().loadFile(file.path()).result, platform::RegistryStore::LoadResult::Loaded);
    const std::string dtm = "SOFTWARE\\Orvex\\DTM";
    const std::array<std::string, 4> rows[] = {
        {dtm, "Missing", "", "number 0"},
        {"SOFTWARE\\Orvex\\None", "PollCycle", "", "number 0"},
        {dtm, "Empty", "", "text "},  // not 0: the value is there
        {dtm, "Text", "", "text 2500"},
        {dtm, "PollCycle", "", "number 250"},
        {"software\\orvex\\dtm", "POLLCYCLE", "", "number 250"},
        {dtm, "AllBits", "", "number -1"},  // a signed 32-bit number
        {dtm, "Deep", "Sub", "number 7"},
        {dtm, "Longest", "", "text " + std::string(255, 'x')},
        {dtm, "TooLong", "", "number 0"},  // no room for its zero in the read buffer
        {dtm, "Binary", "", "empty"},
        {dtm, "WideDword", "", "empty"},
        {dtm, "Bare", "", "text ab"},
    };
    for (const auto& [key, name, sub, expected] : rows) {
        SCOPED_TRACE(key + " " + name + " " + sub);
        EXPECT_EQ(shown(ReadRegistryValue(key, name, sub)), expected);
    }
}

TEST_F(RegistrySettings, CombineModelsOnlyFor42AndReadOncePerThread) {
    const std::pair<platform::Variant, bool> cases[] = {{42, true},    {"42", true}, {1, false},
                                                        {"on", false}, {0, false},   {{}, false}};
    for (const auto& [value, on] : cases) {
        SCOPED_TRACE(shown(value));
        registryStore().clear();
        store("CombineModels", value);
        std::thread([on = on] {
            EXPECT_EQ(IsCombineModels(), on);
            registryStore().setDword(kControlsKey, "CombineModels", on ? 0 : 42);
            EXPECT_EQ(IsCombineModels(), on);  // the cached answer, whatever the registry says now
        }).join();
        std::thread([on = on] { EXPECT_EQ(IsCombineModels(), !on); }).join();  // a new thread reads afresh
    }
}

}  // namespace
}  // namespace qx::support
