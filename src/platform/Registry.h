#pragma once
// The registry as the library reads it: HKEY_LOCAL_MACHINE only, read only. RegOpenKeyExA,
// RegQueryValueExA and RegCloseKey keep the contract of the platform's ANSI calls (return codes,
// sizes in bytes, REG_SZ data with its terminating zero, key paths and value names compared
// without regard to case). Behind them is one process-wide store, filled at first use from the
// .reg file that QX_REGISTRY names, else /etc/qxflow/registry.reg (no file: an empty registry),
// and by the console and tests through the store's own calls. Safe to call from any thread.
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/PackageInternal.h"
#include "platform/RegistryFile.h"

namespace qx::platform {

using LSTATUS = int32_t;
constexpr LSTATUS ERROR_SUCCESS = 0;
constexpr LSTATUS ERROR_FILE_NOT_FOUND = 2;
constexpr LSTATUS ERROR_ACCESS_DENIED = 5;
constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
constexpr LSTATUS ERROR_INVALID_PARAMETER = 87;
constexpr LSTATUS ERROR_MORE_DATA = 234;
constexpr LSTATUS ERROR_KEY_DELETED = 1018;

// Access rights of RegOpenKeyExA; anything that would change the registry is refused.
constexpr uint32_t KEY_QUERY_VALUE = 0x0001;
constexpr uint32_t KEY_SET_VALUE = 0x0002;
constexpr uint32_t KEY_CREATE_SUB_KEY = 0x0004;
constexpr uint32_t KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr uint32_t KEY_NOTIFY = 0x0010;
constexpr uint32_t KEY_CREATE_LINK = 0x0020;
constexpr uint32_t KEY_READ = 0x20019;
constexpr uint32_t KEY_ALL_ACCESS = 0xF003F;

enum class HKEY : uintptr_t {};
constexpr HKEY HKEY_CLASSES_ROOT{0x80000000};
constexpr HKEY HKEY_CURRENT_USER{0x80000001};
constexpr HKEY HKEY_LOCAL_MACHINE{0x80000002};
constexpr HKEY HKEY_USERS{0x80000003};

QX_FLOW_INTERNAL LSTATUS RegOpenKeyExA(HKEY root, const std::string& subKey, uint32_t options,
                                       uint32_t samDesired, HKEY* out);
// valueName empty: the key's default value. With data none, only the type and size are given.
QX_FLOW_INTERNAL LSTATUS RegQueryValueExA(HKEY key, const std::string& valueName, uint32_t* reserved,
                                          uint32_t* type, uint8_t* data, uint32_t* cbData);
QX_FLOW_INTERNAL LSTATUS RegCloseKey(HKEY key);

class QX_FLOW_INTERNAL RegistryStore {
  public:
    enum class LoadResult {
        Loaded,
        Missing,    // no such file, or it cannot be read; the store is unchanged
        Malformed,  // the store is unchanged
    };
    struct LoadReport {
        LoadResult result = LoadResult::Loaded;
        std::string why;                  // Missing: "file not found", ...; Malformed: "line <n>: <why>"
        std::vector<RegistryEdit> edits;  // Loaded: what the file did, in its order
    };

    // Key paths are below HKEY_LOCAL_MACHINE ("SOFTWARE\QXX\Controls"). Adding a value creates
    // its key and the keys above it.
    void clear();
    LoadReport loadFile(const std::string& path);
    void setText(const std::string& keyPath, const std::string& name, const std::string& text);
    void setDword(const std::string& keyPath, const std::string& name, uint32_t value);

    bool hasKey(const std::string& keyPath) const;
    std::optional<RegistryValue> value(const std::string& keyPath, const std::string& name) const;

  private:
    using Values = std::map<std::string, RegistryValue>;  // by folded name

    void apply(const RegistryEdit& edit);
    Values& addKey(const std::string& keyPath);

    mutable std::mutex mutex_;
    std::map<std::string, Values> keys_;  // by folded path; the root is ""
};

// The store behind the registry calls, loaded from the default file the first time it is asked
// for.
QX_FLOW_INTERNAL RegistryStore& registryStore();

}  // namespace qx::platform
