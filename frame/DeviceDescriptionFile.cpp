#include "frame/DeviceDescriptionFile.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "platform/RuntimeError.h"

namespace qx::frame {

namespace {

using nlohmann::json;

[[noreturn]] void fail(const std::string& what) {
    platform::raise(platform::kObjectError, "Device description: " + what);
}

const json& member(const json& object, const char* key, const std::string& where) {
    auto it = object.find(key);
    if (it == object.end()) fail(where + " lacks \"" + key + "\"");
    return *it;
}

std::string text(const json& object, const char* key, const std::string& where) {
    const json& v = member(object, key, where);
    if (!v.is_string()) fail(where + ": \"" + key + "\" is not a text");
    return v.get<std::string>();
}

double number(const json& object, const char* key, const std::string& where) {
    const json& v = member(object, key, where);
    if (!v.is_number()) fail(where + ": \"" + key + "\" is not a number");
    return v.get<double>();
}

int32_t integer(const json& object, const char* key, const std::string& where) {
    const json& v = member(object, key, where);
    if (!v.is_number_integer()) fail(where + ": \"" + key + "\" is not a whole number");
    return v.get<int32_t>();
}

std::vector<ListEntry> readEntries(const json& list, const std::string& where) {
    if (!list.is_array() || list.empty()) fail(where + ": a list needs its entries");
    std::vector<ListEntry> entries;
    for (const json& e : list) entries.push_back({integer(e, "value", where), text(e, "text", where)});
    return entries;
}

ParameterDefinition::Kind readKind(const std::string& kind, const std::string& where) {
    if (kind == "integer") return ParameterDefinition::Kind::Integer;
    if (kind == "number") return ParameterDefinition::Kind::Number;
    if (kind == "list") return ParameterDefinition::Kind::List;
    fail(where + ": unknown kind \"" + kind + "\"");
}

ParameterDefinition readParameter(const json& p, const std::string& group) {
    ParameterDefinition definition;
    definition.name = text(p, "name", "a parameter of " + group);
    const std::string where = "parameter " + definition.name;
    for (const auto& [language, name] : member(p, "displayName", where).items())
        definition.displayNames[std::stoi(language)] = name.get<std::string>();
    definition.unit = text(p, "unit", where);
    definition.kind = readKind(text(p, "kind", where), where);
    if (definition.kind == ParameterDefinition::Kind::List) {
        const json& entries = member(p, "entries", where);
        if (entries.is_object()) {
            for (const auto& [firmware, list] : entries.items())
                definition.entriesByFirmware[firmware] = readEntries(list, where);
            if (!definition.entriesByFirmware.contains("default")) fail(where + ": entries lack \"default\"");
        } else {
            definition.entriesByFirmware["default"] = readEntries(entries, where);
        }
    } else {
        definition.minimum = number(p, "minimum", where);
        definition.maximum = number(p, "maximum", where);
    }
    const json& def = member(p, "default", where);
    if (def.is_string())
        definition.defaultText = def.get<std::string>();
    else if (def.is_number_integer())
        definition.defaultText = std::to_string(def.get<int64_t>());
    else if (def.is_number())
        definition.defaultText = platform::shortestText(def.get<double>());
    else if (!def.is_null())
        fail(where + ": \"default\" is neither a text nor a number");
    definition.flags = integer(p, "flags", where);
    definition.state = integer(p, "state", where);
    if (p.contains("option")) definition.option = text(p, "option", where);
    return definition;
}

platform::Variant itemValue(const json& v, const std::string& name) {
    if (v.is_number_integer()) return platform::Variant(v.get<int64_t>());
    if (v.is_number()) return platform::Variant(v.get<double>());
    if (v.is_string()) return platform::Variant(v.get<std::string>());
    fail("item " + name + " is neither a text nor a number");
}

}  // namespace

DescriptionFile parseDescriptionFile(const std::string& jsonText) {
    DescriptionFile file;
    try {
        const json doc = json::parse(jsonText);
        if (!doc.is_object()) fail("the description is not an object");
        file.displayName = text(doc, "displayName", "the description");
        for (const auto& [name, value] : member(doc, "items", "the description").items())
            file.items[name] = itemValue(value, name);
        for (const json& c : member(doc, "viewContexts", "the description"))
            file.viewContexts.push_back(c.get<std::string>());
        for (const json& m : member(doc, "modules", "the description")) {
            ModuleSpec module{text(m, "name", "a module"), {}};
            for (const json& g : member(m, "groups", "module " + module.name)) {
                GroupSpec group{text(g, "name", "a group of " + module.name), {}};
                for (const json& p : member(g, "parameters", "group " + group.name))
                    group.parameters.push_back(readParameter(p, group.name));
                module.groups.push_back(std::move(group));
            }
            file.modules.push_back(std::move(module));
        }
    } catch (const platform::RuntimeError&) {
        throw;
    } catch (const std::exception& e) {
        // Malformed JSON, a value of the wrong type, a language that is no number.
        fail(e.what());
    }
    return file;
}

DescriptionFile readDescriptionFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) fail("cannot read " + path);
    std::ostringstream contents;
    contents << in.rdbuf();
    return parseDescriptionFile(contents.str());
}

}  // namespace qx::frame
