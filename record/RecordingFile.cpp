#include "record/RecordingFile.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace qx::record {

namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE run(key TEXT PRIMARY KEY, value TEXT);
CREATE TABLE samples(t_ms INTEGER NOT NULL, flow REAL, temperature REAL, switch_point REAL,
                     taught_max REAL, taught_min REAL, temperature_switch_point REAL);
CREATE INDEX samples_t ON samples(t_ms);
CREATE TABLE events(t_ms INTEGER NOT NULL, kind TEXT NOT NULL, text TEXT NOT NULL, detail TEXT);
CREATE INDEX events_t ON events(t_ms);
)sql";

void bindOptional(sqlite3_stmt* s, int column, const std::optional<double>& v) {
    if (v)
        sqlite3_bind_double(s, column, *v);
    else
        sqlite3_bind_null(s, column);
}

std::optional<double> columnOptional(sqlite3_stmt* s, int column) {
    if (sqlite3_column_type(s, column) == SQLITE_NULL) return std::nullopt;
    return sqlite3_column_double(s, column);
}

std::string columnText(sqlite3_stmt* s, int column) {
    const auto* text = sqlite3_column_text(s, column);
    return text ? reinterpret_cast<const char*>(text) : std::string();
}

// A step that must finish the statement; the statement is ready again afterwards.
bool stepDone(sqlite3_stmt* s) {
    const int rc = sqlite3_step(s);
    sqlite3_reset(s);  // every parameter is bound afresh before the next step
    return rc == SQLITE_DONE;
}

}  // namespace

RecordingWriter::RecordingWriter(const std::string& path) : path_(path) {
    // A file of that name from an earlier run goes, with its log: the recording is this run's alone.
    // Anything else in its place (a folder) stays, and opening fails below.
    std::error_code ec;
    for (const char* suffix : {"", "-wal", "-shm"}) {
        const std::filesystem::path p = path + suffix;
        if (std::filesystem::is_regular_file(p, ec)) std::filesystem::remove(p, ec);
    }
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw RecordingError(path + ": " + why);
    }
    try {
        // NORMAL is durable against a crash of the process in WAL mode; only a power cut may lose
        // the last commits, never the file.
        exec("PRAGMA journal_mode=WAL");
        exec("PRAGMA synchronous=NORMAL");
        // Fewer, larger checkpoints: each costs a sync of the file.
        exec("PRAGMA wal_autocheckpoint=8192");
        exec("BEGIN");
        exec(kSchema);
        exec(("PRAGMA user_version=" + std::to_string(kRecordingVersion)).c_str());
        exec("COMMIT");
        auto prepare = [this](const char* sql, sqlite3_stmt** s) {
            if (sqlite3_prepare_v2(db_, sql, -1, s, nullptr) != SQLITE_OK) fail("prepare");
        };
        prepare("INSERT OR REPLACE INTO run(key, value) VALUES (?, ?)", &fact_);
        prepare(
            "INSERT INTO samples(t_ms, flow, temperature, switch_point, taught_max, taught_min,"
            " temperature_switch_point) VALUES (?, ?, ?, ?, ?, ?, ?)",
            &sample_);
        prepare("INSERT INTO events(t_ms, kind, text, detail) VALUES (?, ?, ?, ?)", &event_);
        exec("BEGIN");
        open_ = true;
    } catch (...) {
        sqlite3_finalize(fact_);
        sqlite3_finalize(sample_);
        sqlite3_finalize(event_);
        sqlite3_close(db_);
        throw;
    }
}

RecordingWriter::~RecordingWriter() {
    if (open_) sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_finalize(fact_);
    sqlite3_finalize(sample_);
    sqlite3_finalize(event_);
    sqlite3_close(db_);
}

void RecordingWriter::exec(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) fail(sql);
}

void RecordingWriter::fail(const std::string& what) const {
    (void)what;  // the statement is ours; the reason is SQLite's
    throw RecordingError(path_ + ": " + sqlite3_errmsg(db_));
}

