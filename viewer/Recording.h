#pragma once
// A recording held for viewing: the run's facts, the samples in time order and the events. Every
// quantity keeps a pyramid of summaries over blocks of samples, so that the lowest, highest and
// mean value of any stretch, and what a pixel column of a chart shows, cost a few dozen steps
// whatever the stretch holds; a paint of a million samples reads no more than a paint of a
// minute. Samples only ever come at the end (a recording grows while its run goes on).
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "trend/ChartDecimation.h"

namespace qx::viewer {

enum class Quantity { Flow, Temperature, SwitchPoint, TaughtMax, TaughtMin };
inline constexpr int kQuantityCount = 5;

// One row of the recording's samples; NaN where the row holds no value.
struct SampleRow {
    int64_t tMs = 0;
    std::array<double, kQuantityCount> values{};
};

struct RecordedEvent {
    int64_t tMs = 0;
    std::string kind;  // connection, write, answer, teach-state, status, message, note
    std::string text;
    std::string detail;
};

// The valid samples of one quantity in a stretch: how many, their sum, the lowest and highest
// with where they lie (the earliest on a tie), and the first and last of them. Indexes count
// samples from 0; -1 where the stretch holds no valid sample.
struct Stretch {
    int32_t count = 0;
    double sum = 0;
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    int32_t lowAt = -1, highAt = -1, firstAt = -1, lastAt = -1;

    bool empty() const { return count == 0; }
    double mean() const { return count > 0 ? sum / count : std::numeric_limits<double>::quiet_NaN(); }
    void add(int32_t at, double value);
    // `later` covers samples after every sample of this stretch.
    void merge(const Stretch& later);
};

class Recording {
  public:
    // The run's facts by key (started, device_name, flow_unit, ...); empty text when missing.
    std::string run(const std::string& key) const;
    void setRun(std::map<std::string, std::string> run) { run_ = std::move(run); }

    // A sample earlier than the last one is taken at the last one's time: the time axis must not
    // run backwards (a clock set back while recording), or no search over it would hold.
    void append(const SampleRow& row);
    void appendEvent(RecordedEvent event);
    // Brings the summaries up to the samples appended since the last call.
    void settle();

    int32_t sampleCount() const { return static_cast<int32_t>(times_.size()); }
    int64_t time(int32_t i) const { return times_[static_cast<size_t>(i)]; }
    // NaN where sample i holds no value of q.
    double value(Quantity q, int32_t i) const { return values_[index(q)][static_cast<size_t>(i)]; }
    // A lost connection or a break of the chart: the row holds neither flow nor temperature.
    bool isHole(int32_t i) const;
    const std::vector<RecordedEvent>& events() const { return events_; }

    // The time from the first to the last sample or event; nullopt for an empty recording.
    std::optional<std::pair<int64_t, int64_t>> span() const;

    // The first sample at or after t, and the first after t (sampleCount() when none).
    int32_t firstAtOrAfter(double tMs) const;
    int32_t firstAfter(double tMs) const;

    // Samples first..end-1.
    Stretch stretch(Quantity q, int32_t first, int32_t end) const;
    // The samples from `fromMs` to `toMs`, both included (in either order).
    Stretch between(Quantity q, double fromMs, double toMs) const;
    // What the chart shows at t: the value of the latest sample at or before t; nullopt before the
    // first sample and where that sample holds no value (a hole).
    std::optional<double> valueAt(Quantity q, double tMs) const;

    // What a chart of `columns` pixel columns (X in ms since the epoch) draws of q: per column its
    // first, lowest, highest and last valid sample in stored order, plus the nearest valid sample
    // on each side of the window; a sample without a value of q between two vertices breaks the
    // line there.
    trend::DecimatedSeries decimate(Quantity q, const trend::ChartColumns& columns) const;
    // The same with the columns' first samples found once for all quantities of a chart:
    // starts[c] is column c's first sample, starts[columns.count] the first after the window.
    std::vector<int32_t> columnStarts(const trend::ChartColumns& columns) const;
    trend::DecimatedSeries decimate(Quantity q, const std::vector<int32_t>& starts) const;

  private:
    static constexpr int32_t kBlock = 16;  // samples summarised by one node of the lowest level

    static size_t index(Quantity q) { return static_cast<size_t>(q); }
    // Every sample between a and b (exclusive) holds a value of q.
    bool unbroken(Quantity q, int32_t a, int32_t b) const;

    std::map<std::string, std::string> run_;
    std::vector<int64_t> times_;
    std::array<std::vector<double>, kQuantityCount> values_;
    // levels_[q][k][n] summarises samples n * kBlock * 2^k up to the next node's first.
    std::array<std::vector<std::vector<Stretch>>, kQuantityCount> levels_;
    int32_t settled_ = 0;  // samples the summaries cover
    std::vector<RecordedEvent> events_;
};

}  // namespace qx::viewer
