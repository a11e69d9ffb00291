#include "platform/Variant.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "platform/Int16.h"
#include "platform/RuntimeError.h"

namespace qx::platform {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

bool parseNumber(const std::string& text, double& out) {
    size_t b = 0, e = text.size();
    while (b < e && isBlank(text[b])) ++b;
    while (e > b && isBlank(text[e - 1])) --e;
    if (b == e) return false;
    std::string body = text.substr(b, e - b);
    // Only plain decimal notation: no hex, no "inf"/"nan", which strtod would accept.
    for (char c : body) {
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.' || c == 'e' ||
              c == 'E'))
            return false;
    }
    char* end = nullptr;
    out = std::strtod(body.c_str(), &end);
    return end == body.c_str() + body.size() && std::isfinite(out);
}

double roundHalfEven(double v) {
    return std::nearbyint(v);
}  // the default rounding mode is to even

std::string shortestText(double v) {
    if (v == std::floor(v) && std::fabs(v) < 1e15) return std::to_string(static_cast<int64_t>(v));
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

std::string Variant::toText() const {
    switch (kind()) {
        case Kind::Empty:
            return {};
        case Kind::Integer:
            return std::to_string(std::get<int64_t>(value_));
        case Kind::Double:
            return shortestText(std::get<double>(value_));
        case Kind::Text:
            return std::get<std::string>(value_);
        case Kind::Boolean:
            return std::get<bool>(value_) ? "True" : "False";
    }
    return {};
}

double Variant::toDouble() const {
    switch (kind()) {
        case Kind::Empty:
            return 0;
        case Kind::Integer:
            return static_cast<double>(std::get<int64_t>(value_));
        case Kind::Double:
            return std::get<double>(value_);
        case Kind::Boolean:
            return std::get<bool>(value_) ? -1 : 0;
        case Kind::Text: {
            const auto& t = std::get<std::string>(value_);
            double d = 0;
            if (parseNumber(t, d)) return d;
            if (t == "True") return -1;
            if (t == "False") return 0;
            raise(kTypeMismatch);
        }
    }
    return 0;
}

int16_t Variant::toInt16() const {
    return round16(toDouble());
}
int32_t Variant::toInt32() const {
    return round32(toDouble());
}
bool Variant::toBool() const {
    return toDouble() != 0;
}

bool Variant::equals(const Variant& other) const {
    if (isEmpty() || other.isEmpty()) return isEmpty() && other.isEmpty();
    if (isText() && other.isText()) return *textIf() == *other.textIf();
    double a = 0, b = 0;
    if (isText() ? !parseNumber(*textIf(), a) : (a = toDouble(), false)) return false;
    if (other.isText() ? !parseNumber(*other.textIf(), b) : (b = other.toDouble(), false)) return false;
    return a == b;
}

}  // namespace qx::platform
