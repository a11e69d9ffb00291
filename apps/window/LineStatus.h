#pragma once
// What the status bar says of the line to the device: which line it is, whether it is connected,
// and a lost line with the time it was lost and the status that told it. A loss stays on show
// until the next connection, so a person who looks away does not miss it.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qx::window {

class LineStatus {
  public:
    // `line` names the line ("simulator", "127.0.0.1:1502").
    explicit LineStatus(std::string line) : line_(std::move(line)) {}

    // A connection status the communication object reported at `timeOfDay` (seconds since
    // midnight).
    void connection(const std::string& status, int32_t timeOfDay);
    // A job's answer status at `timeOfDay`.
    void jobAnswer(const std::string& status, int32_t timeOfDay);

    bool lost() const { return lost_.has_value(); }
    std::string text() const;

  private:
    struct Loss {
        int32_t timeOfDay;
        std::string status;
    };
    std::string line_;
    bool connected_ = false;
    std::optional<Loss> lost_;
};

// The rows the line's dialog shows for a `show line` report ("modbus 127.0.0.1:1502 requests=3
// ..."): the kind, the address, then each counter by its name, in the report's order.
std::vector<std::pair<std::string, std::string>> diagnosticsRows(const std::string& report);

}  // namespace qx::window
