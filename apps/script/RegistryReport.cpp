#include "script/RegistryReport.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>

#include "platform/Variant.h"
#include "script/ValueText.h"
#include "support/PrintableText.h"

namespace qx::console {

namespace {

constexpr const char* kControlsKey = "SOFTWARE\\QXX\\Controls";
constexpr const char* kDtmKey = "SOFTWARE\\Orvex\\DTM";
// The view's reader takes values of up to 256 bytes, a text's terminating zero included.
constexpr size_t kLongestText = 255;
// The poll interval the view takes; anything else gives 1000 ms.
constexpr double kPollCycleMin = 1, kPollCycleMax = 30000;

struct ViewValue {
    const char* key;
    const char* fallBack;  // what the view does when it cannot use the value
};

const std::map<std::string, ViewValue>& viewValues() {
    static const std::map<std::string, ViewValue> values = {
        {"Debug", {kControlsKey, "the debugger output stays off"}},
        {"DebugFile", {kControlsKey, "the log file stays off"}},
        {"CombineModels", {kControlsKey, "model combining stays off"}},
        {"PollCycle", {kDtmKey, "the poll interval stays 1000 ms"}},
    };
    return values;
}

std::string folded(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string typeName(uint32_t type) {
    switch (type) {
        case platform::REG_NONE:
            return "a value of type none";
        case platform::REG_EXPAND_SZ:
            return "an expandable text";
        case platform::REG_BINARY:
            return "binary data";
        case platform::REG_MULTI_SZ:
            return "a multi-string";
        case platform::REG_QWORD:
            return "a QWORD";
        default:
            return "a value of type " + std::to_string(type);
    }
}

// What is wrong with the value for the view, empty when it takes it as written.
std::string problem(const std::string& name, const platform::RegistryValue& v, const ViewValue& meaning) {
    const std::string ignored = std::string(": ignored, ") + meaning.fallBack;
    std::optional<double> number;
    if (v.type == platform::REG_DWORD) {
        if (v.data.size() > 4)
            return "a DWORD of " + std::to_string(v.data.size()) + " bytes, not 4" + ignored;
        uint32_t n = 0;
        for (size_t i = 0; i < v.data.size(); ++i) n |= static_cast<uint32_t>(v.data[i]) << (8 * i);
        // The view reads what the bytes hold, as a signed number.
        const auto value = static_cast<int32_t>(n);
        if (v.data.size() < 4)
            return "a DWORD of " + std::to_string(v.data.size()) + " bytes, not 4: read as " +
                   std::to_string(value);
        number = value;
    } else if (v.type == platform::REG_SZ) {
        const std::string text(v.data.begin(), std::find(v.data.begin(), v.data.end(), '\0'));
        if (v.data.size() > kLongestText + 1)
            return "a text of " + std::to_string(text.size()) + " bytes, longer than 255: read as 0" +
                   ignored;
        double d = 0;
        if (!platform::parseNumber(text, d)) {
            const std::string quoted = quoteText(support::printableText(text));
            // The poll-timer set-up converts the text to a number and fails on anything else.
            if (name == "PollCycle")
                return "the text " + quoted + ", not a number: the view's creation stops there";
            return "the text " + quoted + ", not a number" + ignored;
        }
        number = d;
    } else {
        return typeName(v.type) + ", not a DWORD" + ignored;
    }
    if (name == "PollCycle" &&
        !(std::nearbyint(*number) >= kPollCycleMin && std::nearbyint(*number) <= kPollCycleMax))
        return platform::shortestText(*number) + ", outside 1..30000" + ignored;
    return {};
}

}  // namespace

std::optional<std::string> viewRegistryKey(const std::string& valueName) {
    auto it = viewValues().find(valueName);
    if (it == viewValues().end()) return std::nullopt;
    return it->second.key;
}

std::vector<std::string> registryReport(const std::string& file,
                                        const std::vector<platform::RegistryEdit>& edits) {
    std::vector<std::string> lines;
    for (const platform::RegistryEdit& edit : edits) {
        if (edit.kind != platform::RegistryEdit::Kind::SetValue) continue;
        for (const auto& [name, meaning] : viewValues()) {
            if (folded(name) != folded(edit.valueName) || folded(meaning.key) != folded(edit.keyPath))
                continue;
            if (const std::string why = problem(name, edit.value, meaning); !why.empty())
                lines.push_back("registry " + file + ", line " + std::to_string(edit.line) + ": " + name +
                                " is " + why);
        }
    }
    return lines;
}

}  // namespace qx::console
