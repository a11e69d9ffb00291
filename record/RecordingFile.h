#pragma once
// A recording on disk: one SQLite file per run, in write-ahead-log mode, laid out as
// docs/recording.md describes (the run's facts, the samples the trend charts held, the events).
// The writer keeps one transaction open and commits when told, so that a run that dies (kill -9,
// power) leaves a file that opens and holds every row up to the last commit. Samples wait in
// memory until then and go in as one packed block (record/SampleBlock.h).
//
// Nothing here knows the view or a toolkit: a reader of recordings (record/RecordingReader.h: a
// viewer, a test, a script) needs SQLite only.
#include <cstdint>
#include <memory>
#include <string>

#include "record/RecordingRows.h"
#include "record/SampleBlock.h"

struct sqlite3;
struct sqlite3_stmt;

namespace qx::record {

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const;
};
// A prepared statement, finalised when it goes.
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

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
    // The rows wait until commit(), facts and events in the open transaction, samples in the
    // block being packed. Each fails with RecordingError.
    void setFacts(const RunFacts& facts);
    void add(const Sample& sample);
    void add(const Event& event);
    // Makes everything added so far durable against a crash of the process. After any call has
    // failed, every later one fails too: what the failed call held is lost, and a later commit
    // must not seem to have kept it.
    void commit();

  private:
    void exec(const char* sql);
    void step(const Statement& statement);
    void writeBlock();
    [[noreturn]] void fail();
    void refuseIfFailed() const;

    std::string path_;
    sqlite3* db_ = nullptr;  // closed once its statements are finalised
    // Prepared once: a commit a second, and a row for each event, should not parse SQL each time.
    Statement begin_, commit_, fact_, insertBlock_, event_;
    bool open_ = false;    // a transaction is open
    bool failed_ = false;  // a call failed: the file is given up
    SampleBlock block_;    // the samples since the last commit
};

// "2026-12-07T10:00:00.250" for a time on the frame's clock (which counts local wall time).
std::string isoDateTime(int64_t tMs);

}  // namespace qx::record
