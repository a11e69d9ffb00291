#include "record/RecordingReader.h"

#include <sqlite3.h>

#include <filesystem>
#include <iterator>
#include <optional>
#include <system_error>

#include "record/SampleBlock.h"

namespace qx::record {

namespace {

std::string columnText(sqlite3_stmt* s, int column) {
    const auto* text = sqlite3_column_text(s, column);
    return text ? std::string(reinterpret_cast<const char*>(text)) : std::string();
}

std::optional<double> columnOptional(sqlite3_stmt* s, int column) {
    if (sqlite3_column_type(s, column) == SQLITE_NULL) return std::nullopt;
    return sqlite3_column_double(s, column);
}

}  // namespace

// Closed with sqlite3_close_v2: a refusal may close while a statement is still alive, and the
// connection must go once it is finalised rather than stay open for good.
RecordingReader::RecordingReader(const std::string& path) : path_(path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) throw RecordingError(path + ": no such recording");
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        const std::string reason = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw RecordingError(path + ": " + reason);
    }
    // The writer holds its lock for the length of a commit only; waiting that long beats failing.
    sqlite3_busy_timeout(db_, 500);
    sqlite3_stmt* raw = nullptr;
    version_ = -1;
    if (sqlite3_prepare_v2(db_, "PRAGMA user_version", -1, &raw, nullptr) == SQLITE_OK) {
        Statement s(raw);
        if (sqlite3_step(raw) == SQLITE_ROW) version_ = sqlite3_column_int(raw, 0);
    }
    std::string refusal;
    if (version_ < 0)
        refusal = sqlite3_errmsg(db_);
    else if (version_ < kFirstRecordingVersion || version_ > kRecordingVersion)
        refusal = "not a recording of layout " + std::to_string(kFirstRecordingVersion) + " to " +
                  std::to_string(kRecordingVersion) + " (the file has layout " + std::to_string(version_) +
                  ")";
    if (!refusal.empty()) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw RecordingError(path + ": " + refusal);
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
    // One read transaction, so that facts, samples and events come from the same commit.
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
    // What this read finds is kept apart until all of it has been read: a read that fails (a
    // damaged block) leaves the recording and the reader as they were, for a later read to retry.
    Recording found;
    Statement run = prepare("SELECT key, value FROM run");
    int rc;
    while ((rc = sqlite3_step(run.get())) == SQLITE_ROW)
        found.facts[columnText(run.get(), 0)] = columnText(run.get(), 1);
    check(rc, "run");

    const int64_t lastSamples = readSamples(found.samples);

    Statement events =
        prepare("SELECT rowid, t_ms, kind, text, detail FROM events WHERE rowid > ? ORDER BY rowid");
    sqlite3_bind_int64(events.get(), 1, lastEvent_);
    int64_t lastEvent = lastEvent_;
    while ((rc = sqlite3_step(events.get())) == SQLITE_ROW) {
        Event e{sqlite3_column_int64(events.get(), 1), columnText(events.get(), 2),
                columnText(events.get(), 3), std::nullopt};
        if (sqlite3_column_type(events.get(), 4) != SQLITE_NULL) e.detail = columnText(events.get(), 4);
        found.events.push_back(std::move(e));
        lastEvent = sqlite3_column_int64(events.get(), 0);
    }
    check(rc, "events");

    lastSamples_ = lastSamples;
    lastEvent_ = lastEvent;
    recording.version = version_;
    recording.facts = std::move(found.facts);
    recording.samples.insert(recording.samples.end(), found.samples.begin(), found.samples.end());
    recording.events.insert(recording.events.end(), std::make_move_iterator(found.events.begin()),
                            std::make_move_iterator(found.events.end()));
    return !found.samples.empty() || !found.events.empty();
}

int64_t RecordingReader::readSamples(std::vector<Sample>& into) const {
    const char* sql = version_ == 1
                          ? "SELECT rowid, t_ms, flow, temperature, switch_point, taught_max, taught_min,"
                            " temperature_switch_point FROM samples WHERE rowid > ? ORDER BY rowid"
                          : "SELECT rowid, count, data FROM sample_blocks WHERE rowid > ? ORDER BY rowid";
    sqlite3_stmt* raw = nullptr;
    check(sqlite3_prepare_v2(db_, sql, -1, &raw, nullptr), sql);
    Statement s(raw);
    sqlite3_bind_int64(raw, 1, lastSamples_);
    int64_t last = lastSamples_;
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        if (version_ == 1) {
            into.push_back({sqlite3_column_int64(raw, 1), columnOptional(raw, 2), columnOptional(raw, 3),
                            columnOptional(raw, 4), columnOptional(raw, 5), columnOptional(raw, 6),
                            columnOptional(raw, 7)});
        } else {
            const size_t before = into.size();
            const auto* data = static_cast<const unsigned char*>(sqlite3_column_blob(raw, 2));
            try {
                unpackSamples(data, static_cast<size_t>(sqlite3_column_bytes(raw, 2)), into);
            } catch (const RecordingError& e) {
                throw RecordingError(path_ + ": " + e.what());
            }
            if (static_cast<int64_t>(into.size() - before) != sqlite3_column_int64(raw, 1))
                throw RecordingError(path_ + ": a block of samples holds another count than it says");
        }
        last = sqlite3_column_int64(raw, 0);
    }
    check(rc, "samples");
    return last;
}

Recording readRecording(const std::string& path) {
    RecordingReader reader(path);
    Recording recording;
    reader.readNew(recording);
    return recording;
}

}  // namespace qx::record
