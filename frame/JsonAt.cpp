#include "frame/JsonAt.h"

#include <cmath>

#include "platform/RuntimeError.h"

namespace qx::frame {

namespace {

using nlohmann::json;

const char* kindOf(const json& v) {
    switch (v.type()) {
        case json::value_t::null:
            return "null";
        case json::value_t::object:
            return "an object";
        case json::value_t::array:
            return "a list";
        case json::value_t::string:
            return "a text";
        case json::value_t::boolean:
            return "a boolean";
        case json::value_t::number_integer:
        case json::value_t::number_unsigned:
        case json::value_t::number_float:
            return "a number";
        default:
            return "no JSON value";
    }
}

std::string range(int64_t lo, int64_t hi) {
    std::string r = std::to_string(lo) + ".." + std::to_string(hi);
    if (lo == INT32_MIN && hi == UINT32_MAX) r += " (32 bits, signed or not)";
    return r;
}

}  // namespace

std::string jsonExcerpt(const json& value) {
    constexpr size_t kLongest = 40;
    // Escaped as JSON, so that no control character or broken UTF-8 of the file is printed raw.
    std::string text = value.dump(-1, ' ', true, json::error_handler_t::replace);
    if (text.size() > kLongest) text = text.substr(0, kLongest) + "...";
    return text;
}

void JsonAt::refuse(const std::string& why) const {
    platform::raise(platform::kObjectError, path_ + ": " + why);
}

JsonAt JsonAt::member(const std::string& key) const {
    auto found = optionalMember(key);
    if (!found) refuse("\"" + key + "\" is missing");
    return *found;
}

std::optional<JsonAt> JsonAt::optionalMember(const std::string& key) const {
    if (!value_->is_object()) refuse("is " + std::string(kindOf(*value_)) + ", not an object");
    auto it = value_->find(key);
    if (it == value_->end() || it->is_null()) return std::nullopt;
    return JsonAt(*it, path_ + "." + key);
}

std::vector<std::pair<std::string, JsonAt>> JsonAt::members() const {
    if (!value_->is_object()) refuse("is " + std::string(kindOf(*value_)) + ", not an object");
    std::vector<std::pair<std::string, JsonAt>> out;
    for (const auto& [key, v] : value_->items()) out.emplace_back(key, JsonAt(v, path_ + "." + key));
    return out;
}

std::vector<JsonAt> JsonAt::elements(bool mayBeEmpty) const {
    if (!value_->is_array()) refuse("is " + std::string(kindOf(*value_)) + ", not a list");
    if (!mayBeEmpty && value_->empty()) refuse("is an empty list");
    std::vector<JsonAt> out;
    for (size_t i = 0; i < value_->size(); ++i)
        out.emplace_back((*value_)[i], path_ + "[" + std::to_string(i) + "]");
    return out;
}

std::string JsonAt::text() const {
    if (!value_->is_string()) refuse("is " + std::string(kindOf(*value_)) + ", not a text");
    return value_->get<std::string>();
}

std::string JsonAt::name() const {
    std::string t = text();
    if (t.empty()) refuse("is empty");
    return t;
}

double JsonAt::number() const {
    if (!value_->is_number()) refuse("is " + std::string(kindOf(*value_)) + ", not a number");
    const double v = value_->get<double>();
    if (!std::isfinite(v)) refuse(jsonExcerpt(*value_) + " is too large");
    return v;
}

int64_t JsonAt::whole(int64_t lo, int64_t hi) const {
    const std::string refusal = jsonExcerpt(*value_) + " is outside " + range(lo, hi);
    if (value_->is_number_unsigned()) {
        const uint64_t u = value_->get<uint64_t>();
        if (hi < 0 || u > static_cast<uint64_t>(hi)) refuse(refusal);
        return static_cast<int64_t>(u);
    }
    if (value_->is_number_integer()) {
        const int64_t v = value_->get<int64_t>();
        if (v < lo || v > hi) refuse(refusal);
        return v;
    }
    const double d = number();
    if (d != std::floor(d)) refuse(jsonExcerpt(*value_) + " is not a whole number");
    // Both limits are exact as doubles in every range the readers ask for.
    if (d < static_cast<double>(lo) || d > static_cast<double>(hi)) refuse(refusal);
    return static_cast<int64_t>(d);
}

int32_t JsonAt::word32() const {
    const int64_t v = whole(INT32_MIN, UINT32_MAX);
    return static_cast<int32_t>(static_cast<uint32_t>(v));
}

}  // namespace qx::frame
