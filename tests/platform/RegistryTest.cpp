// The registry over a .reg file: reading both file versions, both encodings and the value formats
// regedit writes into the store, what a broken file does (nothing, plus one diagnostic line), the
// return codes and buffer rules of the registry calls the library's reader depends on, and where
// the store comes from at start.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/Registry.h"
#include "platform/TestSupport.h"

namespace qx::platform {
namespace {

using Load = RegistryStore::LoadResult;
using namespace std::string_literals;

constexpr const char* kControls = "SOFTWARE\\QXX\\Controls";
const std::string kSection = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX\\Controls]\n";

// A value as "<type>:<bytes>", so that one comparison checks both.
std::string valueOf(const RegistryStore& store, const std::string& name, const std::string& key = kControls) {
    const auto v = store.value(key, name);
    return v ? std::to_string(v->type) + ":" + std::string(v->data.begin(), v->data.end()) : "<none>";
}

RegistryStore::LoadReport report(RegistryStore& store, const std::string& bytes) {
    test::ScratchFile file(bytes);
    return store.loadFile(file.path());
}
Load load(RegistryStore& store, const std::string& bytes) {
    return report(store, bytes).result;
}

TEST(RegistryFile, BothVersionsAndEncodingsGiveTheSameValues) {
    const std::string body =
        "\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX\\Controls]\r\n\"Debug\"=dword:000001f4\r\n"
        "\"Mode\"=\"Durchflu\xC3\x9F \xF0\x9F\x8C\x8A\"\r\n";
    // The last one as regedit saves a file: UTF-16LE, whose texts come out as UTF-8.
    for (const std::string& file :
         {"REGEDIT4" + body, "Windows Registry Editor Version 5.00" + body, "\xEF\xBB\xBFREGEDIT4" + body,
          test::utf16leWithBom(
              u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX"
              u"\\Controls]\r\n\"Debug\"=dword:000001f4\r\n\"Mode\"=\"Durchflu\u00DF \U0001F30A\"\r\n")}) {
        RegistryStore store;
        ASSERT_EQ(load(store, file), Load::Loaded) << file;
        EXPECT_EQ(valueOf(store, "Debug"), "4:\xF4\x01\0\0"s);
        // The terminating zero is part of the data.
        EXPECT_EQ(valueOf(store, "Mode"), "1:Durchflu\xC3\x9F \xF0\x9F\x8C\x8A\0"s);
    }
}

TEST(RegistryFile, ValueFormatsRegeditWritesWithCommentsEscapesAndDefaultValues) {
    RegistryStore store;
    // A hex list broken over lines with trailing backslashes, as regedit writes long values; in a
    // version 5 file the text types are UTF-16LE and come out as UTF-8, in REGEDIT4 single bytes.
    ASSERT_EQ(load(store,
                   "Windows Registry Editor Version 5.00\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX\\Controls]\r\n"
                   "\"Blob\"=hex:01,02,\\\r\n  03,ff\r\n\"Expand\"=hex(2):25,00,54,00,\\\r\n"
                   "  4d,00,50,00,25,00,00,00\r\n\"Nothing\"=hex:\r\n"),
              Load::Loaded);
    ASSERT_EQ(
        load(store,
             "REGEDIT4\n; settings of the flow view\n\n[HKEY_LOCAL_MACHINE\\Software\\qxx\\controls]\n"
             "; the next line is the key's default value\n@=\"standard\"\n\"Expand4\"=hex(2):25,54,25,00\n"
             "\"Path\"=\"C:\\\\QXX\\\\\"\n\"Say \\\"hi\\\"\"=\"a \\\"quoted\\\" word\"\n"),
        Load::Loaded);
    EXPECT_EQ(valueOf(store, "Blob"), "3:\x01\x02\x03\xFF"s);
    EXPECT_EQ(valueOf(store, "Expand"), "2:%TMP%\0"s);
    EXPECT_EQ(valueOf(store, "expand4", "SOFTWARE\\QXX\\CONTROLS"), "2:%T%\0"s);
    EXPECT_EQ(valueOf(store, ""), "1:standard\0"s);
    EXPECT_EQ(valueOf(store, "Path"), "1:C:\\QXX\\\0"s);
    EXPECT_EQ(valueOf(store, "Say \"hi\""), "1:a \"quoted\" word\0"s);
    // A key implies the keys above it.
    EXPECT_TRUE(store.hasKey("SOFTWARE\\QXX"));
}

TEST(RegistryFile, LaterFilesValuesAndDeletionsOverrideEarlierOnes) {
    RegistryStore store;
    store.setDword(kControls, "Debug", 1);
    store.setDword(kControls, "Gone", 1);
    store.setDword("SOFTWARE\\QXX\\Controls\\Old", "X", 1);
    store.setDword("SOFTWARE\\QXX\\ControlsMore", "Y", 1);
    ASSERT_EQ(load(store,
                   "REGEDIT4\n[HKEY_CURRENT_USER\\SOFTWARE\\QXX\\Controls]\n\"Mine\"=dword:00000001\n"
                   "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX\\Controls\\Old]\n" +
                       kSection + "\"Gone\"=-\n\"DEBUG\"=\"2\"\n"),
              Load::Loaded);
    EXPECT_EQ(valueOf(store, "Debug"), "1:2\0"s);
    EXPECT_EQ(valueOf(store, "Gone"), "<none>");
    EXPECT_EQ(valueOf(store, "Mine"), "<none>");  // another root's section is left out
    EXPECT_FALSE(store.hasKey("SOFTWARE\\QXX\\Controls\\Old"));
    // A deleted key takes only its own sub-keys, not a sibling whose name starts the same.
    EXPECT_TRUE(store.value("SOFTWARE\\QXX\\ControlsMore", "Y"));
}

TEST(RegistryFile, BrokenFileAddsNothingAndSaysWhereAndWhy) {
    // A good key and value come first: a file is taken whole or not at all.
    const std::string good = "REGEDIT4\n" + kSection + "\"Added\"=dword:1\n";
    const std::pair<std::string, const char*> cases[] = {
        {kSection + "\"Added\"=dword:1\n", "line 1: not a registry file (no header)"},
        {"", "line 1: not a registry file (no header)"},
        {"REGEDIT4\n\"Added\"=dword:1\n", "line 2: value before the first key"},
        {good + "\"A\"=\"C:\\Temp\"\n", "line 4: a backslash in quotes must be doubled"},
        {good + "\"A\"=hex:01,\\\n  zz\n\"B\"=dword:1\n", "line 4: bad hex byte"},
        {good + "\"PollCycle=\"500\n",
         "line 4: the value name \"PollCycle=\" is followed by '500' instead of '=' (the closing quote "
         "belongs "
         "before the '=': \"PollCycle\"=)"},
        {good + "\"PollCycle\"\n",
         "line 4: the value name \"PollCycle\" is followed by nothing instead of '='"},
        {good + "PollCycle=1\n",
         "line 4: expected a [key], a \"name\"=value or a ; comment, not 'PollCycle=1'"},
        {test::utf16leWithBom(u"REGEDIT4\n") + "x", "the file is not valid UTF-16LE"},  // an odd length
        {test::utf16leWithBom(u"REGEDIT4\n\"A\"=\"") + "\x00\xD8"s, "the file is not valid UTF-16LE"},
    };
    for (const auto& [bytes, why] : cases) {
        SCOPED_TRACE(bytes);
        RegistryStore store;
        store.setDword(kControls, "Kept", 7);
        const auto loaded = report(store, bytes);
        EXPECT_EQ(loaded.result, Load::Malformed);
        EXPECT_EQ(loaded.why, why);
        EXPECT_TRUE(store.value(kControls, "Kept"));
        EXPECT_FALSE(store.value(kControls, "Added"));
    }
    RegistryStore store;
    const auto missing = store.loadFile("/nonexistent/registry.reg");
    EXPECT_EQ(missing.result, Load::Missing);
    EXPECT_EQ(missing.why, "file not found");
}

// The console reports what it read by the file's lines.
TEST(RegistryFile, EachEditKnowsItsLine) {
    RegistryStore store;
    const auto loaded = report(store, "REGEDIT4\n\n; c\n" + kSection + "\"A\"=hex:01,\\\n 02\n\"B\"=-\n");
    ASSERT_EQ(loaded.result, Load::Loaded);
    std::vector<size_t> lines;
    for (const auto& edit : loaded.edits) lines.push_back(edit.line);
    EXPECT_EQ(lines, (std::vector<size_t>{4, 5, 7}));
}

class RegistryApi : public testing::Test {
  protected:
    void SetUp() override {
        registryStore().clear();
        registryStore().setText(kControls, "Mode", "fast");  // 5 bytes with its zero
        registryStore().setDword(kControls, "Debug", 0x01020304);
        registryStore().setText(kControls, "", "default");
    }
    void TearDown() override { registryStore().clear(); }

