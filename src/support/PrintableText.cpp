#include "support/PrintableText.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace qx::support {

namespace {

// The length of the valid UTF-8 sequence at text[at], 0 when there is none (overlong forms and
// surrogates included).
size_t utf8Length(const std::string& text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(at);
    if (lead < 0x80) return 1;
    size_t length = 0;
    uint32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07u;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(at + i) & 0x3Fu);
    }
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < smallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

bool isControl(char c) {
    const auto b = static_cast<uint8_t>(c);
    return b < 0x20 || b == 0x7F;
}

// U+0080..U+009F: some terminals act on these as they do on ESC sequences (U+009B is CSI).
bool isC1(const std::string& text, size_t at, size_t length) {
    return length == 2 && static_cast<uint8_t>(text[at]) == 0xC2 && static_cast<uint8_t>(text[at + 1]) < 0xA0;
}

}  // namespace

bool hasControlCharacter(const std::string& text) {
    for (size_t at = 0; at < text.size();) {
        const size_t length = std::max<size_t>(utf8Length(text, at), 1);
        if (isControl(text[at]) || isC1(text, at, length)) return true;
        at += length;
    }
    return false;
}

bool isPrintable(const std::string& text) {
    for (size_t at = 0; at < text.size();) {
        const size_t length = utf8Length(text, at);
        if (length == 0) return false;
        if (isControl(text[at]) && text[at] != '\t' && text[at] != '\r' && text[at] != '\n') return false;
        if (isC1(text, at, length)) return false;
        at += length;
    }
    return true;
}

std::string printableText(const std::string& text) {
    std::string out;
    for (size_t at = 0; at < text.size();) {
        const size_t length = utf8Length(text, at);
        if (length == 0 || isControl(text[at]) || isC1(text, at, length)) {
            const size_t escapedBytes = isC1(text, at, length) ? 2 : 1;
            for (size_t i = 0; i < escapedBytes; ++i) {
                char escaped[5];
                std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<uint8_t>(text[at + i]));
                out += escaped;
            }
            at += escapedBytes;
        } else {
            out.append(text, at, length);
            at += length;
        }
    }
    return out;
}

}  // namespace qx::support
