// Conversions between texts and numbers: how the view reads a number from a text (Variant,
// parseNumber), how a script's arguments are read (wholeNumber, anyNumber) and how the console
// prints values. The input is read once as a text and, from its first eight bytes, as a double.
// A number printed must read back as exactly that number, and a text printed in quotes must read
// back through the script reader as that text.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#include "FuzzCheck.h"
#include "platform/RuntimeError.h"
#include "platform/Variant.h"
#include "script/Arguments.h"
#include "script/ScriptReader.h"
#include "script/ValueText.h"

namespace {

using namespace qx::platform;
using namespace qx::console;
using qx::fuzz::require;

double readBack(const std::string& text) {
    double v = 0;
    require(parseNumber(text, v), "printed number '" + text + "' reads as a number");
    return v;
}

void checkPrinted(double v) {
    if (!std::isfinite(v)) return;
    require(readBack(shortestText(v)) == v, "shortestText reads back exactly: " + shortestText(v));
    require(readBack(numberText(v)) == v, "numberText reads back exactly: " + numberText(v));
    // Rounded to milliseconds, then read back to the nearest double.
    const double ulp = std::nextafter(std::fabs(v), INFINITY) - std::fabs(v);
    require(std::fabs(readBack(secondsText(v)) - v) <= 0.0005 + ulp,
            "secondsText rounds to milliseconds: " + secondsText(v));
    require(colourText(static_cast<uint32_t>(std::fmod(std::fabs(v), 4294967296.0))).size() == 6,
            "a colour prints as six hex digits");
}

bool isWholeNumberText(const std::string& t) {
    const size_t digits = !t.empty() && (t[0] == '+' || t[0] == '-') ? 1 : 0;
    if (t.size() == digits) return false;
    for (size_t i = digits; i < t.size(); ++i)
        if (t[i] < '0' || t[i] > '9') return false;
    return true;
}

void checkArguments(const std::string& text) {
    if (auto n = wholeNumber(text)) require(isWholeNumberText(text), "wholeNumber took '" + text + "'");
    if (auto v = anyNumber(text)) require(std::isfinite(*v), "anyNumber gives a finite number");
}

// The view's conversions: a number or a type mismatch, and 16/32-bit values or an overflow.
void checkVariant(const std::string& text) {
    const Variant value(text);
    double d = 0;
    const bool numeric = parseNumber(text, d);
    try {
        const double converted = value.toDouble();
        require(!numeric || converted == d, "toDouble of a numeric text is its number");
        require(numeric || text == "True" || text == "False", "only numbers and True/False convert");
    } catch (const RuntimeError& e) {
        require(e.number() == kTypeMismatch && !numeric, "a text that is no number is a type mismatch");
        return;
    }
    if (numeric) {
        require(value.equals(Variant(d)) && Variant(d).equals(value), "a numeric text equals its number");
        checkPrinted(d);
    }
    for (auto convert : {+[](const Variant& v) { return static_cast<double>(v.toInt16()); },
                         +[](const Variant& v) { return static_cast<double>(v.toInt32()); }}) {
        try {
            const double r = convert(value);
            require(r == roundHalfEven(value.toDouble()), "whole numbers round halves to even");
        } catch (const RuntimeError& e) {
            require(e.number() == kOverflow, "a number out of range overflows");
        }
    }
}

void checkQuoted(const std::string& text) {
    if (text.find_first_of("\r\n") != std::string::npos) return;  // printed as \r and \n, not read back
    std::optional<ScriptError> malformed;
    const auto words = splitWords(quoteText(text), 1, malformed);
    require(!malformed && words.size() == 1 && words[0].text == text, "a quoted text reads back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    checkArguments(text);
    checkVariant(text);
    checkQuoted(text);
    if (size >= sizeof(double)) {
        double v = 0;
        std::memcpy(&v, data, sizeof v);
        checkPrinted(v);
        require(!variantText(Variant(v)).empty() && !variantText(Variant(v), true).empty(),
                "every value prints");
    }
    return 0;
}
