#pragma once
// The kinds of line a front end may choose, by name: each says how its arguments are written,
// reads them, and makes the line. A new transport is one more kind; no front end names one.
#include <cstddef>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "frame/line/Line.h"
#include "frame/line/LineObservers.h"
#include "platform/Scheduler.h"

namespace qx::frame {

class FlowMonitorSim;

// Why a line cannot be chosen or made, as a sentence for the person who asked for it.
class LineError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// What a line gets from the frame that hosts it; the frame outlives its lines.
struct LineContext {
    platform::Scheduler& scheduler;             // the UI thread's
    std::shared_ptr<FlowMonitorSim> simulator;  // the frame's simulated flow monitor
    // What the front end watches on the line, set once on the frame's simulated link whatever the
    // line: the simulated line reads them as they are at each event, a real line as they were when
    // it makes its device object.
    const LineObservers& observers;
};

// Makes the line once the frame has what a line needs; LineError when it cannot.
using MakeLine = std::function<std::unique_ptr<Line>(const LineContext& context)>;

struct LineKind {
    std::string name;     // the word that chooses it
    std::string syntax;   // its arguments as a person writes them ("<host>:<port> ...")
    std::string summary;  // what it is, in a few words
    size_t minArguments = 0, maxArguments = 0;
    // Reads the arguments that follow the name; LineError naming what is wrong.
    std::function<MakeLine(const std::vector<std::string>& arguments)> parse;
};

class LineKinds {
  public:
    explicit LineKinds(std::vector<LineKind> kinds) : kinds_(std::move(kinds)) {}

    // The kind by name; LineError naming the kinds there are.
    const LineKind& find(const std::string& name) const;
    // Reads a kind's name and its arguments; LineError for an unknown kind, a wrong number of
    // arguments, or what the kind refuses.
    MakeLine parse(const std::vector<std::string>& words) const;
    const std::vector<LineKind>& all() const { return kinds_; }

  private:
    std::vector<LineKind> kinds_;
};

}  // namespace qx::frame
