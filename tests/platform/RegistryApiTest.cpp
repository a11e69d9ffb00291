// The registry calls over the process-wide store: the return codes and buffer rules the
// library's reader depends on, and where the store comes from at start.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "platform/Registry.h"
#include "platform/TestSupport.h"

namespace qx::platform {
namespace {

constexpr const char* kControls = "SOFTWARE\\QXX\\Controls";

class RegistryApi : public testing::Test {
  protected:
    void SetUp() override {
        registryStore().clear();
        registryStore().setText(kControls, "Mode", "fast");  // 5 bytes with its zero
        registryStore().setDword(kControls, "Debug", 0x01020304);
        registryStore().setText(kControls, "", "default");
    }
    void TearDown() override { registryStore().clear(); }

    // Queries into a buffer of `capacity` bytes that starts out all 'x'.
    LSTATUS query(HKEY key, const std::string& name, uint32_t capacity) {
        bytes.assign(16, 'x');
        type = 0;
        size = capacity;
        return RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<uint8_t*>(bytes.data()), &size);
    }
    std::string bytes;
    uint32_t type = 0, size = 0;
};

TEST_F(RegistryApi, OpeningAndClosingKeys) {
    struct Row {
        HKEY root;
        const char* path;
        uint32_t access;
        LSTATUS status;
    };
    // Only HKEY_LOCAL_MACHINE exists here, and nobody may write to it.
    const Row rows[] = {
        {HKEY_LOCAL_MACHINE, "software\\qxx\\CONTROLS", 0x19, ERROR_SUCCESS},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\QXX\\Missing", KEY_READ, ERROR_FILE_NOT_FOUND},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\QXX\\", KEY_READ, ERROR_FILE_NOT_FOUND},
        {HKEY_CURRENT_USER, kControls, KEY_READ, ERROR_FILE_NOT_FOUND},
        {HKEY_LOCAL_MACHINE, kControls, KEY_ALL_ACCESS, ERROR_ACCESS_DENIED},
        {HKEY_LOCAL_MACHINE, kControls, KEY_SET_VALUE, ERROR_ACCESS_DENIED},
        {HKEY{12345}, "", KEY_READ, ERROR_INVALID_HANDLE},
    };
    for (const Row& row : rows) {
        HKEY key{};
        EXPECT_EQ(RegOpenKeyExA(row.root, row.path, 0, row.access, &key), row.status) << row.path;
        if (row.status == ERROR_SUCCESS) {
            EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
        }
    }
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kControls, 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);

    // A sub-key relative to an open key, and the open key itself again under a new handle.
    HKEY software{}, controls{}, again{};
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_READ, &software), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExA(software, "QXX\\Controls", 0, KEY_READ, &controls), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExA(controls, "", 0, KEY_READ, &again), ERROR_SUCCESS);
    EXPECT_NE(controls, again);
    EXPECT_EQ(query(again, "Mode", 16), ERROR_SUCCESS);
    for (HKEY k : {software, controls, again}) EXPECT_EQ(RegCloseKey(k), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(controls), ERROR_INVALID_HANDLE);
    EXPECT_EQ(query(controls, "Mode", 16), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryApi, SizesTextsWithTheirZeroDwordsAndMissingValues) {
    HKEY key{};
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kControls, 0, KEY_READ, &key), ERROR_SUCCESS);
    ASSERT_EQ(query(key, "mode", 5), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(bytes.substr(0, 6), std::string("fast\0x", 6));
    // One byte short: nothing is copied, but the type and the size needed are reported.
    EXPECT_EQ(query(key, "Mode", 4), ERROR_MORE_DATA);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(bytes[0], 'x');
    EXPECT_EQ(query(key, "", 16), ERROR_SUCCESS);  // the empty name is the key's default value
    EXPECT_EQ(size, 8u);
    ASSERT_EQ(query(key, "Debug", 4), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(bytes.substr(0, 4), "\x04\x03\x02\x01");
    EXPECT_EQ(query(key, "DebugFile", 4), ERROR_FILE_NOT_FOUND);

    // No buffer gives the size alone; a reserved word or no size is refused.
    size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Mode", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 5u);
    uint32_t reserved = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Debug", &reserved, &type, nullptr, &size), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(
        RegQueryValueExA(key, "Debug", nullptr, &type, reinterpret_cast<uint8_t*>(bytes.data()), nullptr),
        ERROR_INVALID_PARAMETER);

    registryStore().clear();  // a key emptied out from under an open handle
    EXPECT_EQ(query(key, "Debug", 4), ERROR_KEY_DELETED);
    RegCloseKey(key);
}

// Runs in a child process, since the store reads its file at first use: points QX_REGISTRY at a
// file of `content` (none: no file), then exits with the size of the value "Mode" (100: no key,
// 101: no value).
[[noreturn]] void exitWithModeSize(const char* content) {
    const std::string path = testing::TempDir() + "qx_start_" + std::to_string(getpid()) + ".reg";
    if (content)
        std::ofstream(path) << "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX\\Controls]\n" << content;
    setenv("QX_REGISTRY", path.c_str(), 1);
    int code = 100;
    HKEY key{};
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kControls, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        uint32_t size = 0;
        code = RegQueryValueExA(key, "Mode", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS
                   ? static_cast<int>(size)
                   : 101;
    }
    std::remove(path.c_str());  // exit() runs no destructors
    std::exit(code);
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
