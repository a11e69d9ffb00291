#include "platform/RegistryFile.h"

#include <cctype>
#include <optional>

namespace qx::platform {

namespace {

constexpr const char* kHeader4 = "REGEDIT4";
constexpr const char* kHeader5 = "Windows Registry Editor Version 5.00";

// Thrown inside the parser only; parseRegistryFile turns it into the error text.
struct Malformed {
    std::string why;
};

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

uint32_t unitAt(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8;
}

// UTF-16LE to UTF-8; none for an odd length or a lone surrogate.
std::optional<std::string> utf16leToUtf8(const uint8_t* p, size_t n) {
    if (n % 2) return std::nullopt;
    std::string out;
    out.reserve(n / 2);
    for (size_t i = 0; i < n; i += 2) {
        uint32_t u = unitAt(p + i);
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 3 >= n) return std::nullopt;
            const uint32_t low = unitAt(p + i + 2);
            if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
            u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
            i += 2;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            return std::nullopt;
        }
        appendUtf8(out, u);
    }
    return out;
}

std::string decodeFile(const std::string& bytes) {
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
    if (bytes.size() >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
        auto text = utf16leToUtf8(p + 2, bytes.size() - 2);
        if (!text) throw Malformed{"the file is not valid UTF-16LE"};
        return *text;
    }
    if (bytes.size() >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) return bytes.substr(3);
    return bytes;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string trimmed(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

bool equalsIgnoringCase(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// 1 to maxDigits hex digits, nothing else.
uint32_t parseHexNumber(const std::string& s, size_t maxDigits, const char* what) {
    if (s.empty() || s.size() > maxDigits) throw Malformed{std::string("bad ") + what};
    uint32_t v = 0;
    for (char c : s) {
        int d = hexDigit(c);
        if (d < 0) throw Malformed{std::string("bad ") + what};
        v = v * 16 + static_cast<uint32_t>(d);
    }
    return v;
}

// "01,02,ff" (blanks allowed around the bytes; the empty list is no bytes).
std::vector<uint8_t> parseHexBytes(const std::string& list) {
    std::vector<uint8_t> out;
    if (trimmed(list).empty()) return out;
    size_t start = 0;
    while (true) {
        size_t comma = list.find(',', start);
        std::string item =
            trimmed(list.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        out.push_back(static_cast<uint8_t>(parseHexNumber(item, 2, "hex byte")));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return out;
}

// Reads a quoted text starting at s[pos] == '"', with \\ and \" as the only escapes; leaves pos
// after the closing quote.
std::string parseQuoted(const std::string& s, size_t& pos) {
    std::string out;
    for (++pos; pos < s.size(); ++pos) {
        char c = s[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c == '\\') {
            if (pos + 1 >= s.size() || (s[pos + 1] != '\\' && s[pos + 1] != '"'))
                throw Malformed{"a backslash in quotes must be doubled"};
            c = s[++pos];
        }
        out += c;
    }
    throw Malformed{"missing closing quote"};
}

RegistryValue textValue(uint32_t type, const std::string& text) {
    RegistryValue v{type, std::vector<uint8_t>(text.begin(), text.end())};
    v.data.push_back(0);
    return v;
}

// The part after "=": a quoted text, dword:, hex:, hex(<type>): or "-" (delete).
std::optional<RegistryValue> parseData(const std::string& raw, bool unicodeFile) {
    const std::string d = trimmed(raw);
    if (d == "-") return std::nullopt;
    if (!d.empty() && d[0] == '"') {
        size_t pos = 0;
        std::string text = parseQuoted(d, pos);
        if (pos != d.size()) throw Malformed{"text after the closing quote"};
        return textValue(REG_SZ, text);
    }
    const size_t colon = d.find(':');
    if (colon == std::string::npos) throw Malformed{"unknown value format"};
    const std::string kind = d.substr(0, colon), rest = d.substr(colon + 1);
    if (equalsIgnoringCase(kind, "dword")) {
        uint32_t n = parseHexNumber(trimmed(rest), 8, "dword");
        return RegistryValue{REG_DWORD,
                             {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                              static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)}};
    }
    uint32_t type = REG_BINARY;
    if (kind.size() > 5 && equalsIgnoringCase(kind.substr(0, 4), "hex(") && kind.back() == ')')
        type = parseHexNumber(kind.substr(4, kind.size() - 5), 8, "value type");
    else if (!equalsIgnoringCase(kind, "hex"))
        throw Malformed{"unknown value format"};
    RegistryValue v{type, parseHexBytes(rest)};
    // Version 5 files spell the text types in UTF-16LE; the ANSI calls hand them out as UTF-8.
    if (unicodeFile && (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)) {
        auto text = utf16leToUtf8(v.data.data(), v.data.size());
        if (!text) throw Malformed{"text value is not valid UTF-16LE"};
        v.data.assign(text->begin(), text->end());
    }
    return v;
}

// "[HKEY_LOCAL_MACHINE\A\B]" or "[-...]". Returns the path below HKEY_LOCAL_MACHINE, or none
// for a key under another root.
std::optional<std::string> parseSection(const std::string& line, bool& deletion) {
    if (line.back() != ']') throw Malformed{"missing ']'"};
    std::string body = line.substr(1, line.size() - 2);
    deletion = !body.empty() && body[0] == '-';
    if (deletion) body.erase(0, 1);
    const size_t slash = body.find('\\');
    const std::string root = body.substr(0, slash);
    std::string path = slash == std::string::npos ? std::string() : body.substr(slash + 1);
    if (slash != std::string::npos && (path.empty() || path.front() == '\\' || path.back() == '\\' ||
                                       path.find("\\\\") != std::string::npos))
        throw Malformed{"empty key name in '" + body + "'"};
    if (equalsIgnoringCase(root, "HKEY_LOCAL_MACHINE")) return path;
    for (const char* other : {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_USERS", "HKEY_CURRENT_CONFIG",
                              "HKEY_PERFORMANCE_DATA"})
        if (equalsIgnoringCase(root, other)) return std::nullopt;
    throw Malformed{"unknown root key '" + root + "'"};
}

// A piece of the file quoted in an error, cut short.
std::string excerpt(const std::string& text) {
    constexpr size_t kLongest = 30;
    return "'" + (text.size() > kLongest ? text.substr(0, kLongest) + "..." : text) + "'";
}

// What is wrong where a value name should be followed by '='. A name that ends in '=' had its
// closing quote put after the '=' instead of before it.
std::string missingEquals(const std::string& name, const std::string& rest) {
    std::string why = "the value name \"" + name + "\" is followed by ";
    why += rest.empty() ? "nothing" : excerpt(rest);
    why += " instead of '='";
    if (!name.empty() && name.back() == '=')
        why += " (the closing quote belongs before the '=': \"" + name.substr(0, name.size() - 1) + "\"=)";
    return why;
}

struct Line {
    size_t number;
    std::string text;
};

// Splits into lines (LF or CR LF) and joins lines continued by a trailing backslash, as regedit
// breaks long hex lists.
std::vector<Line> logicalLines(const std::string& text) {
    std::vector<Line> lines;
    size_t number = 0, pos = 0;
    bool continuing = false;
    while (pos <= text.size()) {
        size_t nl = text.find('\n', pos);
        std::string physical = text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        pos = nl == std::string::npos ? text.size() + 1 : nl + 1;
        ++number;
        if (!physical.empty() && physical.back() == '\r') physical.pop_back();
        std::string t = trimmed(physical);
        if (continuing)
            lines.back().text += t;
        else
            lines.push_back({number, t});
        std::string& current = lines.back().text;
        continuing = !current.empty() && current[0] != ';' && current.back() == '\\';
        if (continuing) current.pop_back();
    }
    return lines;
}

}  // namespace

RegistryFileContent parseRegistryFile(const std::string& bytes) {
    RegistryFileContent result;
    size_t lineNumber = 0;
    try {
        const std::vector<Line> lines = logicalLines(decodeFile(bytes));
        lineNumber = 1;
        const std::string& header = lines.front().text;
        if (header != kHeader4 && header != kHeader5) throw Malformed{"not a registry file (no header)"};
        const bool unicodeFile = header == kHeader5;

        bool inSection = false;
        std::optional<std::string> key;  // none: a section we leave out
        for (size_t i = 1; i < lines.size(); ++i) {
            lineNumber = lines[i].number;
            const std::string& line = lines[i].text;
            if (line.empty() || line[0] == ';') continue;
            if (line[0] == '[') {
                bool deletion = false;
                key = parseSection(line, deletion);
                inSection = true;
                if (key)
                    result.edits.push_back(
                        {deletion ? RegistryEdit::Kind::DeleteKey : RegistryEdit::Kind::AddKey,
                         *key,
                         {},
                         {},
                         lineNumber});
                if (deletion) key.reset();  // values under a deleted key go nowhere
                continue;
            }
            if (line[0] != '"' && line[0] != '@')
                throw Malformed{"expected a [key], a \"name\"=value or a ; comment, not " + excerpt(line)};
            if (!inSection) throw Malformed{"value before the first key"};
            size_t pos = 0;
            std::string name;
            if (line[0] == '"')
                name = parseQuoted(line, pos);
            else
                pos = 1;
            while (pos < line.size() && isBlank(line[pos])) ++pos;
            if (pos >= line.size() || line[pos] != '=')
                throw Malformed{missingEquals(name, line.substr(pos))};
            auto value = parseData(line.substr(pos + 1), unicodeFile);
            if (!key) continue;
            if (value)
                result.edits.push_back(
                    {RegistryEdit::Kind::SetValue, *key, name, std::move(*value), lineNumber});
            else
                result.edits.push_back({RegistryEdit::Kind::DeleteValue, *key, name, {}, lineNumber});
        }
        result.ok = true;
    } catch (const Malformed& m) {
        result.edits.clear();
        result.error = (lineNumber ? "line " + std::to_string(lineNumber) + ": " : std::string()) + m.why;
    }
    return result;
}

}  // namespace qx::platform
