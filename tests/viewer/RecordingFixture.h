#pragma once
// Recording files for the viewer's tests, written by the frame's own writer, and the raw rows they
// hold, against which the viewer's answers are checked by brute force.
#include <unistd.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "record/RecordingFile.h"

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

// A recording written by the frame's own writer, committed after every call so that a reader
// sees it at once.
class RecordingFile {
  public:
    explicit RecordingFile(const std::string& name)
        : path_((std::filesystem::temp_directory_path() /
                 ("qx-viewer-" + std::to_string(getpid()) + "-" + name))
                    .string()),
          writer_(path_) {
        writer_.setFacts({{"started", "2026-12-07T10:00:00.000"},
                          {"device_name", "FM1"},
                          {"flow_unit", "cm/s"},
                          {"temperature_unit", "°C"},
                          {"language", "en"}});
        writer_.commit();
    }
    ~RecordingFile() {
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path_ + suffix);
    }
    const std::string& path() const { return path_; }

    void add(const std::vector<RawSample>& rows) {
        for (const RawSample& r : rows)
            writer_.add(
                record::Sample{r.tMs, r.values[0], r.values[1], r.values[2], r.values[3], r.values[4], {}});
        writer_.commit();
        samples_.insert(samples_.end(), rows.begin(), rows.end());
    }

    void add(const RawEvent& e) {
        writer_.add(record::Event{e.tMs, e.kind, e.text, std::nullopt});
        writer_.commit();
    }

    const std::vector<RawSample>& samples() const { return samples_; }

  private:
    std::string path_;
    record::RecordingWriter writer_;
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
