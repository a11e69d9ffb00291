#include "frame/params/ParameterSet.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
#include <sstream>

#include "frame/DeviceDescriptionFile.h"
#include "frame/FrameDataModel.h"
#include "frame/FrameDescription.h"
#include "frame/FrameParameter.h"
#include "platform/Variant.h"

namespace qx::frame {

namespace {

using nlohmann::json;

// Settings a person may write; commands (the teach code) act on the device instead of holding a
// value and are never written back.
constexpr int32_t kSettingFlag = 2;
constexpr int32_t kCommandFlag = 4;
constexpr const char* kCommandParameter = "QUICK_2";

std::string categoryText(const FrameDescription& description) {
    switch (description.options().category) {
        case DeviceOptions::Category::Match:
            return description.file()->deviceTable().savingCategory;
        case DeviceOptions::Category::Other:
            return "other";
        case DeviceOptions::Category::None:
            break;
    }
    return "";
}

const json& member(const json& object, const char* name, const std::string& at) {
    if (!object.is_object() || !object.contains(name)) throw ParameterSetError(at + "." + name + ": missing");
    return object.at(name);
}

std::string text(const json& object, const char* name, const std::string& at) {
    const json& v = member(object, name, at);
    if (!v.is_string()) throw ParameterSetError(at + "." + name + ": not a text");
    return v.get<std::string>();
}

}  // namespace

DeviceIdentity identityOf(const FrameDataModel& model) {
    const FrameDescription& description = *model.frameDescription();
    return {model.displayName(), description.options().fw, categoryText(description),
            description.file()->displayName};
}

std::vector<std::shared_ptr<FrameParameter>> describedParameters(const FrameDataModel& model) {
    return model.frameDescription()->parameters();
}

ParameterSet takeSet(const FrameDataModel& model) {
    ParameterSet set{identityOf(model), {}};
    for (const auto& p : describedParameters(model))
        if (p->noValue() == 0) set.values.push_back({p->name(), p->valueText(), p->unit()});
    return set;
}

std::string setToJson(const ParameterSet& set) {
    json values = json::array();
    for (const auto& v : set.values)
        values.push_back({{"name", v.name}, {"value", v.text}, {"unit", v.unit}});
    const json file = {{"device",
                        {{"displayName", set.identity.displayName},
                         {"firmware", set.identity.firmware},
                         {"category", set.identity.category},
                         {"description", set.identity.description}}},
                       {"parameters", values}};
    return file.dump(2) + "\n";
}

ParameterSet setFromJson(const std::string& text_) {
    json file;
    try {
        file = json::parse(text_);
    } catch (const json::exception& e) {
        throw ParameterSetError(std::string("not JSON: ") + e.what());
    }
    ParameterSet set;
    const json& device = member(file, "device", "$");
    set.identity.displayName = text(device, "displayName", "$.device");
    const json& firmware = member(device, "firmware", "$.device");
    if (!firmware.is_number_integer()) throw ParameterSetError("$.device.firmware: not a whole number");
    set.identity.firmware = firmware.get<int32_t>();
    set.identity.category = text(device, "category", "$.device");
    set.identity.description = text(device, "description", "$.device");
    const json& values = member(file, "parameters", "$");
    if (!values.is_array()) throw ParameterSetError("$.parameters: not a list");
    for (size_t i = 0; i < values.size(); ++i) {
        const std::string at = "$.parameters[" + std::to_string(i) + "]";
        set.values.push_back({text(values[i], "name", at), text(values[i], "value", at),
                              values[i].contains("unit") ? text(values[i], "unit", at) : ""});
    }
    return set;
}

void writeSetFile(const std::string& path, const ParameterSet& set) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << setToJson(set);
    out.close();
    if (!out) throw ParameterSetError("cannot be written");
}

ParameterSet readSetFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ParameterSetError("cannot be read");
    std::ostringstream all;
    all << in.rdbuf();
    return setFromJson(all.str());
}

std::vector<Difference> compareSet(const ParameterSet& set, const FrameDataModel& model) {
    std::vector<Difference> differences;
    for (const auto& v : set.values) {
        const auto p = model.frameDescription()->findParameter(v.name);
        if (!p) continue;
        const std::string device = p->noValue() == 0 ? p->valueText() : "";
        if (device != v.text) differences.push_back({v.name, v.text, device});
    }
    return differences;
}

bool takesText(const FrameParameter& parameter, const std::string& text_) {
    if (parameter.kind() == ParameterDefinition::Kind::List) {
        for (const auto& e : parameter.entries())
            if (e.text == text_) return true;
        return false;
    }
    double v = 0;
    if (!platform::parseNumber(text_, v) || !std::isfinite(v)) return false;
    if (parameter.kind() == ParameterDefinition::Kind::Integer && v != std::floor(v)) return false;
    return v >= parameter.minimum().toDouble() && v <= parameter.maximum().toDouble();
}

LoadPlan planLoad(const ParameterSet& set, const FrameDataModel& model) {
    LoadPlan plan;
    if (set.identity != identityOf(model)) {
        plan.refusal = "the set is for another device";
        return plan;
    }
    for (const auto& v : set.values) {
        const auto p = model.frameDescription()->findParameter(v.name);
        if (!p) {
            plan.refusal = "the device has no parameter " + v.name;
            break;
        }
        if (!takesText(*p, v.text)) {
            plan.refusal = v.name + " does not take \"" + v.text + "\"";
            break;
        }
        const bool settable = (p->flags() & kSettingFlag) != 0 && (p->flags() & kCommandFlag) == 0 &&
                              v.name != kCommandParameter;
        if (settable && (p->noValue() != 0 || p->valueText() != v.text)) plan.writes.emplace_back(p, v.text);
    }
    if (plan.refusal) plan.writes.clear();
    return plan;
}

}  // namespace qx::frame
