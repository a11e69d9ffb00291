#include "frame/modbus/RegisterMap.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

#include "frame/FlowMonitorNames.h"
#include "platform/Variant.h"

namespace qx::frame {

namespace {

using nlohmann::json;

// The roles of the parameters the view writes as jobs: a map that made one of them read-only
// would turn every teach-in or manual setting into a failed job.
constexpr const char* kWrittenByView[] = {kCommand,  kSwitchPoint, kSwitchPercent, kQuickOffset,  kTeachMax,
                                          kTeachMin, kQuickMode,   kFlowSetPoint,  kQuickSetPoint};

// Whether the description's table gives the parameter one of the roles, for any firmware or
// category.
bool playsRole(const DescriptionFile& file, const std::string& parameter,
               std::initializer_list<const char*> roles) {
    const device::DeviceTable table = file.deviceTable();
    for (const auto& [family, places] : table.places)
        for (const auto& p : places)
            if (p.name == parameter && std::ranges::any_of(roles, [&](const char* r) { return p.role == r; }))
                return true;
    return false;
}

struct RawRange {
    double low, high;
};

RawRange rangeOf(RegisterType type) {
    switch (type) {
        case RegisterType::Int16:
            return {std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()};
        case RegisterType::UInt16:
            return {0, std::numeric_limits<uint16_t>::max()};
        case RegisterType::Int32:
            return {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
        case RegisterType::UInt32:
            return {0, std::numeric_limits<uint32_t>::max()};
    }
    return {0, 0};
}

const char* typeName(RegisterType type) {
    switch (type) {
        case RegisterType::Int16:
            return "int16";
        case RegisterType::UInt16:
            return "uint16";
        case RegisterType::Int32:
            return "int32";
        case RegisterType::UInt32:
            return "uint32";
    }
    return "";
}

const ParameterDefinition* findDefinition(const DescriptionFile& file, const std::string& name) {
    for (const auto& module : file.modules)
        for (const auto& group : module.groups)
            for (const auto& p : group.parameters)
                if (p.name == name) return &p;
    return nullptr;
}

// The values a parameter can take: its limits, or for a list the codes of every firmware's texts.
RawRange valueRange(const ParameterDefinition& p) {
    if (p.kind != ParameterDefinition::Kind::List) return {p.minimum, p.maximum};
    RawRange r{std::numeric_limits<double>::max(), std::numeric_limits<double>::lowest()};
    for (const auto& [firmware, entries] : p.entriesByFirmware)
        for (const auto& e : entries) {
            r.low = std::min(r.low, double(e.value));
            r.high = std::max(r.high, double(e.value));
        }
    return r;
}

class Reader {
  public:
    Reader(const DescriptionFile& parameters, std::string file)
        : parameters_(parameters), file_(std::move(file)) {}

    [[noreturn]] void fail(const std::string& path, const std::string& reason) const {
        throw RegisterMapError(file_, path, reason);
    }

    const json& member(const json& object, const std::string& key, const std::string& path) const {
        if (!object.is_object()) fail(path, "is not an object");
        auto it = object.find(key);
        if (it == object.end()) fail(path + "/" + key, "is missing");
        return *it;
    }

    std::string text(const json& object, const std::string& key, const std::string& path) const {
        const json& v = member(object, key, path);
        if (!v.is_string()) fail(path + "/" + key, "is not a text");
        return v.get<std::string>();
    }

    int64_t whole(const json& object, const std::string& key, const std::string& path, int64_t low,
                  int64_t high) const {
        const json& v = member(object, key, path);
        if (!v.is_number_integer()) fail(path + "/" + key, "is not a whole number");
        const int64_t n = v.get<int64_t>();
        if (n < low || n > high)
            fail(path + "/" + key,
                 std::to_string(n) + " is outside " + std::to_string(low) + ".." + std::to_string(high));
        return n;
    }

    double number(const json& object, const std::string& key, const std::string& path,
                  double fallback) const {
        if (!object.contains(key)) return fallback;
        const json& v = object.at(key);
        if (!v.is_number()) fail(path + "/" + key, "is not a number");
        return v.get<double>();
    }

    template <typename Enum>
    Enum choice(const json& object, const std::string& key, const std::string& path,
                std::initializer_list<std::pair<const char*, Enum>> choices) const {
        const std::string word = text(object, key, path);
        std::string names;
        for (const auto& [name, value] : choices) {
            if (word == name) return value;
            names += std::string(names.empty() ? "" : ", ") + name;
        }
        fail(path + "/" + key, "\"" + word + "\" is not one of " + names);
    }

    WordOrder wordOrder(const json& object, const std::string& path) const {
        return choice<WordOrder>(
            object, "wordOrder", path,
            {{"high-word-first", WordOrder::HighFirst}, {"low-word-first", WordOrder::LowFirst}});
    }

    RegisterMap read(const json& description) {
        const std::string root = "/modbus";
        const json& section = member(description, "modbus", "");
        RegisterMap map;
        map.unitId =
            section.contains("unitId") ? static_cast<uint8_t>(whole(section, "unitId", root, 0, 255)) : 1;
        map.byteOrder = choice<ByteOrder>(
            section, "byteOrder", root,
            {{"big-endian", ByteOrder::BigEndian}, {"little-endian", ByteOrder::LittleEndian}});
        const WordOrder words = wordOrder(section, root);
        const json& registers = member(section, "registers", root);
        if (!registers.is_array()) fail(root + "/registers", "is not a list");
        for (size_t i = 0; i < registers.size(); ++i)
            map.entries.push_back(entry(registers[i], root + "/registers/" + std::to_string(i), words, map));
        requireCommand(map, root + "/registers");
        return map;
    }

  private:
    RegisterEntry entry(const json& r, const std::string& path, WordOrder words,
                        const RegisterMap& map) const {
        RegisterEntry e;
        e.parameter = text(r, "parameter", path);
        const ParameterDefinition* definition = findDefinition(parameters_, e.parameter);
        if (!definition) fail(path + "/parameter", "the description has no parameter " + e.parameter);
        if (map.find(e.parameter)) fail(path + "/parameter", e.parameter + " has a register already");
        if (r.contains("sameAs")) return sharing(r, path, map, std::move(e.parameter), *definition);
        e.table = choice<RegisterTable>(
            r, "table", path, {{"holding", RegisterTable::Holding}, {"input", RegisterTable::Input}});
        e.type = choice<RegisterType>(r, "type", path,
                                      {{"int16", RegisterType::Int16},
                                       {"uint16", RegisterType::UInt16},
                                       {"int32", RegisterType::Int32},
                                       {"uint32", RegisterType::UInt32}});
        e.address = static_cast<uint16_t>(whole(r, "address", path, 0, 65536 - e.width()));
        e.wordOrder = r.contains("wordOrder") ? wordOrder(r, path) : words;
        e.scale = number(r, "scale", path, 1);
        if (!(e.scale > 0) || !std::isfinite(e.scale)) fail(path + "/scale", "must be a positive number");
        e.offset = number(r, "offset", path, 0);
        const json& writable = member(r, "writable", path);
        if (!writable.is_boolean()) fail(path + "/writable", "is not true or false");
        e.writable = writable.get<bool>();

        if (e.writable && e.table == RegisterTable::Input)
            fail(path + "/writable", "an input register cannot be written");
        if (!e.writable && std::ranges::any_of(kWrittenByView, [&](const char* role) {
                return playsRole(parameters_, e.parameter, {role});
            }))
            fail(path + "/writable", "the view writes " + e.parameter + ", so its register must be writable");
        for (uint32_t a = e.address; a <= e.end(); ++a)
            if (const RegisterEntry* other = map.covering(e.table, a))
                fail(path + "/address",
                     "register " + std::to_string(a) + " is " + other->parameter + "'s already");
        checkFits(e, *definition, path);
        return e;
    }

    // A parameter that names the same value as one given before takes that one's registers and
    // everything about them, so a write job may place it next to either's companions.
    RegisterEntry sharing(const json& r, const std::string& path, const RegisterMap& map,
                          std::string parameter, const ParameterDefinition& definition) const {
        const std::string owner = text(r, "sameAs", path);
        const RegisterEntry* other = map.find(owner);
        if (!other) fail(path + "/sameAs", "no register is given before for " + owner);
        if (!other->sameAs.empty())
            fail(path + "/sameAs", owner + " shares " + other->sameAs + "'s register itself");
        for (const char* key : {"table", "address", "type", "wordOrder", "scale", "offset", "writable"})
            if (r.contains(key)) fail(path + "/" + key, "comes from " + owner + ", whose register this is");
        RegisterEntry e = *other;
        e.parameter = std::move(parameter);
        e.sameAs = owner;
        checkFits(e, definition, path);
        return e;
    }

    void checkFits(const RegisterEntry& e, const ParameterDefinition& p, const std::string& path) const {
        const RawRange values = valueRange(p);
        const RawRange raw = rangeOf(e.type);
        const double low = std::round((values.low - e.offset) / e.scale);
        const double high = std::round((values.high - e.offset) / e.scale);
        if (low < raw.low || high > raw.high)
            fail(path + "/type", e.parameter + " takes " + platform::shortestText(values.low) + ".." +
                                     platform::shortestText(values.high) + ", raw " +
                                     platform::shortestText(low) + ".." + platform::shortestText(high) +
                                     ", beyond " + typeName(e.type));
    }

    void requireCommand(const RegisterMap& map, const std::string& path) const {
        const auto command = std::ranges::find_if(map.entries, [&](const RegisterEntry& e) {
            return playsRole(parameters_, e.parameter, {kCommand});
        });
        if (command == map.entries.end() || command->table != RegisterTable::Holding)
            fail(path, "the command parameter " + commandName() + " needs a writable holding register");
    }

    // The parameter the description's table gives the command role (the flow monitor's QUICK_2).
    std::string commandName() const {
        // The table is a copy: the name is taken before it goes.
        const device::DeviceTable table = parameters_.deviceTable();
        if (const auto* place = table.place(kCommand, std::nullopt, false)) return place->name;
        return kCommand;
    }

    const DescriptionFile& parameters_;
    std::string file_;
};

}  // namespace

const RegisterEntry* RegisterMap::find(const std::string& parameter) const {
    auto it = std::ranges::find(entries, parameter, &RegisterEntry::parameter);
    return it == entries.end() ? nullptr : &*it;
}

const RegisterEntry* RegisterMap::covering(RegisterTable table, uint32_t address) const {
    for (const auto& e : entries)
        if (e.table == table && e.address <= address && address <= e.end()) return &e;
    return nullptr;
}

RegisterMap parseRegisterMap(const json& description, const DescriptionFile& parameters,
                             const std::string& file) {
    return Reader(parameters, file).read(description);
}

RegisterMap readRegisterMap(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw RegisterMapError(path, "", "cannot be read");
    std::ostringstream contents;
    contents << in.rdbuf();
    const DescriptionFile parameters = parseDescriptionFile(contents.str());
    json description;
    try {
        description = json::parse(contents.str());
    } catch (const json::exception& e) {
        throw RegisterMapError(path, "", e.what());
    }
    return parseRegisterMap(description, parameters, path);
}

}  // namespace qx::frame
