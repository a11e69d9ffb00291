#include "viewer/Recording.h"

#include <algorithm>
#include <cmath>

namespace qx::viewer {

void Stretch::add(int32_t at, double value) {
    if (std::isnan(value)) return;
    if (count++ == 0) firstAt = at;
    sum += value;
    if (value < low) {
        low = value;
        lowAt = at;
    }
    if (value > high) {
        high = value;
        highAt = at;
    }
    lastAt = at;
}

void Stretch::merge(const Stretch& later) {
    if (later.count == 0) return;
    if (count == 0) {
        *this = later;
        return;
    }
    count += later.count;
    sum += later.sum;
    if (later.low < low) {
        low = later.low;
        lowAt = later.lowAt;
    }
    if (later.high > high) {
        high = later.high;
        highAt = later.highAt;
    }
    lastAt = later.lastAt;
}

std::string Recording::run(const std::string& key) const {
    const auto it = run_.find(key);
    return it == run_.end() ? std::string() : it->second;
}

void Recording::append(const SampleRow& row) {
    times_.push_back(times_.empty() ? row.tMs : std::max(row.tMs, times_.back()));
    for (size_t q = 0; q < values_.size(); ++q) values_[q].push_back(row.values[q]);
}

void Recording::appendEvent(RecordedEvent event) {
    // Events come in the order they were written, which is their time order but for a clock set
    // back; the list beside the chart and the markers want time order.
    const auto at = std::upper_bound(events_.begin(), events_.end(), event.tMs,
                                     [](int64_t t, const RecordedEvent& e) { return t < e.tMs; });
    events_.insert(at, std::move(event));
}

void Recording::settle() {
    const int32_t n = sampleCount();
    if (settled_ == n) return;
    for (size_t q = 0; q < values_.size(); ++q) {
        auto& levels = levels_[q];
        if (levels.empty()) levels.emplace_back();
        // The lowest level: every block from the one the first new sample falls in.
        int32_t dirty = settled_ / kBlock;
        auto& blocks = levels[0];
        blocks.resize(static_cast<size_t>((n + kBlock - 1) / kBlock));
        for (int32_t b = dirty; b < static_cast<int32_t>(blocks.size()); ++b) {
            Stretch s;
            for (int32_t i = b * kBlock; i < std::min(n, (b + 1) * kBlock); ++i)
                s.add(i, values_[q][static_cast<size_t>(i)]);
            blocks[static_cast<size_t>(b)] = s;
        }
        // Each level above pairs the nodes of the one below, until one node covers everything.
        for (size_t k = 1; levels[k - 1].size() > 1; ++k) {
            if (levels.size() <= k) levels.emplace_back();
            const auto& below = levels[k - 1];
            auto& nodes = levels[k];
            nodes.resize((below.size() + 1) / 2);
            dirty /= 2;
            for (size_t m = static_cast<size_t>(dirty); m < nodes.size(); ++m) {
                Stretch s = below[2 * m];
                if (2 * m + 1 < below.size()) s.merge(below[2 * m + 1]);
                nodes[m] = s;
            }
        }
    }
    settled_ = n;
}

bool Recording::isHole(int32_t i) const {
    return std::isnan(value(Quantity::Flow, i)) && std::isnan(value(Quantity::Temperature, i));
}

std::optional<std::pair<int64_t, int64_t>> Recording::span() const {
    if (times_.empty() && events_.empty()) return std::nullopt;
    int64_t from = std::numeric_limits<int64_t>::max(), to = std::numeric_limits<int64_t>::min();
    if (!times_.empty()) {
        from = times_.front();
        to = times_.back();
    }
    if (!events_.empty()) {
        from = std::min(from, events_.front().tMs);
        to = std::max(to, events_.back().tMs);
    }
    return std::pair{from, to};
}

int32_t Recording::firstAtOrAfter(double tMs) const {
    return static_cast<int32_t>(
        std::lower_bound(times_.begin(), times_.end(), tMs,
                         [](int64_t t, double x) { return static_cast<double>(t) < x; }) -
        times_.begin());
}

int32_t Recording::firstAfter(double tMs) const {
    return static_cast<int32_t>(
        std::upper_bound(times_.begin(), times_.end(), tMs,
                         [](double x, int64_t t) { return x < static_cast<double>(t); }) -
        times_.begin());
}

Stretch Recording::stretch(Quantity q, int32_t first, int32_t end) const {
    Stretch s;
    first = std::max(first, 0);
    end = std::min(end, settled_);
    const auto& v = values_[index(q)];
    int32_t i = first;
    for (; i < end && i % kBlock != 0; ++i) s.add(i, v[static_cast<size_t>(i)]);
    // Whole blocks through the highest node that starts where we stand and ends inside the stretch.
    const auto& levels = levels_[index(q)];
    int64_t b = i / kBlock;
    const int64_t bEnd = end / kBlock;
    if (b < bEnd) {
        while (b < bEnd) {
            size_t k = 0;
            while (k + 1 < levels.size() && b % (int64_t{2} << k) == 0 && b + (int64_t{2} << k) <= bEnd) ++k;
            s.merge(levels[k][static_cast<size_t>(b >> k)]);
            b += int64_t{1} << k;
        }
        i = static_cast<int32_t>(bEnd * kBlock);
    }
    for (; i < end; ++i) s.add(i, v[static_cast<size_t>(i)]);
    return s;
}

Stretch Recording::between(Quantity q, double fromMs, double toMs) const {
    if (toMs < fromMs) std::swap(fromMs, toMs);
    return stretch(q, firstAtOrAfter(fromMs), firstAfter(toMs));
}

std::optional<double> Recording::valueAt(Quantity q, double tMs) const {
    const int32_t i = std::min(firstAfter(tMs), settled_) - 1;
    if (i < 0) return std::nullopt;
    const double v = value(q, i);
    if (std::isnan(v)) return std::nullopt;
    return v;
}

bool Recording::unbroken(Quantity q, int32_t a, int32_t b) const {
    return b == a + 1 || stretch(q, a + 1, b).count == b - a - 1;
}

std::vector<int32_t> Recording::columnStarts(const trend::ChartColumns& columns) const {
    std::vector<int32_t> starts;
    if (columns.empty()) return starts;
    starts.reserve(static_cast<size_t>(columns.count) + 1);
    // The first sample of column c: where columnOf() reaches c, searched from the column before.
    int32_t from = 0;
    for (int c = 0; c <= columns.count; ++c) {
        int32_t lo = from, hi = settled_;
        while (lo < hi) {
            const int32_t mid = lo + (hi - lo) / 2;
            if (columns.columnOf(static_cast<double>(time(mid))) >= c)
                hi = mid;
            else
                lo = mid + 1;
        }
        starts.push_back(lo);
        from = lo;
    }
    return starts;
}

trend::DecimatedSeries Recording::decimate(Quantity q, const trend::ChartColumns& columns) const {
    return decimate(q, columnStarts(columns));
}

trend::DecimatedSeries Recording::decimate(Quantity q, const std::vector<int32_t>& starts) const {
    trend::DecimatedSeries out;
    if (starts.size() < 2 || settled_ == 0) return out;
    int32_t lastVertex = -1;
    const auto emit = [&](int32_t at, bool joined) {
        if (at < 0 || at == lastVertex) return;
        if (lastVertex < 0 || !(joined || unbroken(q, lastVertex, at)))
            out.runStarts.push_back(out.vertices.size());
        out.vertices.push_back({static_cast<double>(time(at)), value(q, at)});
        lastVertex = at;
    };
    emit(stretch(q, 0, starts.front()).lastAt, false);
    for (size_t c = 0; c + 1 < starts.size(); ++c) {
        const int32_t start = starts[c], end = starts[c + 1];
        if (end == start) continue;
        const Stretch s = stretch(q, start, end);
        if (s.empty()) continue;
        std::array<int32_t, 4> order = {s.firstAt, s.lowAt, s.highAt, s.lastAt};
        if (s.highAt < s.lowAt) std::swap(order[1], order[2]);
        // Inside a column without a gap no pair of vertices needs its own look for one.
        const bool full = s.count == end - start;
        for (size_t k = 0; k < order.size(); ++k) emit(order[k], full && k > 0);
    }
    emit(stretch(q, starts.back(), settled_).firstAt, false);
    return out;
}

}  // namespace qx::viewer
