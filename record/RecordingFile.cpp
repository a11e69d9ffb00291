#include "record/RecordingFile.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "record/SampleBlock.h"

namespace qx::record {

namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE run(key TEXT PRIMARY KEY, value TEXT);
CREATE TABLE sample_blocks(from_t_ms INTEGER NOT NULL, to_t_ms INTEGER NOT NULL,
                           count INTEGER NOT NULL, data BLOB NOT NULL);
CREATE TABLE events(t_ms INTEGER NOT NULL, kind TEXT NOT NULL, text TEXT NOT NULL, detail TEXT);
CREATE INDEX events_t ON events(t_ms);
)sql";

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
        exec("BEGIN");
        exec(kSchema);
        exec(("PRAGMA user_version=" + std::to_string(kRecordingVersion)).c_str());
        exec("COMMIT");
        const auto prepare = [this](const char* sql, Statement& statement) {
            sqlite3_stmt* raw = nullptr;
            if (sqlite3_prepare_v2(db_, sql, -1, &raw, nullptr) != SQLITE_OK) fail();
            statement.reset(raw);
        };
        prepare("BEGIN", begin_);
        prepare("COMMIT", commit_);
        prepare("INSERT OR REPLACE INTO run(key, value) VALUES (?, ?)", fact_);
        prepare("INSERT INTO sample_blocks(from_t_ms, to_t_ms, count, data) VALUES (?, ?, ?, ?)",
                insertBlock_);
        prepare("INSERT INTO events(t_ms, kind, text, detail) VALUES (?, ?, ?, ?)", event_);
        step(begin_);
        open_ = true;
    } catch (...) {
        begin_.reset();
        commit_.reset();
        fact_.reset();
        insertBlock_.reset();
        event_.reset();
        sqlite3_close(db_);
        throw;
    }
}

RecordingWriter::~RecordingWriter() {
    if (open_ && !failed_) {
        try {
            writeBlock();
            step(commit_);
        } catch (const RecordingError&) {
            // Lost with the writer: the last commit stands.
        }
    }
    sqlite3_close_v2(db_);
}

void StatementDeleter::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

void RecordingWriter::exec(const char* sql) {
    if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) fail();
}

// The statements are ours; what went wrong is SQLite's to say.
void RecordingWriter::fail() {
    failed_ = true;
    throw RecordingError(path_ + ": " + sqlite3_errmsg(db_));
}

void RecordingWriter::refuseIfFailed() const {
    if (failed_) throw RecordingError(path_ + ": given up after an earlier failure");
}

// A step that must finish the statement; the statement is ready again afterwards, and every
// parameter is bound afresh before the next step.
void RecordingWriter::step(const Statement& statement) {
    const int rc = sqlite3_step(statement.get());
    sqlite3_reset(statement.get());
    if (rc != SQLITE_DONE) fail();
}

void RecordingWriter::setFacts(const RunFacts& facts) {
    refuseIfFailed();
    for (const auto& [key, value] : facts) {
        sqlite3_bind_text(fact_.get(), 1, key.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(fact_.get(), 2, value.c_str(), -1, SQLITE_TRANSIENT);
        step(fact_);
    }
}

void RecordingWriter::add(const Sample& s) {
    refuseIfFailed();
    block_.add(s);
}

void RecordingWriter::writeBlock() {
    if (block_.empty()) return;
    sqlite3_stmt* s = insertBlock_.get();
    sqlite3_bind_int64(s, 1, block_.from());
    sqlite3_bind_int64(s, 2, block_.to());
    sqlite3_bind_int64(s, 3, block_.count());
    sqlite3_bind_blob64(s, 4, block_.bytes().data(), block_.bytes().size(), SQLITE_STATIC);
    const int rc = sqlite3_step(s);
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);  // the statement must not point into the block once it is cleared
    // Written or not, the block goes: a writer that failed is given up on whole.
    block_.clear();
    if (rc != SQLITE_DONE) fail();
}

void RecordingWriter::add(const Event& e) {
    refuseIfFailed();
    sqlite3_stmt* s = event_.get();
    sqlite3_bind_int64(s, 1, e.tMs);
    sqlite3_bind_text(s, 2, e.kind.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(s, 3, e.text.c_str(), -1, SQLITE_TRANSIENT);
    if (e.detail)
        sqlite3_bind_text(s, 4, e.detail->c_str(), -1, SQLITE_TRANSIENT);
    else
        sqlite3_bind_null(s, 4);
    step(event_);
}

void RecordingWriter::commit() {
    refuseIfFailed();
    if (open_) {
        writeBlock();
        open_ = false;
        step(commit_);
    }
    step(begin_);
    open_ = true;
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
