#pragma once
// The operator's commands of qxflow-sim, one per line on standard input or given with -c: the
// simulated device's process values and own values, and the faults of the line, in the words
// of the console's sim commands:
//   flow <n> | temp <n> | settle <ms> | set <PARAM> <text> | show <PARAM>
//   latency <ms> | fail <read|write|any> [count] | mute <on|off> | connect <ok|refuse> | abort
//   garble [count]   (the next replies on the serial line carry a broken CRC)
//   at <ms> <command>   (runs the command that many milliseconds from now)
//   quit
#include <ostream>
#include <string>

#include "frame/FlowMonitorSim.h"
#include "sim/SimServer.h"

namespace qx::sim {

class SimControl {
  public:
    SimControl(frame::FlowMonitorSim& device, SimServer& server, platform::Scheduler& clock,
               std::ostream& out)
        : device_(device), server_(server), clock_(clock), out_(out) {}

    // Runs one command line; false for quit. A wrong command prints "error: <why>" and changes
    // nothing.
    bool run(const std::string& line);

  private:
    frame::FlowMonitorSim& device_;
    SimServer& server_;
    platform::Scheduler& clock_;
    std::ostream& out_;
};

}  // namespace qx::sim