void RecordingWriter::setFacts(const RunFacts& facts) {
    for (const auto& [key, value] : facts) {
        sqlite3_bind_text(fact_, 1, key.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(fact_, 2, value.c_str(), -1, SQLITE_TRANSIENT);
        if (!stepDone(fact_)) fail("run");
    }
}

void RecordingWriter::add(const Sample& s) {
    sqlite3_bind_int64(sample_, 1, s.tMs);
    bindOptional(sample_, 2, s.flow);
    bindOptional(sample_, 3, s.temperature);
    bindOptional(sample_, 4, s.switchPoint);
    bindOptional(sample_, 5, s.taughtMax);
    bindOptional(sample_, 6, s.taughtMin);
    bindOptional(sample_, 7, s.temperatureSwitchPoint);
    if (!stepDone(sample_)) fail("sample");
}

void RecordingWriter::add(const Event& e) {
    sqlite3_bind_int64(event_, 1, e.tMs);
    sqlite3_bind_text(event_, 2, e.kind.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(event_, 3, e.text.c_str(), -1, SQLITE_TRANSIENT);
    if (e.detail)
        sqlite3_bind_text(event_, 4, e.detail->c_str(), -1, SQLITE_TRANSIENT);
    else
        sqlite3_bind_null(event_, 4);
    if (!stepDone(event_)) fail("event");
}

void RecordingWriter::commit() {
    if (open_) {
        open_ = false;
        exec("COMMIT");
    }
    exec("BEGIN");
    open_ = true;
}

Recording readRecording(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) throw RecordingError(path + ": no such recording");
    sqlite3* db = nullptr;
    // Read-write so that SQLite can take a log a crashed writer left into account.
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const std::string why = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        throw RecordingError(path + ": " + why);
    }
    Recording r;
    auto query = [&](const char* sql, auto&& row) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) {
            const std::string why = sqlite3_errmsg(db);
            sqlite3_close(db);
            throw RecordingError(path + ": " + why);
        }
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW) row(s);
        sqlite3_finalize(s);
        if (rc != SQLITE_DONE) {
            const std::string why = sqlite3_errmsg(db);
            sqlite3_close(db);
            throw RecordingError(path + ": " + why);
        }
    };
    query("PRAGMA user_version", [&](sqlite3_stmt* s) { r.version = sqlite3_column_int(s, 0); });
    query("SELECT key, value FROM run",
          [&](sqlite3_stmt* s) { r.facts[columnText(s, 0)] = columnText(s, 1); });
    query(
        "SELECT t_ms, flow, temperature, switch_point, taught_max, taught_min, temperature_switch_point"
        " FROM samples ORDER BY t_ms, rowid",
        [&](sqlite3_stmt* s) {
            r.samples.push_back({sqlite3_column_int64(s, 0), columnOptional(s, 1), columnOptional(s, 2),
                                 columnOptional(s, 3), columnOptional(s, 4), columnOptional(s, 5),
                                 columnOptional(s, 6)});
        });
    query("SELECT t_ms, kind, text, detail FROM events ORDER BY t_ms, rowid", [&](sqlite3_stmt* s) {
        Event e{sqlite3_column_int64(s, 0), columnText(s, 1), columnText(s, 2), std::nullopt};
        if (sqlite3_column_type(s, 3) != SQLITE_NULL) e.detail = columnText(s, 3);
        r.events.push_back(std::move(e));
    });
    sqlite3_close(db);
    if (r.version != kRecordingVersion)
        throw RecordingError(path + ": not a recording of layout " + std::to_string(kRecordingVersion));
    return r;
}

std::string isoDateTime(int64_t tMs) {
    using namespace std::chrono;
    const sys_time<milliseconds> t{milliseconds(tMs)};
    const auto day = floor<days>(t);
    const year_month_day ymd{day};
    const hh_mm_ss<milliseconds> time{t - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03d", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()), static_cast<int>(time.subseconds().count()));
    return text;
}

}  // namespace qx::record
