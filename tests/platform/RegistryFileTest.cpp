// Reading .reg files into the registry store: both file versions, both encodings, the value
// formats regedit writes, and what a broken file does (nothing, plus one diagnostic line).
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Registry.h"
#include "platform/RegistryTestFiles.h"

namespace qx::platform {
namespace {

using test::ScratchFile;
using Load = RegistryStore::LoadResult;

constexpr const char* kControls = "SOFTWARE\\QXX\\Controls";

std::string bytesOf(const std::optional<RegistryValue>& v) {
    return v ? std::string(v->data.begin(), v->data.end()) : std::string("<none>");
}

Load load(RegistryStore& store, const std::string& bytes) {
    ScratchFile file(bytes);
    return store.loadFile(file.path());
}

TEST(RegistryFile, BothHeadersGiveTheSameTextAndDwordValues) {
    for (const std::string header :
         {"REGEDIT4", "Windows Registry Editor Version 5.00", "\xEF\xBB\xBFREGEDIT4"}) {
        SCOPED_TRACE(header);
        RegistryStore store;
        ASSERT_EQ(load(store, header + "\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX\\Controls]\r\n"
                                       "\"Debug\"=dword:00000001\r\n\"Mode\"=\"fast\"\r\n"),
                  Load::Loaded);
        auto debug = store.value(kControls, "Debug");
        ASSERT_TRUE(debug);
        EXPECT_EQ(debug->type, REG_DWORD);
        EXPECT_EQ(debug->data, (std::vector<uint8_t>{1, 0, 0, 0}));
        auto mode = store.value(kControls, "Mode");
        ASSERT_TRUE(mode);
        EXPECT_EQ(mode->type, REG_SZ);
        EXPECT_EQ(bytesOf(mode), std::string("fast\0", 5));  // the terminating zero is part of the data
    }
}

TEST(RegistryFile, Utf16LittleEndianFileAsRegeditSavesIt) {
    RegistryStore store;
    ASSERT_EQ(load(store, test::utf16leWithBom(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                               u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvex\\DTM]\r\n"
                                               u"\"PollCycle\"=dword:000001f4\r\n"
                                               u"\"Place\"=\"Durchflu\u00DF \U0001F30A\"\r\n")),
              Load::Loaded);
    EXPECT_EQ(store.value("SOFTWARE\\Orvex\\DTM", "PollCycle")->data,
              (std::vector<uint8_t>{0xF4, 0x01, 0, 0}));
    EXPECT_EQ(bytesOf(store.value("SOFTWARE\\Orvex\\DTM", "Place")),
              std::string("Durchflu\xC3\x9F \xF0\x9F\x8C\x8A\0", 16));
}

TEST(RegistryFile, QuotedTextsKeepEscapedBackslashesAndQuotes) {
    RegistryStore store;
    ASSERT_EQ(load(store,
                   "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX\\Controls]\n"
                   "\"Path\"=\"C:\\\\Program Files\\\\QXX\\\\\"\n"
                   "\"Say \\\"hi\\\"\"=\"a \\\"quoted\\\" word\"\n"
                   "\"Empty\"=\"\"\n"),
              Load::Loaded);
    EXPECT_EQ(bytesOf(store.value(kControls, "Path")), std::string("C:\\Program Files\\QXX\\\0", 22));
    EXPECT_EQ(bytesOf(store.value(kControls, "Say \"hi\"")), std::string("a \"quoted\" word\0", 16));
    EXPECT_EQ(bytesOf(store.value(kControls, "Empty")), std::string("\0", 1));
}

TEST(RegistryFile, OtherValueTypesKeepTheirTypeAndBytes) {
    RegistryStore store;
    // A hex list broken over lines with trailing backslashes, as regedit writes long values; in a
    // version 5 file the text types are UTF-16LE and come out as UTF-8.
    ASSERT_EQ(load(store,
                   "Windows Registry Editor Version 5.00\r\n"
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX\\Controls]\r\n"
                   "\"Blob\"=hex:01,02,\\\r\n  03,ff\r\n"
                   "\"Expand\"=hex(2):25,00,54,00,\\\r\n"
                   "  4d,00,50,00,25,00,00,00\r\n"
                   "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
                   "\"Big\"=hex(b):01,00,00,00,00,00,00,00\r\n"
                   "\"Nothing\"=hex:\r\n"),
              Load::Loaded);
    auto blob = store.value(kControls, "Blob");
    EXPECT_EQ(blob->type, REG_BINARY);
    EXPECT_EQ(blob->data, (std::vector<uint8_t>{1, 2, 3, 0xFF}));
    EXPECT_EQ(store.value(kControls, "Expand")->type, REG_EXPAND_SZ);
    EXPECT_EQ(bytesOf(store.value(kControls, "Expand")), std::string("%TMP%\0", 6));
    EXPECT_EQ(store.value(kControls, "Multi")->type, REG_MULTI_SZ);
    EXPECT_EQ(bytesOf(store.value(kControls, "Multi")), std::string("a\0b\0\0", 5));
    EXPECT_EQ(store.value(kControls, "Big")->type, REG_QWORD);
    EXPECT_EQ(store.value(kControls, "Big")->data.size(), 8u);
    EXPECT_TRUE(store.value(kControls, "Nothing")->data.empty());

    // REGEDIT4 files spell the text types in single bytes.
    ASSERT_EQ(load(store,
                   "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX\\Controls]\n"
                   "\"Expand4\"=hex(2):25,54,25,00\n"),
              Load::Loaded);
    EXPECT_EQ(bytesOf(store.value(kControls, "Expand4")), std::string("%T%\0", 4));
}

