// The commands that set the stage before the view exists: the clock, the stand-in registry, the
// simulated device's variant, and the optional output lines.
#include <cstdio>
#include <filesystem>
#include <map>

#include "frame/DeviceDescriptionFile.h"
#include "platform/Registry.h"
#include "platform/RuntimeError.h"
#include "script/Arguments.h"
#include "script/Console.h"
#include "script/RegistryReport.h"
#include "support/PrintableText.h"
#include "view/QX_FlowWiz.h"

namespace qx::console {

void Console::cmdClock(const Command& c) {
    if (created_) fail(c, "clock after create");
    int h = 0, m = 0, s = 0;
    char extra = 0;
    const std::string& t = c.words[1].text;
    if (t.size() != 8 || std::sscanf(t.c_str(), "%2d:%2d:%2d%c", &h, &m, &s, &extra) != 3 || h > 23 ||
        m > 59 || s > 59 || h < 0 || m < 0 || s < 0)
        fail(c, "clock wants HH:MM:SS, not " + t);
    frame_.setClock((h * 3600 + m * 60 + s) * int64_t{1000});
}

void Console::cmdRegistry(const Command& c) {
    if (created_) fail(c, "registry after create");
    auto& store = platform::registryStore();
    const Word& name = c.words[1];
    const Word& value = c.words[2];
    if (name.text == "file" && !name.quoted) {
        std::filesystem::path path(value.text);
        if (path.is_relative()) path = std::filesystem::path(scriptFolder_) / path;
        const auto loaded = store.loadFile(path.string());
        const std::string why = support::printableText(loaded.why);
        switch (loaded.result) {
            case platform::RegistryStore::LoadResult::Loaded:
                for (const std::string& line : registryReport(value.text, loaded.edits)) emit(line);
                return;
            case platform::RegistryStore::LoadResult::Missing:
                fail(c, path.string() + ": " + why);
            case platform::RegistryStore::LoadResult::Malformed:
                // "<file>, line 4: <why>", or "<file>: <why>" for a fault of the whole file.
                fail(c, path.string() + (why.rfind("line ", 0) == 0 ? ", " : ": ") + why);
        }
        return;
    }
    const auto key = viewRegistryKey(name.text);
    if (!key) fail(c, "no registry value " + name.text + " (Debug, DebugFile, CombineModels, PollCycle)");
    if (!value.quoted && value.text.rfind("dword:", 0) == 0) {
        const int64_t n = wholeArgument(value.text.substr(6), kRegistryDword, c.line);
        store.setDword(*key, name.text, static_cast<uint32_t>(n));
        return;
    }
    if (!value.quoted) fail(c, "a registry value is dword:<decimal> or a quoted text, not " + value.text);
    store.setText(*key, name.text, value.text);
}

namespace {

// One device option: false when the value is not one of the option's.
using OptionSetter = bool (*)(frame::DeviceOptions&, const std::string&);

bool presence(frame::Presence& out, const std::string& v) {
    if (v == "valid")
        out = frame::Presence::Valid;
    else if (v == "novalue")
        out = frame::Presence::NoValue;
    else if (v == "missing")
        out = frame::Presence::Missing;
    else
        return false;
    return true;
}

const std::map<std::string, OptionSetter>& deviceOptions() {
    using O = frame::DeviceOptions;
    static const std::map<std::string, OptionSetter> table = {
        {"category",
         [](O& o, const std::string& v) {
             if (v == "match")
                 o.category = O::Category::Match;
             else if (v == "other")
                 o.category = O::Category::Other;
             else if (v == "none")
                 o.category = O::Category::None;
             else
                 return false;
             return true;
         }},
        {"quickmode", [](O& o, const std::string& v) { return presence(o.quickMode, v); }},
        {"swpoint", [](O& o, const std::string& v) { return presence(o.swPoint, v); }},
        {"flowsp", [](O& o, const std::string& v) { return presence(o.flowSp, v); }},
        {"flowspqt", [](O& o, const std::string& v) { return presence(o.flowSpQt, v); }},
        {"teach",
         [](O& o, const std::string& v) {
             auto on = switchWord(v, "present", "missing");
             if (on) o.teachPresent = *on;
             return on.has_value();
         }},
        {"lang",
         [](O& o, const std::string& v) {
             for (int32_t language : {0, 1033, 1031}) {
                 if (v == std::to_string(language)) {
                     o.language = language;
                     return true;
                 }
             }
             return false;
         }},
        {"database",
         [](O& o, const std::string& v) {
             auto on = switchWord(v, "present", "missing");
             if (on) o.databasePresent = *on;
             return on.has_value();
         }},
        {"comm",
         [](O& o, const std::string& v) {
             auto fails = switchWord(v, "fail", "ok");
             if (fails) o.commFails = *fails;
             return fails.has_value();
         }},
    };
    return table;
}

// The options that take any number of their range.
const std::map<std::string, std::pair<int32_t frame::DeviceOptions::*, const ArgumentRange*>>&
numericOptions() {
    using O = frame::DeviceOptions;
    static const std::map<std::string, std::pair<int32_t O::*, const ArgumentRange*>> table = {
        {"fw", {&O::fw, &kDeviceFw}},
        {"state", {&O::state, &kDeviceState}},
        {"localcomm", {&O::localComm, &kDeviceLocalComm}},
    };
    return table;
}

}  // namespace

std::string Console::descriptionFile(const Command& c, const std::string& name) {
    if (name.empty()) fail(c, "device file= wants the path of a device description");
    std::filesystem::path path(name);
    if (path.is_relative()) path = std::filesystem::path(scriptFolder_) / path;
    // Checked whole now, so that a description that does not validate stops the script here and
    // not at the first init.
    try {
        frame::readDescriptionFile(path.string());
    } catch (const platform::RuntimeError& e) {
        fail(c, e.description());
    }
    return path.string();
}

void Console::cmdDevice(const Command& c) {
    if (frame_.initialised()) fail(c, "device after init");
    frame::DeviceOptions options = frame_.options();
    for (size_t i = 1; i < c.words.size(); ++i) {
        const std::string& w = c.words[i].text;
        auto eq = w.find('=');
        if (eq == std::string::npos) fail(c, "a device option is <option>=<value>, not " + w);
        const std::string name = w.substr(0, eq), value = w.substr(eq + 1);
        if (name == "file") {
            options.descriptionPath = descriptionFile(c, value);
            continue;
        }
        if (auto numeric = numericOptions().find(name); numeric != numericOptions().end()) {
            const auto [member, range] = numeric->second;
            options.*member = static_cast<int32_t>(wholeArgument(value, *range, c.line));
            continue;
        }
        auto option = deviceOptions().find(name);
        if (option == deviceOptions().end()) fail(c, "no device option " + name);
        if (!option->second(options, value)) fail(c, "no value " + value + " for " + option->first);
    }
    frame_.setOptions(options);
}

void Console::cmdTrace(const Command& c) {
    auto on = switchWord(c.words[2].text);
    if (!on) fail(c, "trace wants on or off, not " + c.words[2].text);
    const std::string& what = c.words[1].text;
    if (what == "debug")
        traceDebug_ = *on;
    else if (what == "reads")
        traceReads_ = *on;
    else if (what == "state")
        traceState_ = *on;
    else
        fail(c, "trace debug, reads or state, not " + what);
    // Turning state tracing on reports changes from now on, not one made while it was off.
    if (what == "state" && frame_.hasView())
        lastState_ = wizard::number(frame_.view().progress().mTeachState);
}

}  // namespace qx::console
