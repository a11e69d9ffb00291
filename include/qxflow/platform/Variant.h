#pragma once
// A small "any value" type: empty, integer, double, text or boolean, with the conversions the
// view relies on (text to number rounds halves to even; a text that is no number is a type
// mismatch; a number outside 16 bits is an overflow).
#include <cstdint>
#include <string>
#include <variant>

#include "Export.h"

namespace qx::platform {

class QX_FLOW_EXPORT Variant {
  public:
    enum class Kind { Empty, Integer, Double, Text, Boolean };

    Variant() = default;
    Variant(int v) : value_(static_cast<int64_t>(v)) {}
    Variant(int64_t v) : value_(v) {}
    Variant(uint32_t v) : value_(static_cast<int64_t>(v)) {}
    Variant(double v) : value_(v) {}
    Variant(bool v) : value_(v) {}
    Variant(std::string v) : value_(std::move(v)) {}
    Variant(const char* v) : value_(std::string(v)) {}

    Kind kind() const { return static_cast<Kind>(value_.index()); }
    bool isEmpty() const { return kind() == Kind::Empty; }
    bool isNumber() const { return kind() == Kind::Integer || kind() == Kind::Double; }
    bool isText() const { return kind() == Kind::Text; }
    bool isBoolean() const { return kind() == Kind::Boolean; }

    // Text form: integers in decimal, doubles in the shortest form that reads back exactly,
    // booleans "True"/"False", empty as the empty text.
    std::string toText() const;
    // Numbers: a text must read as a number (blanks around it allowed), else type mismatch (13);
    // empty is 0; true is -1.
    double toDouble() const;
    int16_t toInt16() const;  // rounds halves to even; overflow (6) outside -32768..32767
    int32_t toInt32() const;  // the same for 32 bits
    bool toBool() const;      // non-zero is true; a text must read as a number or "True"/"False"

    // Equality as the view compares values: numbers by value (a numeric text compares as its
    // number), texts exactly, empty equals only empty.
    bool equals(const Variant& other) const;

    const std::string* textIf() const { return std::get_if<std::string>(&value_); }

  private:
    std::variant<std::monostate, int64_t, double, std::string, bool> value_;
};

// Parses a text as a number the way the view converts texts: optional blanks, sign, digits,
// decimal point, exponent. Returns false when the text is not a number.
QX_FLOW_EXPORT bool parseNumber(const std::string& text, double& out);

// Rounds to the nearest integer, halves to even.
QX_FLOW_EXPORT double roundHalfEven(double v);

// The shortest decimal text that reads back as exactly v ("0.5", "2", "1e+20").
QX_FLOW_EXPORT std::string shortestText(double v);

}  // namespace qx::platform
