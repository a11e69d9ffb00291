#pragma once
// A JSON value together with its path in the document ("$.modules[1].groups[0].name"), so that a
// reader that refuses a value names the very item it refuses. Members a reader does not ask for
// are never looked at: other readers (a register map beside the parameters) add their own keys.
//
// Every refusal raises a run-time error of the frame's objects whose description is
// "<path>: <why>".
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace qx::frame {

class JsonAt {
  public:
    JsonAt(const nlohmann::json& value, std::string path) : value_(&value), path_(std::move(path)) {}

    const nlohmann::json& value() const { return *value_; }
    const std::string& path() const { return path_; }
    [[noreturn]] void refuse(const std::string& why) const;

    // The member `key` of this object; refused when this is no object or lacks it.
    JsonAt member(const std::string& key) const;
    // None when the object lacks the member (or holds null there, which means the same).
    std::optional<JsonAt> optionalMember(const std::string& key) const;
    // The members of an object in the document's order; refused for anything else.
    std::vector<std::pair<std::string, JsonAt>> members() const;
    // The elements of an array; refused for anything else, and when empty unless `mayBeEmpty`.
    std::vector<JsonAt> elements(bool mayBeEmpty = true) const;

    std::string text() const;
    // A text that is not empty.
    std::string name() const;
    // A finite number.
    double number() const;
    // A whole number within lo..hi; the refusal states the range.
    int64_t whole(int64_t lo, int64_t hi) const;
    // A 32-bit word written signed or unsigned (-2147483648..4294967295), as its bit pattern.
    int32_t word32() const;

  private:
    const nlohmann::json* value_;
    std::string path_;
};

// How a JSON value is named in a refusal: short values in full, long ones cut.
std::string jsonExcerpt(const nlohmann::json& value);

}  // namespace qx::frame
