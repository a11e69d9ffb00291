#pragma once
// Reading the numbers and switches of a command's words. Every numeric argument has a stated
// range: the commands read their numbers through it and the help lists the same table, so the
// two cannot disagree.
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Variant.h"
#include "script/ScriptReader.h"

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

struct ArgumentRange {
    const char* command;   // as a script writes it: "wait", "sim latency"
    const char* argument;  // "<ms>", "fw=<number>"
    int64_t min, max;
    bool whole;  // whole numbers only; else any number in the range ("1.5")
};

inline constexpr ArgumentRange kRegistryDword{"registry", "<Name> dword:<decimal>", 0, UINT32_MAX, true};
inline constexpr ArgumentRange kDeviceFw{"device", "fw=<number>", INT32_MIN, INT32_MAX, true};
inline constexpr ArgumentRange kDeviceState{"device", "state=<number>", INT32_MIN, INT32_MAX, true};
inline constexpr ArgumentRange kDeviceLocalComm{"device", "localcomm=<number>", INT32_MIN, INT32_MAX, true};
inline constexpr ArgumentRange kCheckValue{"check", "<0|1>", 0, 1, true};
inline constexpr ArgumentRange kSlideValue{"slide", "<value>", INT32_MIN, INT32_MAX, false};
inline constexpr ArgumentRange kDragButton{"drag", "<button>", 0, 7, true};
inline constexpr ArgumentRange kDragX{"drag", "<x>", INT32_MIN, INT32_MAX, false};
inline constexpr ArgumentRange kResizeWidth{"resize", "<width>", 0, INT32_MAX, true};
inline constexpr ArgumentRange kResizeHeight{"resize", "<height>", 0, INT32_MAX, true};
inline constexpr ArgumentRange kWaitMs{"wait", "<ms>", 0, INT32_MAX, true};
inline constexpr ArgumentRange kSimFlow{"sim flow", "<n>", INT32_MIN, INT32_MAX, false};
inline constexpr ArgumentRange kSimTemp{"sim temp", "<n>", INT32_MIN, INT32_MAX, false};
inline constexpr ArgumentRange kSimSettle{"sim settle", "<ms>", 0, INT32_MAX, true};
inline constexpr ArgumentRange kSimLatency{"sim latency", "<ms>", 0, INT32_MAX, true};
inline constexpr ArgumentRange kSimFailCount{"sim fail", "[count]", 0, INT32_MAX, true};
inline constexpr ArgumentRange kChartPoint{"chart", "<PC1|PC2> point|point2 <p>", INT32_MIN, INT32_MAX, true};

// Every range above, in the order the help lists them.
const std::vector<ArgumentRange>& argumentRanges();

// The number `text` as `range` allows it; a script error on `line` naming the command, the
// argument and the range when it is no such number or lies outside.
int64_t wholeArgument(const std::string& text, const ArgumentRange& range, int line);
double numberArgument(const std::string& text, const ArgumentRange& range, int line);
inline int64_t wholeArgument(const Command& c, size_t word, const ArgumentRange& range) {
    return wholeArgument(c.words[word].text, range, c.line);
}
inline double numberArgument(const Command& c, size_t word, const ArgumentRange& range) {
    return numberArgument(c.words[word].text, range, c.line);
}

// "0 to 2147483647" (whole) or "a number from -2147483648 to 2147483647".
std::string rangeText(const ArgumentRange& range);

}  // namespace qx::console
