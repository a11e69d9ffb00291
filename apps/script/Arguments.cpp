#include "script/Arguments.h"

#include <cmath>

namespace qx::console {

const std::vector<ArgumentRange>& argumentRanges() {
    static const std::vector<ArgumentRange> ranges = {
        kRegistryDword, kDeviceFw,  kDeviceState, kDeviceLocalComm, kCheckValue, kSlideValue,
        kDragButton,    kDragX,     kResizeWidth, kResizeHeight,    kWaitMs,     kSimFlow,
        kSimTemp,       kSimSettle, kSimLatency,  kSimFailCount,    kChartPoint,
    };
    return ranges;
}

std::string rangeText(const ArgumentRange& range) {
    const std::string span = std::to_string(range.min) + " to " + std::to_string(range.max);
    return range.whole ? "a whole number from " + span : "a number from " + span;
}

namespace {

[[noreturn]] void refuse(const std::string& text, const ArgumentRange& range, int line) {
    throw ScriptError{line, std::string(range.command) + " " + range.argument + " is " + rangeText(range) +
                                ", not " + text};
}

}  // namespace

int64_t wholeArgument(const std::string& text, const ArgumentRange& range, int line) {
    auto v = wholeNumber(text);
    if (!v || *v < range.min || *v > range.max) refuse(text, range, line);
    return *v;
}

double numberArgument(const std::string& text, const ArgumentRange& range, int line) {
    auto v = anyNumber(text);
    // Both limits are exact as doubles; NaN fails the comparison and is refused with the rest.
    if (!v || !(*v >= static_cast<double>(range.min) && *v <= static_cast<double>(range.max)))
        refuse(text, range, line);
    return *v;
}

}  // namespace qx::console
