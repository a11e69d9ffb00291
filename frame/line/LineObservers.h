#pragma once
// What crosses a line between the frame and a device, as a front end watches it: the same for
// the simulated line and a real one, so a transcript does not depend on the line.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace qx::frame {

// One parameter of a write job as it reaches the device: its name and value text, none when the
// model's parameter held no value (the device then keeps its own).
struct WrittenValue {
    std::string name;
    std::optional<std::string> text;
};

// Observers, each told just before the view hears of it: a write job's values in job order (when
// the device acts on it), the number of parameters of a read job, a connection status, a job's
// answer status ("SUCCESS" or "FAILED").
struct LineObservers {
    std::function<void(const std::vector<WrittenValue>&)> onWrite;
    std::function<void(size_t)> onRead;
    std::function<void(const std::string&)> onConnection;
    std::function<void(const std::string&)> onJobAnswer;
};

}  // namespace qx::frame
