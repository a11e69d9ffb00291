#pragma once
// One parameter as a device description file declares it, before a model gives it a value.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qx::frame {

// One text of a list parameter and the number the device stores for it.
struct ListEntry {
    int32_t value = 0;
    std::string text;
};

struct ParameterDefinition {
    // Integer and Number take decimal texts (Integer only whole ones); List takes one of its texts.
    enum class Kind { Integer, Number, List };

    std::string name;
    std::map<int32_t, std::string> displayNames;  // by language number
    std::string unit;
    Kind kind = Kind::Integer;
    double minimum = 0;  // a list's limits are those of its entry values
    double maximum = 0;
    // A list's texts by firmware version ("1", ...), "default" for every other firmware.
    std::map<std::string, std::vector<ListEntry>> entriesByFirmware;
    std::optional<std::string> defaultText;  // the value text a new model starts with; none: no value
    int32_t flags = 0;
    int32_t state = 0;
    // The device option that decides whether the parameter exists and holds a value: "quickmode",
    // "swpoint", "flowsp", "flowspqt" or "teach"; empty when it always exists.
    std::string option;
};

}  // namespace qx::frame
