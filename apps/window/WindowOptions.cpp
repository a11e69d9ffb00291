#include "WindowOptions.h"

#include <map>

#include "frame/modbus/ModbusSettings.h"
#include "script/Arguments.h"

namespace qx::window {

ParsedOptions parseOptions(const std::vector<std::string>& args) {
    WindowOptions o;
    const std::map<std::string, std::string*> files = {{"--device", &o.device},
                                                       {"--connect", &o.connect},
                                                       {"--registry", &o.registry},
                                                       {"--script", &o.script},
                                                       {"--screenshot", &o.screenshot}};
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
    if (!o.connect.empty() && !frame::parseEndpoint(o.connect))
        return {std::nullopt, "--connect wants HOST:PORT (a port from 1 to 65535), not " + o.connect};
    if (!o.connect.empty() && !o.script.empty())
        return {std::nullopt,
                "--connect opens the window on a device; a script chooses its line with the line command"};
    if (o.script.empty() && (o.quit || !o.screenshot.empty() || speedGiven))
        return {std::nullopt, "--speed, --screenshot and --quit go with --script"};
    return {o, ""};
}

}  // namespace qx::window
