#include "frame/DeviceDescriptionFile.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>

#include "frame/JsonAt.h"
#include "platform/FileContents.h"
#include "platform/RuntimeError.h"
#include "support/PrintableText.h"

namespace qx::frame {

namespace {

using nlohmann::json;
using Kind = ParameterDefinition::Kind;

// The device options a parameter may depend on (see DeviceOptions).
const std::set<std::string> kOptions = {"quickmode", "swpoint", "flowsp", "flowspqt", "teach"};

// Integer parameters hold what a 32-bit signed number holds.
constexpr double kIntegerLow = INT32_MIN;
constexpr double kIntegerHigh = INT32_MAX;

// Names that must be unique within their scope; refuses a repeat, naming where it came first.
class UniqueNames {
  public:
    explicit UniqueNames(const char* what) : what_(what) {}
    void add(const std::string& name, const JsonAt& at) {
        auto [it, fresh] = first_.emplace(name, at.path());
        if (!fresh)
            at.refuse("duplicate " + std::string(what_) + " \"" + name + "\" (first at " + it->second + ")");
    }

  private:
    const char* what_;
    std::map<std::string, std::string> first_;
};

// A text the frame shows, prints or exports as it is (a display name, a unit, an entry, a name):
// a control character in it would reach the terminal, a label or a CSV file and act there.
std::string shownText(const std::string& text, const JsonAt& at) {
    if (support::hasControlCharacter(text))
        at.refuse("\"" + support::printableText(text) + "\" holds a control character");
    return text;
}
std::string displayText(const JsonAt& at) {
    return shownText(at.text(), at);
}
std::string shownName(const JsonAt& at) {
    return shownText(at.name(), at);
}

std::vector<ListEntry> readEntries(const JsonAt& list) {
    std::vector<ListEntry> entries;
    UniqueNames texts("entry text");
    std::set<int32_t> values;
    for (const JsonAt& e : list.elements(false)) {
        const JsonAt value = e.member("value");
        ListEntry entry{static_cast<int32_t>(value.whole(INT32_MIN, INT32_MAX)),
                        displayText(e.member("text"))};
        texts.add(entry.text, e);
        if (!values.insert(entry.value).second)
            value.refuse("duplicate entry value " + std::to_string(entry.value));
        entries.push_back(std::move(entry));
    }
    return entries;
}

void checkFirmware(const std::string& firmware, const JsonAt& at) {
    int32_t fw = 0;
    std::istringstream in(firmware);
    if (!(in >> fw) || !in.eof() || std::to_string(fw) != firmware)
        at.refuse("a firmware version is a whole decimal number or \"default\"");
}

// "default" and firmware numbers as keys, or one list for every firmware.
std::map<std::string, std::vector<ListEntry>> readEntryLists(const JsonAt& at) {
    std::map<std::string, std::vector<ListEntry>> lists;
    if (!at.value().is_object()) {
        lists["default"] = readEntries(at);
        return lists;
    }
    for (const auto& [firmware, list] : at.members()) {
        if (firmware != "default") checkFirmware(firmware, list);
        lists[firmware] = readEntries(list);
    }
    if (!lists.contains("default")) at.refuse("\"default\" is missing");
    return lists;
}

Kind readKind(const JsonAt& at) {
    const std::string kind = at.text();
    if (kind == "integer") return Kind::Integer;
    if (kind == "number") return Kind::Number;
    if (kind == "list") return Kind::List;
    at.refuse("unknown kind \"" + kind + "\" (integer, number or list)");
}

void readLimits(const JsonAt& p, ParameterDefinition& d) {
    const JsonAt min = p.member("minimum"), max = p.member("maximum");
    d.minimum = min.number();
    d.maximum = max.number();
    if (d.kind == Kind::Integer) {
        for (const JsonAt& limit : {min, max}) {
            const double v = limit.number();
            if (v != std::floor(v)) limit.refuse(jsonExcerpt(limit.value()) + " is not a whole number");
            if (v < kIntegerLow || v > kIntegerHigh)
                limit.refuse(jsonExcerpt(limit.value()) +
                             " is outside the 32-bit range of an integer parameter");
        }
    }
    if (d.minimum > d.maximum)
        min.refuse("the minimum " + jsonExcerpt(min.value()) + " is above the maximum " +
                   jsonExcerpt(max.value()));
}

// The default must be a value the parameter takes, else a new model would silently hold none.
void checkDefault(const JsonAt& at, const ParameterDefinition& d) {
    const std::string& text = *d.defaultText;
    if (d.kind == Kind::List) {
        for (const auto& [firmware, entries] : d.entriesByFirmware) {
            if (std::none_of(entries.begin(), entries.end(),
                             [&](const ListEntry& e) { return e.text == text; }))
                at.refuse("\"" + text + "\" is not an entry of the list for firmware " + firmware);
        }
        return;
    }
    double v = 0;
    if (!platform::parseNumber(text, v)) at.refuse(jsonExcerpt(at.value()) + " is not a number");
    if (d.kind == Kind::Integer && v != std::floor(v))
        at.refuse(jsonExcerpt(at.value()) + " is not a whole number");
    if (!(v >= d.minimum && v <= d.maximum))
        at.refuse(jsonExcerpt(at.value()) + " is outside the parameter's range " +
                  platform::shortestText(d.minimum) + ".." + platform::shortestText(d.maximum));
}

std::optional<std::string> readDefault(const JsonAt& p) {
    auto at = p.optionalMember("default");
    if (!at) return std::nullopt;  // the parameter starts without a value
    const json& v = at->value();
    if (v.is_string()) return v.get<std::string>();
    if (v.is_number_unsigned()) return std::to_string(v.get<uint64_t>());
    if (v.is_number_integer()) return std::to_string(v.get<int64_t>());
    if (v.is_number()) return platform::shortestText(at->number());
    at->refuse("is neither a text nor a number");
}

ParameterDefinition readParameter(const JsonAt& p) {
    ParameterDefinition d;
    d.name = shownName(p.member("name"));
    for (const auto& [language, name] : p.member("displayName").members()) {
        int32_t number = 0;
        std::istringstream in(language);
        if (!(in >> number) || !in.eof() || std::to_string(number) != language || number < 0 ||
            number > 65535)
            name.refuse("\"" + language + "\" is not a language number (0..65535)");
        d.displayNames[number] = displayText(name);
    }
    d.unit = displayText(p.member("unit"));
    d.kind = readKind(p.member("kind"));
    if (d.kind == Kind::List)
        d.entriesByFirmware = readEntryLists(p.member("entries"));
    else
        readLimits(p, d);
    d.defaultText = readDefault(p);
    if (d.defaultText) checkDefault(p.member("default"), d);
    d.flags = p.member("flags").word32();
    d.state = static_cast<int32_t>(p.member("state").whole(INT32_MIN, INT32_MAX));
    if (auto option = p.optionalMember("option")) {
        d.option = option->text();
        if (!kOptions.contains(d.option)) option->refuse("unknown option \"" + d.option + "\"");
    }
    return d;
}

platform::Variant itemValue(const std::string& name, const JsonAt& at) {
    const json& v = at.value();
    // The frame selects the bus category by IDX as a 32-bit number.
    if (name == "IDX") return platform::Variant(at.whole(INT32_MIN, INT32_MAX));
    if (v.is_string()) return platform::Variant(v.get<std::string>());
    if (v.is_number_integer() && !v.is_number_unsigned()) return platform::Variant(v.get<int64_t>());
    if (v.is_number()) return platform::Variant(at.number());
    at.refuse("is neither a text nor a number");
}

// "default" and firmware numbers as keys, each handed to `read`; "default" is required.
template <class T, class Read>
std::map<std::string, T> readFamilies(const JsonAt& at, Read&& read) {
    std::map<std::string, T> families;
    for (const auto& [family, value] : at.members()) {
        if (family != "default") checkFirmware(family, value);
        families[family] = read(value);
    }
    if (!families.contains("default")) at.refuse("\"default\" is missing");
    return families;
}

bool declares(const DescriptionFile& file, const device::ParameterPlace& place) {
    for (const auto& m : file.modules)
        for (const auto& g : m.groups)
            for (const auto& p : g.parameters)
                if (m.name == place.module && g.name == place.group && p.name == place.name) return true;
    return false;
}

device::CategoryScope readScope(const JsonAt& p) {
    auto at = p.optionalMember("category");
    if (!at) return device::CategoryScope::Any;
    const std::string scope = at->text();
    if (scope == "saving") return device::CategoryScope::Saving;
    if (scope == "other") return device::CategoryScope::Other;
    at->refuse("unknown category \"" + scope + "\" (saving or other)");
}

// One family's places: each role at most once for any device, the parameters the file's own.
std::vector<device::ParameterPlace> readPlaces(const JsonAt& list, const DescriptionFile& file) {
    std::vector<device::ParameterPlace> places;
    for (const JsonAt& p : list.elements(false)) {
        device::ParameterPlace place;
        const JsonAt role = p.member("role");
        place.role = role.name();
        if (!device::DeviceTable::isRole(place.role)) role.refuse("unknown role \"" + place.role + "\"");
        place.module = shownName(p.member("module"));
        place.group = shownName(p.member("group"));
        place.name = shownName(p.member("name"));
        place.scope = readScope(p);
        if (!declares(file, place))
            p.refuse("the description has no parameter " + place.module + "/" + place.group + "/" +
                     place.name);
        for (const auto& earlier : places)
            if (earlier.role == place.role &&
                (earlier.scope == place.scope || earlier.scope == device::CategoryScope::Any ||
                 place.scope == device::CategoryScope::Any))
                p.refuse("the role " + place.role + " is placed twice for the same devices");
        places.push_back(std::move(place));
    }
    return places;
}

device::ToleranceList readTolerances(const JsonAt& at) {
    device::ToleranceList list;
    UniqueNames texts("tolerance");
    for (const JsonAt& e : at.member("entries").elements(false)) {
        list.texts.push_back(displayText(e));
        texts.add(list.texts.back(), e);
    }
    const JsonAt zero = at.member("zero");
    const std::string zeroText = zero.text();
    auto it = std::find(list.texts.begin(), list.texts.end(), zeroText);
    if (it == list.texts.end()) zero.refuse(jsonExcerpt(zero.value()) + " is not one of the entries");
    list.zero = static_cast<int32_t>(it - list.texts.begin());
    return list;
}

// The view's device table as the file states it; each member may be left out.
device::DeviceTable readWizard(const JsonAt& at, const DescriptionFile& file) {
    device::DeviceTable table;
    if (auto places = at.optionalMember("parameters")) {
        if (places->value().is_object())
            table.places = readFamilies<std::vector<device::ParameterPlace>>(
                *places, [&](const JsonAt& list) { return readPlaces(list, file); });
        else
            table.places["default"] = readPlaces(*places, file);
    }
    if (auto category = at.optionalMember("savingCategory")) table.savingCategory = shownName(*category);
    if (auto lists = at.optionalMember("tolerances"))
        table.tolerances = readFamilies<device::ToleranceList>(*lists, readTolerances);
    if (auto units = at.optionalMember("units")) {
        table.flowUnit = shownName(units->member("flow"));
        table.temperatureUnit = shownName(units->member("temperature"));
    }
    return table;
}

DescriptionFile readDescription(const JsonAt& doc) {
    DescriptionFile file;
    file.displayName = displayText(doc.member("displayName"));
    for (const auto& [name, value] : doc.member("items").members()) file.items[name] = itemValue(name, value);
    UniqueNames contexts("view context");
    for (const JsonAt& c : doc.member("viewContexts").elements()) {
        file.viewContexts.push_back(shownName(c));
        contexts.add(file.viewContexts.back(), c);
    }
    UniqueNames modules("module"), parameters("parameter");
    const JsonAt moduleList = doc.member("modules");
    if (moduleList.value().is_array() && moduleList.value().empty())
        moduleList.refuse("no modules: a device has at least one");
    for (const JsonAt& m : moduleList.elements()) {
        ModuleSpec module{shownName(m.member("name")), {}};
        modules.add(module.name, m);
        UniqueNames groups("group");
        for (const JsonAt& g : m.member("groups").elements()) {
            GroupSpec group{shownName(g.member("name")), {}};
            groups.add(group.name, g);
            for (const JsonAt& p : g.member("parameters").elements()) {
                group.parameters.push_back(readParameter(p));
                parameters.add(group.parameters.back().name, p);
            }
            module.groups.push_back(std::move(group));
        }
        file.modules.push_back(std::move(module));
    }
    if (auto wizard = doc.optionalMember("wizard")) file.wizard = readWizard(*wizard, file);
    return file;
}

}  // namespace

DescriptionFile parseDescriptionFile(const std::string& jsonText) {
    json doc;
    try {
        doc = json::parse(jsonText);
    } catch (const json::exception& e) {
        // A syntax error, or a number too large for any type ("number overflow parsing ..."):
        // "[json.exception.parse_error.101] parse error at line 1, column 2: ..." without its tag.
        std::string why = e.what();
        if (auto tag = why.find("] "); why.rfind("[json.exception.", 0) == 0 && tag != std::string::npos)
            why.erase(0, tag + 2);
        // The parser quotes what it last read, which in a file that is no UTF-8 is the bad byte.
        platform::raise(platform::kObjectError, "$: " + support::printableText(why));
    }
    const JsonAt root(doc, "$");
    try {
        if (!doc.is_object()) root.members();  // refuses with what the document is instead
        return readDescription(root);
    } catch (const platform::RuntimeError& e) {
        // A refusal may quote the file's own names and member keys.
        platform::raise(e.number(), support::printableText(e.description()));
    }
}

DescriptionFile readDescriptionFile(const std::string& path) {
    const platform::FileContents contents = platform::readFileContents(path);
    if (!contents.ok)
        platform::raise(platform::kFileNotFound, support::printableText(path) + ": " + contents.why);
    try {
        return parseDescriptionFile(contents.bytes);
    } catch (const platform::RuntimeError& e) {
        platform::raise(e.number(), support::printableText(path) + ": " + e.description());
    }
}

}  // namespace qx::frame
