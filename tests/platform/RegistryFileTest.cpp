// Reading .reg files into the registry store: both file versions, both encodings, the value
// formats regedit writes, and what a broken file does (nothing, plus one diagnostic line).
#include <gtest/gtest.h>

#include <algorithm>

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

Load load(RegistryStore& store, const std::string& bytes) {
    test::ScratchFile file(bytes);
    return store.loadFile(file.path());
}

TEST(RegistryFile, BothVersionsAndEncodingsGiveTheSameValues) {
    for (const std::string header :
         {"REGEDIT4", "Windows Registry Editor Version 5.00", "\xEF\xBB\xBFREGEDIT4"}) {
        SCOPED_TRACE(header);
        RegistryStore store;
        ASSERT_EQ(load(store, header + "\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX\\Controls]\r\n"
                                       "\"Debug\"=dword:00000001\r\n\"Mode\"=\"fast\"\r\n"),
                  Load::Loaded);
        EXPECT_EQ(valueOf(store, "Debug"), "4:\x01\0\0\0"s);
        EXPECT_EQ(valueOf(store, "Mode"), "1:fast\0"s);  // the terminating zero is part of the data
    }
    // UTF-16LE, as regedit saves a file; texts come out as UTF-8.
    RegistryStore store;
    ASSERT_EQ(load(store, test::utf16leWithBom(u"Windows Registry Editor Version 5.00\r\n\r\n"
                                               u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Orvex\\DTM]\r\n"
                                               u"\"PollCycle\"=dword:000001f4\r\n"
                                               u"\"Place\"=\"Durchflu\u00DF \U0001F30A\"\r\n")),
              Load::Loaded);
    EXPECT_EQ(valueOf(store, "PollCycle", "SOFTWARE\\Orvex\\DTM"), "4:\xF4\x01\0\0"s);
    EXPECT_EQ(valueOf(store, "Place", "SOFTWARE\\Orvex\\DTM"), "1:Durchflu\xC3\x9F \xF0\x9F\x8C\x8A\0"s);
}

TEST(RegistryFile, TextsEscapesCommentsDefaultValuesAndCaseOfNames) {
    RegistryStore store;
    ASSERT_EQ(
        load(store,
             "REGEDIT4\n; settings of the flow view\n\n[HKEY_LOCAL_MACHINE\\Software\\qxx\\controls]\n"
             "; the next line is the key's default value\n@=\"standard\"\n\"DebugFile\"=dword:1\n"
             "\"Path\"=\"C:\\\\Program Files\\\\QXX\\\\\"\n\"Say \\\"hi\\\"\"=\"a \\\"quoted\\\" word\"\n"
             "\"Empty\"=\"\"\n"),
        Load::Loaded);
    EXPECT_EQ(valueOf(store, ""), "1:standard\0"s);
    EXPECT_EQ(valueOf(store, "debugfile", "SOFTWARE\\QXX\\CONTROLS"), "4:\x01\0\0\0"s);
    EXPECT_EQ(valueOf(store, "Path"), "1:C:\\Program Files\\QXX\\\0"s);
    EXPECT_EQ(valueOf(store, "Say \"hi\""), "1:a \"quoted\" word\0"s);
    EXPECT_EQ(valueOf(store, "Empty"), "1:\0"s);
    // A key implies the keys above it.
    EXPECT_TRUE(store.hasKey("SOFTWARE\\QXX"));
    EXPECT_FALSE(store.hasKey("SOFTWARE\\QXX\\Other"));
}

