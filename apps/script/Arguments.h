#pragma once
// Reading the numbers and switches of a command's words.
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Variant.h"

namespace qx::console {

// A whole decimal number ("-12", "40"); none for anything else.
inline std::optional<int64_t> wholeNumber(const std::string& text) {
    int64_t v = 0;
    const char* end = text.data() + text.size();
    // from_chars takes no '+', and after a '+' it must not find a '-' either ("+-5").
    const bool plus = text.size() > 1 && text[0] == '+' && text[1] != '-';
    auto [ptr, ec] = std::from_chars(text.data() + (plus ? 1 : 0), end, v);
    if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
    return v;
}

// Any number a script may write ("12", "-1.5", "1e3").
inline std::optional<double> anyNumber(const std::string& text) {
    double v = 0;
    if (text.empty() || text.front() == ' ' || text.back() == ' ' || !platform::parseNumber(text, v))
        return std::nullopt;
    return v;
}

// "on"/"off" (or the words given).
inline std::optional<bool> switchWord(const std::string& text, const char* yes = "on",
                                      const char* no = "off") {
    if (text == yes) return true;
    if (text == no) return false;
    return std::nullopt;
}

}  // namespace qx::console
