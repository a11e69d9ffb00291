#include "WindowOptions.h"

#include <map>

#include "script/Arguments.h"
#include "script/Lines.h"

namespace qx::window {

namespace {

// --connect HOST:PORT is the Modbus TCP line's shorthand.
constexpr const char* kConnectKind = "modbus";

// The words of a line as a script writes them after `line`; the reason when they are no line.
std::optional<std::string> lineFault(const std::string& line) {
    std::optional<console::ScriptError> malformed;
    std::vector<std::string> words;
    for (const auto& word : console::splitWords(line, 0, malformed)) words.push_back(word.text);
    if (malformed) return malformed->why;
    try {
        console::lineKinds().parse(words);
    } catch (const frame::LineError& e) {
        return e.what();
    }
    return std::nullopt;
}

}  // namespace

ParsedOptions parseOptions(const std::vector<std::string>& args) {
    WindowOptions o;
    std::string connect;
    const std::map<std::string, std::string*> files = {
        {"--device", &o.device},     {"--connect", &connect}, {"--line", &o.line},
        {"--registry", &o.registry}, {"--script", &o.script}, {"--screenshot", &o.screenshot}};
    bool speedGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--quit") {
            o.quit = true;
            continue;
        }
        const bool takesValue = files.contains(a) || a == "--speed";
        if (!takesValue) return {std::nullopt, "unknown option " + a};
        if (i + 1 == args.size()) return {std::nullopt, a + " wants a value"};
        const std::string& value = args[++i];
        if (a == "--speed") {
            speedGiven = true;
            const auto speed = console::anyNumber(value);  // read as a script writes numbers
            if (!speed || !(*speed > 0))
                return {std::nullopt, "--speed wants a number greater than 0, not " + value};
            o.speed = *speed;
        } else {
            *files.at(a) = value;
        }
    }
    if (!connect.empty() && !o.line.empty())
        return {std::nullopt, "--connect and --line both choose the line"};
    if (!connect.empty()) {
        o.line = std::string(kConnectKind) + " " + connect;
        if (connect.find_first_of(" \t\"") != std::string::npos || lineFault(o.line))
            return {std::nullopt, "--connect wants HOST:PORT (a port from 1 to 65535), not " + connect};
    } else if (!o.line.empty()) {
        if (auto fault = lineFault(o.line)) return {std::nullopt, "--line: " + *fault};
    }
    if (!o.line.empty() && !o.script.empty())
        return {std::nullopt,
                std::string(connect.empty() ? "--line" : "--connect") +
                    " opens the window on a device; a script chooses its line with the line command"};
    if (o.script.empty() && (o.quit || !o.screenshot.empty() || speedGiven))
        return {std::nullopt, "--speed, --screenshot and --quit go with --script"};
    return {o, ""};
}

}  // namespace qx::window
