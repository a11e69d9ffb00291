#pragma once
// The command line of qxframe.
#include <optional>
#include <string>
#include <vector>

namespace qx::window {

struct WindowOptions {
    std::string device;    // a device description file; the built-in flow monitor when empty
    std::string registry;  // a .reg file for the stand-in registry
    std::string line;    // the line's kind and arguments ("modbus 127.0.0.1:1502"); the simulator when empty
    std::string script;  // a console script to run in the window
    double speed = 1;    // virtual time at this many times the real clock
    std::string screenshot;  // a PNG of the window when the script ends
    bool quit = false;       // end after the script
};

// The options, or the reason they are wrong.
struct ParsedOptions {
    std::optional<WindowOptions> options;
    std::string error;
};

ParsedOptions parseOptions(const std::vector<std::string>& args);

inline constexpr const char* kUsage =
    "usage: qxframe [--device FILE] [--registry FILE] [--connect HOST:PORT | --line \"KIND ARGUMENTS\"] "
    "[--script FILE [--speed N] [--screenshot FILE] [--quit]]";

}  // namespace qx::window
