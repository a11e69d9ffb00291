#pragma once
// A recording on disk: one SQLite file per run, in write-ahead-log mode, laid out as
// docs/recording.md describes (the run's facts, the samples the trend charts held, the events).
// The writer keeps one transaction open and commits when told, so that a run that dies (kill -9,
// power) leaves a file that opens and holds every row up to the last commit.
//
// Nothing here knows the view or a toolkit: a reader of recordings (a viewer, a test, a script)
// needs SQLite only.
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace qx::record {

// The layout number a recording carries (PRAGMA user_version).
inline constexpr int kRecordingVersion = 1;

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

class RecordingWriter {
  public:
    // Creates the file afresh (an older file of that name, with its log, is replaced). Fails with
    // RecordingError when the file cannot be made (a folder in its place, a missing folder, no
    // room).
    explicit RecordingWriter(const std::string& path);
    // Commits what is pending; a failure then is lost with the writer.
    ~RecordingWriter();
    RecordingWriter(const RecordingWriter&) = delete;
    RecordingWriter& operator=(const RecordingWriter&) = delete;

    const std::string& path() const { return path_; }
    // The rows wait in the open transaction until commit(). Each fails with RecordingError.
    void setFacts(const RunFacts& facts);
    void add(const Sample& sample);
    void add(const Event& event);
    // Makes everything added so far durable against a crash of the process.
    void commit();

  private:
    void exec(const char* sql);
    [[noreturn]] void fail(const std::string& what) const;

    std::string path_;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* fact_ = nullptr;
    sqlite3_stmt* sample_ = nullptr;
    sqlite3_stmt* event_ = nullptr;
    bool open_ = false;  // a transaction is open
};

// A whole recording read back, rows in time order (equal times in the order written).
struct Recording {
    int version = 0;
    std::map<std::string, std::string> facts;
    std::vector<Sample> samples;
    std::vector<Event> events;

    std::string fact(const std::string& key) const {
        auto it = facts.find(key);
        return it == facts.end() ? std::string() : it->second;
    }
};

// Fails with RecordingError when the file is no recording or cannot be read.
Recording readRecording(const std::string& path);

// "2026-12-07T10:00:00.250" for a time on the frame's clock (which counts local wall time).
std::string isoDateTime(int64_t tMs);

}  // namespace qx::record
