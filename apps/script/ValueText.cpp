#include "script/ValueText.h"

#include <cmath>
#include <cstdio>

namespace qx::console {

std::string quoteText(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out + "\"";
}

std::string numberText(double v) {
    // Below 2^53 every whole double is exact as a 64-bit integer.
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 9007199254740992.0)
        return std::to_string(static_cast<int64_t>(v));
    return platform::shortestText(v);
}

std::string colourText(uint32_t colour) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06X", colour & 0xFFFFFFu);
    return buf;
}

std::string booleanText(bool v) {
    return v ? "true" : "false";
}

std::string secondsText(double seconds) {
    if (std::fabs(seconds) < 0.0005) seconds = 0;  // no "-0.000"
    char buf[320];                                 // the largest double has 309 digits before the point
    std::snprintf(buf, sizeof buf, "%.3f", seconds);
    return buf;
}

std::string variantText(const platform::Variant& v, bool asColour) {
    using Kind = platform::Variant::Kind;
    switch (v.kind()) {
        case Kind::Empty:
            return kEmpty;
        case Kind::Boolean:
            return booleanText(v.toBool());
        case Kind::Text:
            return quoteText(*v.textIf());
        case Kind::Integer:
        case Kind::Double:
            if (asColour && v.toDouble() >= 0 && v.toDouble() <= 0xFFFFFFFF &&
                v.toDouble() == std::floor(v.toDouble()))
                return colourText(static_cast<uint32_t>(v.toDouble()));
            return numberText(v.toDouble());
    }
    return kEmpty;
}

bool isColourProperty(const std::string& property) {
    constexpr std::string_view suffix = "Color";
    return property.size() >= suffix.size() &&
           property.compare(property.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace qx::console