TEST(RegistryFile, OtherValueTypesKeepTheirTypeAndBytes) {
    RegistryStore store;
    // A hex list broken over lines with trailing backslashes, as regedit writes long values; in a
    // version 5 file the text types are UTF-16LE and come out as UTF-8, in REGEDIT4 single bytes.
    ASSERT_EQ(load(store,
                   "Windows Registry Editor Version 5.00\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX\\Controls]\r\n"
                   "\"Blob\"=hex:01,02,\\\r\n  03,ff\r\n\"Expand\"=hex(2):25,00,54,00,\\\r\n"
                   "  4d,00,50,00,25,00,00,00\r\n\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
                   "\"Big\"=hex(b):01,00,00,00,00,00,00,00\r\n\"Nothing\"=hex:\r\n"),
              Load::Loaded);
    ASSERT_EQ(load(store, "REGEDIT4\n" + kSection + "\"Expand4\"=hex(2):25,54,25,00\n"), Load::Loaded);
    EXPECT_EQ(valueOf(store, "Blob"), "3:\x01\x02\x03\xFF"s);
    EXPECT_EQ(valueOf(store, "Expand"), "2:%TMP%\0"s);
    EXPECT_EQ(valueOf(store, "Multi"), "7:a\0b\0\0"s);
    EXPECT_EQ(valueOf(store, "Big"), "11:\x01\0\0\0\0\0\0\0"s);
    EXPECT_EQ(valueOf(store, "Nothing"), "3:");
    EXPECT_EQ(valueOf(store, "Expand4"), "2:%T%\0"s);
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
    store.setDword(kControls, "debug", 3);
    EXPECT_EQ(valueOf(store, "Debug"), "4:\x03\0\0\0"s);
    store.clear();
    EXPECT_FALSE(store.hasKey(kControls));
}

TEST(RegistryFile, BrokenFileAddsNothingAndSaysSoOnceAMissingOneSaysNothing) {
    // A good key and value come first: a file is taken whole or not at all.
    const std::string good = "REGEDIT4\n" + kSection + "\"Added\"=dword:1\n";
    const std::pair<std::string, const char*> cases[] = {
        {kSection + "\"Added\"=dword:1\n", "line 1:"},  // no header
        {"", "line 1:"},
        {"\n" + good, "line 1:"},
        {"REGEDIT4\n\"Added\"=dword:1\n", "line 2:"},  // a value before any key
        {good + "[HKEY_NOWHERE\\X]\n", "line 4:"},
        {good + "[HKEY_LOCAL_MACHINE\\X\n", "line 4:"},
        {good + "[HKEY_LOCAL_MACHINE\\X\\\\Y]\n", "line 4:"},
        {good + "\"A\"=\"open\n", "line 4:"},
        {good + "\"A\"=\"C:\\Temp\"\n", "line 4:"},  // a lone backslash
        {good + "\"A\"=dword:000000001\n", "line 4:"},
        {good + "\"A\"=dword:\n", "line 4:"},
        {good + "\"A\"=hex:01,2g\n", "line 4:"},
        {good + "\"A\"=hex:01,\\\n  zz\n\"B\"=dword:1\n", "line 4:"},
        {good + "\"A\"=qword:1\n", "line 4:"},
        {good + "\"A\" dword:1\n", "line 4:"},
        {good + "Debug=1\n", "line 4:"},
        {test::utf16leWithBom(u"REGEDIT4\n") + "x", "UTF-16"},                  // an odd length
        {test::utf16leWithBom(u"REGEDIT4\n\"A\"=\"") + "\x00\xD8"s, "UTF-16"},  // a lone surrogate
    };
    for (const auto& [bytes, where] : cases) {
        SCOPED_TRACE(bytes);
        RegistryStore store;
        store.setDword(kControls, "Kept", 7);
        testing::internal::CaptureStderr();
        EXPECT_EQ(load(store, bytes), Load::Malformed);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_NE(err.find(where), std::string::npos) << err;
        EXPECT_TRUE(store.value(kControls, "Kept"));
        EXPECT_FALSE(store.value(kControls, "Added"));
    }
    RegistryStore store;
    store.setText(kControls, "Kept", "yes");
    testing::internal::CaptureStderr();
    EXPECT_EQ(store.loadFile(testing::TempDir() + "no_such_registry_file.reg"), Load::Missing);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(store.value(kControls, "Kept"));
}

}  // namespace
}  // namespace qx::platform
