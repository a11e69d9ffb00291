// The .reg reader on arbitrary bytes, as a damaged or hand-written registry file reaches it.
// A refused file names the line it stopped at; an accepted one gives key paths without empty
// names. The same text saved as UTF-16LE with a byte-order mark (as regedit writes it) must read
// exactly as its UTF-8 form does.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "FuzzCheck.h"
#include "platform/RegistryFile.h"

namespace {

using namespace qx::platform;
using qx::fuzz::require;

// Strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF) to UTF-16LE with its
// byte-order mark; none when the text is not such UTF-8.
std::optional<std::string> utf16leWithMark(const std::string& utf8) {
    std::string out = "\xFF\xFE";
    auto put = [&out](uint32_t unit) {
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    };
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<uint8_t>(utf8[i]);
        const size_t length = lead < 0x80                   ? 1
                              : lead >= 0xC2 && lead < 0xE0 ? 2
                              : lead >= 0xE0 && lead < 0xF0 ? 3
                              : lead >= 0xF0 && lead < 0xF5 ? 4
                                                            : 0;
        if (length == 0 || i + length > utf8.size()) return std::nullopt;
        uint32_t cp = length == 1 ? lead : lead & (0x7Fu >> length);
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<uint8_t>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            cp = (cp << 6) | (next & 0x3Fu);
        }
        constexpr uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < smallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
        if (cp >= 0x10000) {
            put(0xD800 + ((cp - 0x10000) >> 10));
            put(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            put(cp);
        }
        i += length;
    }
    return out;
}

bool sameEdits(const RegistryFileContent& a, const RegistryFileContent& b) {
    if (a.ok != b.ok || a.error != b.error || a.edits.size() != b.edits.size()) return false;
    for (size_t i = 0; i < a.edits.size(); ++i) {
        const RegistryEdit &x = a.edits[i], &y = b.edits[i];
        if (x.kind != y.kind || x.keyPath != y.keyPath || x.valueName != y.valueName ||
            x.value.type != y.value.type || x.value.data != y.value.data)
            return false;
    }
    return true;
}

void checkContent(const RegistryFileContent& content) {
    if (!content.ok) {
        require(content.edits.empty(), "a refused file gives no edits");
        require(!content.error.empty(), "a refused file says why");
        return;
    }
    for (const RegistryEdit& e : content.edits) {
        const std::string& p = e.keyPath;
        require(p.empty() || (p.front() != '\\' && p.back() != '\\' && p.find("\\\\") == std::string::npos),
                "no empty key name in '" + p + "'");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const RegistryFileContent content = parseRegistryFile(bytes);
    checkContent(content);
    const bool marked = bytes.rfind("\xFF\xFE", 0) == 0 || bytes.rfind("\xEF\xBB\xBF", 0) == 0;
    if (marked) return 0;
    if (auto wide = utf16leWithMark(bytes))
        require(sameEdits(content, parseRegistryFile(*wide)), "UTF-16LE reads as UTF-8 does");
    return 0;
}