    // Queries into a buffer of `capacity` bytes that starts out all 'x': "<status> <type> <size> "
    // and the buffer's first capacity + 1 bytes.
    static std::string query(HKEY key, const std::string& name, uint32_t capacity) {
        std::string bytes(16, 'x');
        uint32_t type = 0, size = capacity;
        const LSTATUS status =
            RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<uint8_t*>(bytes.data()), &size);
        return std::to_string(status) + " " + std::to_string(type) + " " + std::to_string(size) + " " +
               bytes.substr(0, capacity + 1);
    }
    static LSTATUS openAndClose(HKEY root, const std::string& path, uint32_t access) {
        HKEY key{};
        const LSTATUS status = RegOpenKeyExA(root, path, 0, access, &key);
        if (status == ERROR_SUCCESS) RegCloseKey(key);
        return status;
    }
};

TEST_F(RegistryApi, OpeningKeysAndSizingTextsWithTheirZero) {
    // Only HKEY_LOCAL_MACHINE exists here, and nobody may write to it.
    EXPECT_EQ(openAndClose(HKEY_LOCAL_MACHINE, "software\\qxx\\CONTROLS", 0x19), ERROR_SUCCESS);
    EXPECT_EQ(openAndClose(HKEY_LOCAL_MACHINE, "SOFTWARE\\QXX\\Missing", KEY_READ), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(openAndClose(HKEY_CURRENT_USER, kControls, KEY_READ), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(openAndClose(HKEY_LOCAL_MACHINE, kControls, KEY_ALL_ACCESS), ERROR_ACCESS_DENIED);
    EXPECT_EQ(openAndClose(HKEY_LOCAL_MACHINE, kControls, KEY_SET_VALUE), ERROR_ACCESS_DENIED);

    // A sub-key relative to an open key.
    HKEY software{}, key{};
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_READ, &software), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExA(software, "QXX\\Controls", 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(query(key, "mode", 5), "0 1 5 fast\0x"s);
    EXPECT_EQ(query(key, "Mode", 4), "234 1 5 xxxxx");  // the type and the size needed, no bytes
    EXPECT_EQ(query(key, "", 16).substr(0, 15), "0 1 8 default\0x"s);  // the key's default value
    EXPECT_EQ(query(key, "Debug", 4), "0 4 4 \x04\x03\x02\x01x"s);
    EXPECT_EQ(query(key, "DebugFile", 4).substr(0, 2), "2 ");
    registryStore().clear();  // a key emptied out from under an open handle
    EXPECT_EQ(query(key, "Debug", 4).substr(0, 5), "1018 ");
    for (HKEY k : {software, key}) EXPECT_EQ(RegCloseKey(k), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(query(key, "Mode", 16).substr(0, 2), "6 ");
}

// Runs in a child process, since the store reads its file at first use: points QX_REGISTRY at a
// file of `content` (none: no file), then exits with the size of the value "Mode" (100: no key).
[[noreturn]] void exitWithModeSize(const char* content) {
    const std::string path = testing::TempDir() + "qx_start_" + std::to_string(getpid()) + ".reg";
    if (content)
        std::ofstream(path) << "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX\\Controls]\n" << content;
    setenv("QX_REGISTRY", path.c_str(), 1);
    HKEY key{};
    uint32_t size = 100;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kControls, 0, KEY_READ, &key) == ERROR_SUCCESS)
        RegQueryValueExA(key, "Mode", nullptr, nullptr, nullptr, &size);
    std::remove(path.c_str());  // exit() runs no destructors
    std::exit(static_cast<int>(size));
}

TEST(RegistryAtStart, TheFileNamedByQxRegistryIsReadAndNoOrABrokenFileIsAnEmptyRegistry) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(exitWithModeSize("\"Mode\"=\"slow\"\n"), testing::ExitedWithCode(5), "");
    EXPECT_EXIT(exitWithModeSize(nullptr), testing::ExitedWithCode(100), "^$");
    // A broken file also says why, in one line on standard error.
    EXPECT_EXIT(exitWithModeSize("\"Mode\"=\"slow\n"), testing::ExitedWithCode(100),
                "^[^\n]*line 3: [^\n]*\n$");
}

}  // namespace
}  // namespace qx::platform
