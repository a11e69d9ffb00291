// The device description reader on arbitrary text, as a user's own description file reaches
// it. A text it refuses fails with the frame's run-time error naming the JSON path at fault; a
// text it accepts holds only what the reader promises to check: at least one module, names that
// are neither empty nor repeated, limits in order, defaults the parameter can take, and lists
// with distinct entries for every firmware.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "FuzzCheck.h"
#include "frame/DeviceDescriptionFile.h"
#include "platform/RuntimeError.h"
#include "platform/Variant.h"

namespace {

using namespace qx::frame;
using Kind = ParameterDefinition::Kind;
using qx::fuzz::require;

// Inserts a name that must be neither empty nor seen before in its scope.
void distinct(std::set<std::string>& seen, const std::string& name, const std::string& what) {
    require(!name.empty(), what + " names are not empty");
    require(seen.insert(name).second, what + " \"" + name + "\" is not repeated");
}

void checkList(const ParameterDefinition& p) {
    require(p.entriesByFirmware.contains("default"), "a list has entries for every firmware");
    for (const auto& [firmware, entries] : p.entriesByFirmware) {
        require(!entries.empty(), "a list of firmware " + firmware + " has entries");
        std::set<std::string> texts;
        std::set<int32_t> values;
        for (const ListEntry& e : entries) {
            require(texts.insert(e.text).second && values.insert(e.value).second,
                    "list entries are distinct");
        }
        if (p.defaultText) require(texts.contains(*p.defaultText), "a list's default is one of its entries");
    }
}

void checkNumeric(const ParameterDefinition& p) {
    require(std::isfinite(p.minimum) && std::isfinite(p.maximum) && p.minimum <= p.maximum,
            "limits in order");
    if (p.kind == Kind::Integer)
        require(p.minimum == std::floor(p.minimum) && p.maximum == std::floor(p.maximum) &&
                    p.minimum >= INT32_MIN && p.maximum <= INT32_MAX,
                "integer limits are 32-bit whole numbers");
    if (!p.defaultText) return;
    double v = 0;
    require(qx::platform::parseNumber(*p.defaultText, v), "a numeric default is a number: " + *p.defaultText);
    require(v >= p.minimum && v <= p.maximum, "a default lies within the limits: " + *p.defaultText);
}

void checkAccepted(const DescriptionFile& file) {
    require(!file.modules.empty(), "a device has at least one module");
    std::set<std::string> contexts, modules, parameters;
    for (const std::string& c : file.viewContexts) distinct(contexts, c, "view context");
    for (const ModuleSpec& m : file.modules) {
        distinct(modules, m.name, "module");
        std::set<std::string> groups;
        for (const GroupSpec& g : m.groups) {
            distinct(groups, g.name, "group");
            for (const ParameterDefinition& p : g.parameters) {
                distinct(parameters, p.name, "parameter");
                if (p.kind == Kind::List)
                    checkList(p);
                else
                    checkNumeric(p);
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        checkAccepted(parseDescriptionFile(std::string(reinterpret_cast<const char*>(data), size)));
    } catch (const qx::platform::RuntimeError& e) {
        require(e.number() == qx::platform::kObjectError,
                "a refused description fails with the frame's error");
        require(e.description().rfind("$", 0) == 0, "the failure names the JSON path: " + e.description());
    }
    return 0;
}
