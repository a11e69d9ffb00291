#include "platform/Registry.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/FileContents.h"

namespace qx::platform {

namespace {

constexpr const char* kDefaultFile = "/etc/qxflow/registry.reg";

// Rights that would change a key or its security; the registry here is read only.
constexpr uint32_t kWriteRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK |
                                  0x00010000 /* DELETE */ | 0x00040000 /* WRITE_DAC */ |
                                  0x00080000 /* WRITE_OWNER */;

std::string folded(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string parentOf(const std::string& path) {
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool isPredefined(HKEY key) {
    return static_cast<uintptr_t>(key) >= 0x80000000u;
}

// Open keys: a handle names the folded path it was opened on.
class OpenKeys {
  public:
    HKEY open(std::string path) {
        std::lock_guard lock(mutex_);
        HKEY h{++last_};
        paths_.emplace(h, std::move(path));
        return h;
    }
    std::optional<std::string> path(HKEY key) const {
        if (key == HKEY_LOCAL_MACHINE) return std::string();
        std::lock_guard lock(mutex_);
        auto it = paths_.find(key);
        if (it == paths_.end()) return std::nullopt;
        return it->second;
    }
    bool close(HKEY key) {
        std::lock_guard lock(mutex_);
        return paths_.erase(key) > 0;
    }

  private:
    mutable std::mutex mutex_;
    std::map<HKEY, std::string> paths_;
    uintptr_t last_ = 0;
};

OpenKeys& openKeys() {
    static OpenKeys keys;
    return keys;
}

}  // namespace

void RegistryStore::clear() {
    std::lock_guard lock(mutex_);
    keys_.clear();
}

RegistryStore::LoadReport RegistryStore::loadFile(const std::string& path) {
    FileContents file = readFileContents(path);
    if (!file.ok) return {LoadResult::Missing, std::move(file.why), {}};
    RegistryFileContent content = parseRegistryFile(file.bytes);
    if (!content.ok) return {LoadResult::Malformed, std::move(content.error), {}};
    std::lock_guard lock(mutex_);
    for (const auto& edit : content.edits) apply(edit);
    return {LoadResult::Loaded, {}, std::move(content.edits)};
}

void RegistryStore::setText(const std::string& keyPath, const std::string& name, const std::string& text) {
    RegistryValue v{REG_SZ, std::vector<uint8_t>(text.begin(), text.end())};
    v.data.push_back(0);
    std::lock_guard lock(mutex_);
    apply({RegistryEdit::Kind::SetValue, keyPath, name, std::move(v)});
}

void RegistryStore::setDword(const std::string& keyPath, const std::string& name, uint32_t value) {
    RegistryValue v{REG_DWORD,
                    {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                     static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)}};
    std::lock_guard lock(mutex_);
    apply({RegistryEdit::Kind::SetValue, keyPath, name, std::move(v)});
}

bool RegistryStore::hasKey(const std::string& keyPath) const {
    if (keyPath.empty()) return true;  // HKEY_LOCAL_MACHINE itself is always there
    std::lock_guard lock(mutex_);
    return keys_.count(folded(keyPath)) > 0;
}

std::optional<RegistryValue> RegistryStore::value(const std::string& keyPath, const std::string& name) const {
    std::lock_guard lock(mutex_);
    auto key = keys_.find(folded(keyPath));
    if (key == keys_.end()) return std::nullopt;
    auto v = key->second.find(folded(name));
    if (v == key->second.end()) return std::nullopt;
    return v->second;
}

RegistryStore::Values& RegistryStore::addKey(const std::string& keyPath) {
    const std::string path = folded(keyPath);
    for (std::string p = path; !p.empty(); p = parentOf(p)) keys_.try_emplace(p);
    return keys_[path];
}

void RegistryStore::apply(const RegistryEdit& edit) {
    switch (edit.kind) {
        case RegistryEdit::Kind::AddKey:
            addKey(edit.keyPath);
            break;
        case RegistryEdit::Kind::SetValue:
            addKey(edit.keyPath)[folded(edit.valueName)] = edit.value;
            break;
        case RegistryEdit::Kind::DeleteValue: {
            auto key = keys_.find(folded(edit.keyPath));
            if (key != keys_.end()) key->second.erase(folded(edit.valueName));
            break;
        }
        case RegistryEdit::Kind::DeleteKey: {
            const std::string path = folded(edit.keyPath);
            const std::string below = path + "\\";
            std::erase_if(keys_, [&](const auto& k) {
                return path.empty() || k.first == path || k.first.compare(0, below.size(), below) == 0;
            });
            break;
        }
    }
}

RegistryStore& registryStore() {
    static RegistryStore store;
    static const bool loaded = [] {
        const char* named = std::getenv("QX_REGISTRY");
        const std::string path = named && *named ? named : kDefaultFile;
        const RegistryStore::LoadReport report = store.loadFile(path);
        // A missing file is an empty registry; a broken one is left out, and the library has no
        // one else to tell.
        if (report.result == RegistryStore::LoadResult::Malformed) {
            const std::string line = "qxflow: registry file " + path + " ignored: " + report.why + "\n";
            std::fwrite(line.data(), 1, line.size(), stderr);
        }
        return report.result == RegistryStore::LoadResult::Loaded;
    }();
    (void)loaded;
    return store;
}

LSTATUS RegOpenKeyExA(HKEY root, const std::string& subKey, uint32_t /*options*/, uint32_t samDesired,
                      HKEY* out) {
    if (!out) return ERROR_INVALID_PARAMETER;
    if (samDesired & kWriteRights) return ERROR_ACCESS_DENIED;
    std::optional<std::string> base = openKeys().path(root);
    if (!base) return isPredefined(root) ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_HANDLE;
    const std::string sub = folded(subKey);
    if (!sub.empty() && (sub.front() == '\\' || sub.back() == '\\' || sub.find("\\\\") != std::string::npos))
        return ERROR_FILE_NOT_FOUND;
    std::string path = base->empty() ? sub : sub.empty() ? *base : *base + "\\" + sub;
    if (!registryStore().hasKey(path)) return ERROR_FILE_NOT_FOUND;
    *out = openKeys().open(std::move(path));
    return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExA(HKEY key, const std::string& valueName, uint32_t* reserved, uint32_t* type,
                         uint8_t* data, uint32_t* cbData) {
    if (reserved || (data && !cbData)) return ERROR_INVALID_PARAMETER;
    std::optional<std::string> path = openKeys().path(key);
    if (!path) return isPredefined(key) ? ERROR_FILE_NOT_FOUND : ERROR_INVALID_HANDLE;
    if (!registryStore().hasKey(*path)) return ERROR_KEY_DELETED;
    std::optional<RegistryValue> v = registryStore().value(*path, valueName);
    if (!v) return ERROR_FILE_NOT_FOUND;
    if (type) *type = v->type;
    const auto size = static_cast<uint32_t>(v->data.size());
    if (!cbData) return ERROR_SUCCESS;
    const uint32_t room = *cbData;
    *cbData = size;
    if (!data) return ERROR_SUCCESS;
    if (room < size) return ERROR_MORE_DATA;
    if (size) std::memcpy(data, v->data.data(), size);
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key) {
    if (openKeys().close(key)) return ERROR_SUCCESS;
    return isPredefined(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

}  // namespace qx::platform
