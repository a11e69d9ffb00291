#pragma once
// What the view knows of a device beyond the parameters' own properties: where each parameter it
// works with lives (by role, for each firmware family and bus category), the bus category whose
// devices keep their taught limits apart, the quick-teach tolerance lists and the chart units.
// A device description may state each of these parts; a part it leaves out is the flow
// monitor's, so that a description written before these tables binds as it always did.
//
// A firmware family is "default" or a firmware version in decimal; a device uses its own
// version's family when the table has one, else "default".
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/PackageInternal.h"

namespace qx::device {

// Which devices a place applies to, by whether their bus category is the saving one.
enum class CategoryScope { Any, Saving, Other };

struct ParameterPlace {
    std::string role;  // the reference's name (ParameterRefs), e.g. "TEACH_MAX"
    std::string module, group, name;
    CategoryScope scope = CategoryScope::Any;
    bool operator==(const ParameterPlace&) const = default;
};

struct ToleranceList {
    std::vector<std::string> texts;  // largest positive offset first
    int32_t zero = 0;                // the entry without offset: the initial choice
    bool operator==(const ToleranceList&) const = default;
};

struct QX_FLOW_INTERNAL DeviceTable {
    std::map<std::string, std::vector<ParameterPlace>> places;  // by firmware family
    std::string savingCategory;                                 // the bus-category id
    std::map<std::string, ToleranceList> tolerances;            // by firmware family
    std::string flowUnit, temperatureUnit;                      // as the parameters name them
    bool operator==(const DeviceTable&) const = default;

    // The flow monitor's table, every part stated.
    static const DeviceTable& flowMonitor();
    // Whether the view has a reference of that name.
    static bool isRole(const std::string& role);

    // Each part this table leaves empty taken from `defaults`.
    void complete(const DeviceTable& defaults);

    // Where the role's parameter lives on a device of that firmware and category; none when the
    // table leaves the role out.
    const ParameterPlace* place(const std::string& role, std::optional<int32_t> firmware, bool saving) const;
    // The list for that firmware; the flow monitor's when the table states none.
    const ToleranceList& tolerancesFor(int32_t firmware) const;
};

// The family a firmware version falls in, among those the map holds.
template <class T>
const T* familyOf(const std::map<std::string, T>& byFamily, std::optional<int32_t> firmware) {
    if (firmware)
        if (auto it = byFamily.find(std::to_string(*firmware)); it != byFamily.end()) return &it->second;
    auto it = byFamily.find("default");
    return it == byFamily.end() ? nullptr : &it->second;
}

}  // namespace qx::device
