#include "viewer/RecordingReader.h"

#include <sqlite3.h>

#include <cmath>
#include <limits>
#include <map>
#include <memory>

namespace qx::viewer {

namespace {

struct StatementDeleter {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

std::string columnText(sqlite3_stmt* s, int column) {
    const auto* text = sqlite3_column_text(s, column);
    return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

double columnValue(sqlite3_stmt* s, int column) {
    return sqlite3_column_type(s, column) == SQLITE_NULL ? std::numeric_limits<double>::quiet_NaN()
                                                         : sqlite3_column_double(s, column);
}

}  // namespace

// Closed with sqlite3_close_v2: a refusal may close while a statement is still alive, and the
// connection must go once it is finalised rather than stay open for good.
RecordingReader::RecordingReader(const std::string& path) : path_(path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        const std::string reason = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw RecordingError(path + ": " + reason);
    }
    // The writer holds its lock for the length of a commit only; waiting that long beats failing.
    sqlite3_busy_timeout(db_, 500);
    Statement s;
    sqlite3_stmt* raw = nullptr;
    int version = -1;
    if (sqlite3_prepare_v2(db_, "PRAGMA user_version", -1, &raw, nullptr) == SQLITE_OK) {
        s.reset(raw);
        if (sqlite3_step(raw) == SQLITE_ROW) version = sqlite3_column_int(raw, 0);
    }
    if (version < 0) {
        const std::string reason = sqlite3_errmsg(db_);
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw RecordingError(path + ": " + reason);
    }
    if (version != kRecordingLayout) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw RecordingError(path + ": not a recording of layout " + std::to_string(kRecordingLayout) +
                             " (the file has layout " + std::to_string(version) + ")");
    }
}

RecordingReader::~RecordingReader() {
    sqlite3_close_v2(db_);
}

void RecordingReader::check(int code, const char* what) const {
    if (code != SQLITE_OK && code != SQLITE_DONE && code != SQLITE_ROW)
        throw RecordingError(path_ + ": " + what + ": " + sqlite3_errmsg(db_));
}

bool RecordingReader::readNew(Recording& recording) {
    // One read transaction, so that samples and events come from the same commit.
    check(sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr), "begin");
    struct End {
        sqlite3* db;
        ~End() { sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr); }
    } end{db_};
    const auto prepare = [this](const char* sql) {
        sqlite3_stmt* raw = nullptr;
        check(sqlite3_prepare_v2(db_, sql, -1, &raw, nullptr), sql);
        return Statement(raw);
    };
    bool any = false;
    if (!runRead_) {
        Statement run = prepare("SELECT key, value FROM run");
        std::map<std::string, std::string> facts;
        int rc;
        while ((rc = sqlite3_step(run.get())) == SQLITE_ROW)
            facts[columnText(run.get(), 0)] = columnText(run.get(), 1);
        check(rc, "run");
        // The writer may not have written the run yet when the file is brand new.
        runRead_ = !facts.empty();
        any = runRead_;
        recording.setRun(std::move(facts));
    }
    Statement samples = prepare(
        "SELECT rowid, t_ms, flow, temperature, switch_point, taught_max, taught_min FROM samples WHERE "
        "rowid > ? "
        "ORDER BY rowid");
    sqlite3_bind_int64(samples.get(), 1, lastSample_);
    int rc;
    while ((rc = sqlite3_step(samples.get())) == SQLITE_ROW) {
        SampleRow row;
        row.tMs = sqlite3_column_int64(samples.get(), 1);
        for (int q = 0; q < kQuantityCount; ++q)
            row.values[static_cast<size_t>(q)] = columnValue(samples.get(), 2 + q);
        recording.append(row);
        lastSample_ = sqlite3_column_int64(samples.get(), 0);
        any = true;
    }
    check(rc, "samples");
    Statement events =
        prepare("SELECT rowid, t_ms, kind, text, detail FROM events WHERE rowid > ? ORDER BY rowid");
    sqlite3_bind_int64(events.get(), 1, lastEvent_);
    while ((rc = sqlite3_step(events.get())) == SQLITE_ROW) {
        recording.appendEvent({sqlite3_column_int64(events.get(), 1), columnText(events.get(), 2),
                               columnText(events.get(), 3), columnText(events.get(), 4)});
        lastEvent_ = sqlite3_column_int64(events.get(), 0);
        any = true;
    }
    check(rc, "events");
    recording.settle();
    return any;
}

Recording readRecording(const std::string& path) {
    RecordingReader reader(path);
    Recording recording;
    reader.readNew(recording);
    return recording;
}

}  // namespace qx::viewer
