#pragma once
// Recording files for the viewer's tests, written the way the frame writes them (WAL, layout 1),
// and the raw rows they hold, against which the viewer's answers are checked by brute force.
#include <sqlite3.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace qx::viewer::test {

struct RawSample {
    int64_t tMs = 0;
    std::array<std::optional<double>, 5> values;  // flow, temperature, switch point, taught max, min
};

struct RawEvent {
    int64_t tMs = 0;
    std::string kind, text;
};

// 10:00:00 local time on 7 December 2026, so that clock labels are round.
inline int64_t tenOClock() {
    std::tm tm{};
    tm.tm_year = 126;
    tm.tm_mon = 11;
    tm.tm_mday = 7;
    tm.tm_hour = 10;
    tm.tm_isdst = -1;
    return static_cast<int64_t>(std::mktime(&tm)) * 1000;
}

// A teach-in of `count` samples every `stepMs` from ten o'clock: a wavy flow with a run of holes
// every so often (a lost connection), the temperature missing now and then on its own, the
// switch point and taught limits only after the teach-in a third of the way through.
inline std::vector<RawSample> teachInSamples(int count, int stepMs, unsigned seed = 7) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> noise(-5, 5);
    std::vector<RawSample> rows;
    for (int i = 0; i < count; ++i) {
        RawSample s;
        s.tMs = tenOClock() + int64_t{i} * stepMs;
        const bool hole = i % 500 >= 480;
        if (!hole) {
            s.values[0] = std::round(450 + 300 * std::sin(i / 40.0) + noise(random));
            if (i % 97 != 5) s.values[1] = 20 + i % 13 * 0.5;
        }
        if (i > count / 3) {
            s.values[2] = 420;
            s.values[3] = 760;
            s.values[4] = 120;
        }
        rows.push_back(s);
    }
    return rows;
}

class RecordingFile {
  public:
    explicit RecordingFile(const std::string& name)
        : path_((std::filesystem::temp_directory_path() /
                 ("qx-viewer-" + std::to_string(getpid()) + "-" + name))
                    .string()) {
        remove();
        check(sqlite3_open(path_.c_str(), &db_));
        exec(
            "PRAGMA journal_mode = WAL; PRAGMA user_version = 1;"
            "CREATE TABLE run(key TEXT PRIMARY KEY, value TEXT);"
            "CREATE TABLE samples(t_ms INTEGER NOT NULL, flow REAL, temperature REAL, switch_point REAL,"
            " taught_max REAL, taught_min REAL);"
            "CREATE TABLE events(t_ms INTEGER NOT NULL, kind TEXT NOT NULL, text TEXT NOT NULL, detail TEXT);"
            "INSERT INTO run VALUES ('started', '2026-12-07T10:00:00.000'), ('device_name', 'FM1'),"
            " ('flow_unit', 'cm/s'), ('temperature_unit', '°C'), ('language', 'en');");
    }
    ~RecordingFile() {
        sqlite3_close(db_);
        remove();
    }
    const std::string& path() const { return path_; }

    void add(const std::vector<RawSample>& rows) {
        exec("BEGIN");
        sqlite3_stmt* s = nullptr;
        check(sqlite3_prepare_v2(db_, "INSERT INTO samples VALUES (?, ?, ?, ?, ?, ?)", -1, &s, nullptr));
        for (const RawSample& r : rows) {
            sqlite3_bind_int64(s, 1, r.tMs);
            for (int q = 0; q < 5; ++q) {
                if (const auto& v = r.values[static_cast<size_t>(q)])
                    sqlite3_bind_double(s, q + 2, *v);
                else
                    sqlite3_bind_null(s, q + 2);
            }
            sqlite3_step(s);
            sqlite3_reset(s);
        }
        sqlite3_finalize(s);
        exec("COMMIT");
        samples_.insert(samples_.end(), rows.begin(), rows.end());
    }

    void add(const RawEvent& e) {
        sqlite3_stmt* s = nullptr;
        check(sqlite3_prepare_v2(db_, "INSERT INTO events VALUES (?, ?, ?, NULL)", -1, &s, nullptr));
        sqlite3_bind_int64(s, 1, e.tMs);
        sqlite3_bind_text(s, 2, e.kind.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(s, 3, e.text.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_step(s);
        sqlite3_finalize(s);
    }

    void exec(const std::string& sql) { check(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr)); }
    const std::vector<RawSample>& samples() const { return samples_; }

  private:
    void check(int rc) {
        if (rc != SQLITE_OK) throw std::runtime_error(path_ + ": " + sqlite3_errmsg(db_));
    }
    void remove() {
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path_ + suffix);
    }

    std::string path_;
    sqlite3* db_ = nullptr;
    std::vector<RawSample> samples_;
};

// Lowest, highest and mean of quantity q over the raw samples from `from` to `to` (inclusive).
struct BruteStatistics {
    int count = 0;
    double low = 0, high = 0, mean = 0;
};

inline BruteStatistics bruteStatistics(const std::vector<RawSample>& rows, int q, double from, double to) {
    BruteStatistics b;
    double sum = 0;
    for (const RawSample& r : rows) {
        const auto& v = r.values[static_cast<size_t>(q)];
        if (!v || static_cast<double>(r.tMs) < from || static_cast<double>(r.tMs) > to) continue;
        if (b.count == 0 || *v < b.low) b.low = *v;
        if (b.count == 0 || *v > b.high) b.high = *v;
        sum += *v;
        ++b.count;
    }
    if (b.count > 0) b.mean = sum / b.count;
    return b;
}

}  // namespace qx::viewer::test
