#pragma once
// Reads the text of a .reg file as regedit writes it ("REGEDIT4" or "Windows Registry Editor
// Version 5.00", UTF-8 or UTF-16LE with a byte-order mark) into the edits it describes, in file
// order. Only HKEY_LOCAL_MACHINE matters to us: sections under the other roots are read and left
// out of the result.
#include <cstdint>
#include <string>
#include <vector>

namespace qx::platform {

// Value types, with the numbers the registry uses.
constexpr uint32_t REG_NONE = 0;
constexpr uint32_t REG_SZ = 1;
constexpr uint32_t REG_EXPAND_SZ = 2;
constexpr uint32_t REG_BINARY = 3;
constexpr uint32_t REG_DWORD = 4;
constexpr uint32_t REG_MULTI_SZ = 7;
constexpr uint32_t REG_QWORD = 11;

// One value as the ANSI registry calls hand it out: its type and its bytes (texts in UTF-8,
// REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ with their terminating zeros).
struct RegistryValue {
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

struct RegistryEdit {
    enum class Kind { AddKey, DeleteKey, SetValue, DeleteValue };
    Kind kind = Kind::AddKey;
    std::string keyPath;    // below HKEY_LOCAL_MACHINE, components joined by backslashes
    std::string valueName;  // empty for the default value ("@")
    RegistryValue value;    // SetValue only
    size_t line = 0;        // where the file says it, for reports on what was read
};

struct RegistryFileContent {
    bool ok = false;
    std::vector<RegistryEdit> edits;  // when ok
    std::string error;                // when not ok: "line <n>: <why>"
};

// `bytes` is the whole file as read from disk.
RegistryFileContent parseRegistryFile(const std::string& bytes);

}  // namespace qx::platform
