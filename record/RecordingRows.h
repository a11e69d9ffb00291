#pragma once
// What a recording holds, row by row: the run's facts, the samples of the trend and the events,
// and the error a recording that cannot be written or read fails with.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace qx::record {

// The layout number a recording carries (PRAGMA user_version). Layout 1 kept a row per sample;
// layout 2 packs the samples of a commit into one block. Readers take both.
inline constexpr int kRecordingVersion = 2;
inline constexpr int kFirstRecordingVersion = 1;

// One point of the trend as the charts held it. A hole (a break of the chart's lines) has neither
// flow nor temperature.
struct Sample {
    int64_t tMs = 0;  // ms since the epoch on the frame's clock
    std::optional<double> flow, temperature, switchPoint, taughtMax, taughtMin, temperatureSwitchPoint;

    bool hole() const { return !flow && !temperature; }
    bool operator==(const Sample&) const = default;
};

// Event kinds, as the file spells them.
namespace kind {
inline constexpr const char* kConnection = "connection";
inline constexpr const char* kWrite = "write";
inline constexpr const char* kAnswer = "answer";
inline constexpr const char* kTeachState = "teach-state";
inline constexpr const char* kStatus = "status";
inline constexpr const char* kMessage = "message";
inline constexpr const char* kNote = "note";
}  // namespace kind

struct Event {
    int64_t tMs = 0;
    std::string kind;
    std::string text;                   // one line a person reads
    std::optional<std::string> detail;  // JSON, or none

    bool operator==(const Event&) const = default;
};

// The run's facts by key (started, started_ms, device_name, ...), in the order they were given.
using RunFacts = std::vector<std::pair<std::string, std::string>>;

// A recording that cannot be opened, written or read: the message names the file and the reason.
class RecordingError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace qx::record
