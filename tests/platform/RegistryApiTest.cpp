// The registry calls over the process-wide store: the return codes and buffer rules the
// library's reader depends on, and where the store comes from at start.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/Registry.h"
#include "platform/RegistryTestFiles.h"

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

    HKEY open(const std::string& path) {
        HKEY key{};
        EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key), ERROR_SUCCESS);
        return key;
    }
};

TEST_F(RegistryApi, OpeningKeys) {
    HKEY key{};
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "software\\qxx\\CONTROLS", 0, 0x19, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\QXX\\Missing", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\QXX\\", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    // Only HKEY_LOCAL_MACHINE exists here, and nobody may write to it.
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kControls, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kControls, 0, KEY_ALL_ACCESS, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kControls, 0, KEY_SET_VALUE, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kControls, 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegOpenKeyExA(HKEY{12345}, "", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);

    // A sub-key relative to an open key, and the open key itself again under a new handle.
    HKEY software = open("SOFTWARE");
    HKEY controls{}, again{};
    ASSERT_EQ(RegOpenKeyExA(software, "QXX\\Controls", 0, KEY_READ, &controls), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExA(controls, "", 0, KEY_READ, &again), ERROR_SUCCESS);
    EXPECT_NE(controls, again);
    uint32_t size = 0;
    EXPECT_EQ(RegQueryValueExA(again, "Mode", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    for (HKEY k : {software, controls, again}) EXPECT_EQ(RegCloseKey(k), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(controls), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExA(controls, "Mode", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryApi, TextSizesCountTheTerminatingZero) {
    HKEY key = open(kControls);
    uint8_t buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    uint32_t type = 0, size = 5;
    ASSERT_EQ(RegQueryValueExA(key, "mode", nullptr, &type, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 6), std::string("fast\0x", 6));

    // One byte short: nothing is copied, but the type and the size needed are reported.
    std::memset(buffer, 'x', sizeof buffer);
    type = 0;
    size = 4;
    EXPECT_EQ(RegQueryValueExA(key, "Mode", nullptr, &type, buffer, &size), ERROR_MORE_DATA);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(buffer[0], 'x');

    // No buffer: the size alone.
    size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Mode", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 5u);

    // The empty name is the key's default value.
    size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExA(key, "", nullptr, &type, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 8u);
    RegCloseKey(key);
}

TEST_F(RegistryApi, DwordsAndMissingValues) {
    HKEY key = open(kControls);
    uint32_t number = 0, size = sizeof number, type = 0;
    ASSERT_EQ(RegQueryValueExA(key, "Debug", nullptr, &type, reinterpret_cast<uint8_t*>(&number), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(number, 0x01020304u);

    size = 4;
    EXPECT_EQ(RegQueryValueExA(key, "DebugFile", nullptr, &type, reinterpret_cast<uint8_t*>(&number), &size),
              ERROR_FILE_NOT_FOUND);
    uint32_t reserved = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Debug", &reserved, &type, reinterpret_cast<uint8_t*>(&number), &size),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExA(key, "Debug", nullptr, &type, reinterpret_cast<uint8_t*>(&number), nullptr),
              ERROR_INVALID_PARAMETER);

    // A key emptied out from under an open handle.
    registryStore().clear();
    size = 4;
    EXPECT_EQ(RegQueryValueExA(key, "Debug", nullptr, &type, reinterpret_cast<uint8_t*>(&number), &size),
              ERROR_KEY_DELETED);
    RegCloseKey(key);
}

// The store reads its file at first use, so each case runs in a process of its own.
class RegistryAtStart : public testing::Test {
  protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

// Runs in the child process: points QX_REGISTRY at `path`, then exits with the size of the value
// "Mode" (100: no key, 101: no value).
[[noreturn]] void exitWithModeSize(const std::string& path) {
    setenv("QX_REGISTRY", path.c_str(), 1);
    int code = 100;
    HKEY key{};
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kControls, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        uint32_t size = 0;
        code = RegQueryValueExA(key, "Mode", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS
                   ? static_cast<int>(size)
                   : 101;
        RegCloseKey(key);
    }
    std::remove(path.c_str());  // exit() would leave the child's own scratch file behind
    std::exit(code);
}

TEST_F(RegistryAtStart, TheFileNamedByQxRegistryIsRead) {
    test::ScratchFile file("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX\\Controls]\n\"Mode\"=\"slow\"\n");
    EXPECT_EXIT(exitWithModeSize(file.path()), testing::ExitedWithCode(5), "");
}

TEST_F(RegistryAtStart, NoFileIsAnEmptyRegistryWithoutComplaint) {
    EXPECT_EXIT(exitWithModeSize(testing::TempDir() + "qx_no_such_registry.reg"),
                testing::ExitedWithCode(100), "^$");
}

TEST_F(RegistryAtStart, ABrokenFileIsAnEmptyRegistryAndOneLineOnStandardError) {
    test::ScratchFile file("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\QXX\\Controls]\n\"Mode\"=\"slow\n");
    EXPECT_EXIT(exitWithModeSize(file.path()), testing::ExitedWithCode(100), "^[^\n]*line 3: [^\n]*\n$");
}

}  // namespace
}  // namespace qx::platform