TEST(RegistryFile, CommentsDefaultValuesAndCaseOfNames) {
    RegistryStore store;
    ASSERT_EQ(load(store,
                   "REGEDIT4\n; settings of the flow view\n\n"
                   "[HKEY_LOCAL_MACHINE\\Software\\qxx\\controls]\n"
                   "; the next line is the key's default value\n"
                   "@=\"standard\"\n"
                   "\"DebugFile\"=dword:1\n"),
              Load::Loaded);
    EXPECT_EQ(bytesOf(store.value(kControls, "")), std::string("standard\0", 9));
    EXPECT_TRUE(store.value("SOFTWARE\\QXX\\CONTROLS", "debugfile"));
    // A key implies the keys above it.
    EXPECT_TRUE(store.hasKey("SOFTWARE\\QXX"));
    EXPECT_FALSE(store.hasKey("SOFTWARE\\QXX\\Other"));
}

TEST(RegistryFile, DeletionsAndKeysOfOtherRoots) {
    RegistryStore store;
    store.setDword(kControls, "Debug", 1);
    store.setDword("SOFTWARE\\QXX\\Controls\\Old", "X", 1);
    store.setDword("SOFTWARE\\QXX\\ControlsMore", "Y", 1);
    ASSERT_EQ(load(store,
                   "REGEDIT4\n"
                   "[HKEY_CURRENT_USER\\SOFTWARE\\QXX\\Controls]\n\"Mine\"=dword:00000001\n"
                   "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX\\Controls\\Old]\n"
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX\\Controls]\n\"Debug\"=-\n"),
              Load::Loaded);
    EXPECT_FALSE(store.value(kControls, "Debug"));
    EXPECT_FALSE(store.value(kControls, "Mine"));
    EXPECT_FALSE(store.hasKey("SOFTWARE\\QXX\\Controls\\Old"));
    EXPECT_TRUE(store.hasKey(kControls));
    // A deleted key takes only its own sub-keys, not a sibling whose name starts the same.
    EXPECT_TRUE(store.value("SOFTWARE\\QXX\\ControlsMore", "Y"));
}

TEST(RegistryFile, MalformedFileAddsNothingAndSaysSoOnce) {
    struct Case {
        const char* what;
        std::string bytes;
        const char* where;  // what the diagnostic points at
    };
    // A good key and value come first: a file is taken whole or not at all.
    const std::string good = "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX\\Controls]\n\"Added\"=dword:1\n";
    const Case cases[] = {
        {"no header", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX\\Controls]\n\"Added\"=dword:1\n", "line 1:"},
        {"empty file", "", "line 1:"},
        {"header not on the first line", "\n" + good, "line 1:"},
        {"value before any key", "REGEDIT4\n\"Added\"=dword:1\n", "line 2:"},
        {"unknown root", good + "[HKEY_NOWHERE\\X]\n", "line 4:"},
        {"missing bracket", good + "[HKEY_LOCAL_MACHINE\\X\n", "line 4:"},
        {"empty key name", good + "[HKEY_LOCAL_MACHINE\\X\\\\Y]\n", "line 4:"},
        {"unclosed quote", good + "\"A\"=\"open\n", "line 4:"},
        {"lone backslash in a text", good + "\"A\"=\"C:\\Temp\"\n", "line 4:"},
        {"dword of nine digits", good + "\"A\"=dword:000000001\n", "line 4:"},
        {"dword with no digits", good + "\"A\"=dword:\n", "line 4:"},
        {"bad hex byte", good + "\"A\"=hex:01,2g\n", "line 4:"},
        {"continued hex list with a bad byte", good + "\"A\"=hex:01,\\\n  zz\n\"B\"=dword:1\n", "line 4:"},
        {"unknown format", good + "\"A\"=qword:1\n", "line 4:"},
        {"no equals sign", good + "\"A\" dword:1\n", "line 4:"},
        {"stray text", good + "Debug=1\n", "line 4:"},
        {"odd UTF-16 length", test::utf16leWithBom(u"REGEDIT4\n") + "x", "UTF-16"},
        {"lone surrogate", test::utf16leWithBom(u"REGEDIT4\n\"A\"=\"") + std::string("\x00\xD8", 2), "UTF-16"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RegistryStore store;
        store.setDword(kControls, "Kept", 7);
        testing::internal::CaptureStderr();
        EXPECT_EQ(load(store, c.bytes), Load::Malformed);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_NE(err.find(c.where), std::string::npos) << err;
        EXPECT_TRUE(store.value(kControls, "Kept"));
        EXPECT_FALSE(store.value(kControls, "Added"));
    }
}

TEST(RegistryFile, MissingFileChangesNothingAndSaysNothing) {
    RegistryStore store;
    store.setText(kControls, "Kept", "yes");
    testing::internal::CaptureStderr();
    EXPECT_EQ(store.loadFile(testing::TempDir() + "no_such_registry_file.reg"), Load::Missing);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(store.value(kControls, "Kept"));
}

TEST(RegistryFile, LaterFilesAndValuesOverrideEarlierOnes) {
    RegistryStore store;
    ASSERT_EQ(load(store, "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX\\Controls]\n\"Debug\"=dword:1\n"),
              Load::Loaded);
    ASSERT_EQ(load(store, "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX\\Controls]\n\"DEBUG\"=\"2\"\n"),
              Load::Loaded);
    EXPECT_EQ(store.value(kControls, "Debug")->type, REG_SZ);
    store.setDword(kControls, "debug", 3);
    EXPECT_EQ(store.value(kControls, "Debug")->data, (std::vector<uint8_t>{3, 0, 0, 0}));
    store.clear();
    EXPECT_FALSE(store.hasKey(kControls));
}

}  // namespace
}  // namespace qx::platform
