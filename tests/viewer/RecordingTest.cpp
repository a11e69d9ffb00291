// The viewer's reading of a recording, checked against the raw rows: statistics between the
// cursors, the value at a cursor, what each pixel column of a chart draws, and a file that grows
// while it is open.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

#include "viewer/RecordingFixture.h"
#include "viewer/RecordingReader.h"

namespace qx::viewer {
namespace {

using test::bruteStatistics;
using test::RecordingFile;
using test::tenOClock;

void expectSameStatistics(const Recording& recording, const std::vector<test::RawSample>& rows, int q,
                          double a, double b) {
    const auto brute = bruteStatistics(rows, q, std::min(a, b), std::max(a, b));
    const Stretch s = recording.between(static_cast<Quantity>(q), a, b);
    SCOPED_TRACE("quantity " + std::to_string(q) + " from " +
                 std::to_string(a - static_cast<double>(tenOClock())) + " to " +
                 std::to_string(b - static_cast<double>(tenOClock())));
    ASSERT_EQ(s.count, brute.count);
    if (brute.count == 0) return;
    EXPECT_EQ(s.low, brute.low);
    EXPECT_EQ(s.high, brute.high);
    EXPECT_NEAR(s.mean(), brute.mean, 1e-9 * std::max(1.0, std::abs(brute.mean)));
    EXPECT_EQ(recording.value(static_cast<Quantity>(q), s.lowAt), brute.low);
    EXPECT_EQ(recording.value(static_cast<Quantity>(q), s.highAt), brute.high);
}

// Cursors anywhere: on sample times and between them, before the start and after the end, in
// either order, inside a lost connection, a few samples apart (inside one summary block) and
// across the whole recording. The summaries must never count a hole or miss a sample at a block
// edge.
TEST(RecordingTest, StatisticsBetweenCursorsMatchBruteForceOverTheRawSamples) {
    RecordingFile file("statistics.sqlite");
    file.add(test::teachInSamples(20000, 100));
    const Recording recording = readRecording(file.path());
    ASSERT_EQ(recording.sampleCount(), 20000);
    EXPECT_EQ(recording.run("device_name"), "FM1");

    const double t0 = static_cast<double>(tenOClock()), end = t0 + 20000 * 100;
    std::vector<std::pair<double, double>> cursors = {{t0, end},
                                                      {t0 - 5000, end + 5000},
                                                      {end, t0},
                                                      {t0 + 48000, t0 + 50000},
                                                      {t0 + 48100, t0 + 48100},
                                                      {t0 + 1600, t0 + 3199},
                                                      {t0 + 1600, t0 + 3200},
                                                      {t0 + 150, t0 + 250},
                                                      {end - 1, end + 1},
                                                      {t0 - 10, t0 - 1}};
    std::mt19937 random(11);
    std::uniform_real_distribution<double> anywhere(t0 - 1000, end + 1000);
    for (int i = 0; i < 120; ++i) cursors.emplace_back(anywhere(random), anywhere(random));
    std::uniform_int_distribution<int> sample(0, 19999), few(0, 40);
    for (int i = 0; i < 120; ++i) {
        const double a = t0 + sample(random) * 100.0;
        cursors.emplace_back(a, a + few(random) * 100.0);
    }
    for (const auto& [a, b] : cursors)
        for (int q = 0; q < kQuantityCount; ++q) expectSameStatistics(recording, file.samples(), q, a, b);
}

// The value at a cursor is the latest sample at or before it, as the chart's line holds it; a
// cursor in a lost connection or before the first sample reads nothing.
TEST(RecordingTest, ValueAtCursorIsTheLatestSampleAtOrBeforeIt) {
    RecordingFile file("value.sqlite");
    file.add(test::teachInSamples(1000, 100));
    const Recording recording = readRecording(file.path());
    const double t0 = static_cast<double>(tenOClock());
    const auto& rows = file.samples();
    EXPECT_EQ(recording.valueAt(Quantity::Flow, t0 + 1000), rows[10].values[0]);
    EXPECT_EQ(recording.valueAt(Quantity::Flow, t0 + 1099), rows[10].values[0]);
    EXPECT_EQ(recording.valueAt(Quantity::Flow, t0 + 999), rows[9].values[0]);
    EXPECT_EQ(recording.valueAt(Quantity::Flow, t0 + 48500), std::nullopt);  // sample 485: lost connection
    EXPECT_TRUE(recording.isHole(485));
    EXPECT_FALSE(recording.isHole(102));  // sample 102 lacks only its temperature
    EXPECT_EQ(recording.valueAt(Quantity::Temperature, t0 + 10200), std::nullopt);
    EXPECT_EQ(recording.valueAt(Quantity::Flow, t0 - 1), std::nullopt);
    EXPECT_EQ(recording.valueAt(Quantity::SwitchPoint, t0 + 1000), std::nullopt);  // not taught yet
    EXPECT_EQ(recording.valueAt(Quantity::SwitchPoint, t0 + 1e9), 420);
}

// Each pixel column draws at most its first, lowest, highest and last sample, the lowest and
// highest being the column's true extremes; consecutive vertices share a line exactly when no
// sample without a value lies between them. Windows: the whole recording, a stretch inside one
// lost connection's neighbourhood, and a window narrower than the samples (columns without any).
TEST(RecordingTest, EachColumnDrawsItsExtremesAndLinesBreakExactlyAtHoles) {
    RecordingFile file("decimation.sqlite");
    file.add(test::teachInSamples(30000, 100));
    const Recording recording = readRecording(file.path());
    const auto& rows = file.samples();
    const double t0 = static_cast<double>(tenOClock());
    const std::vector<trend::ChartColumns> windows = {
        {t0 - 2000, t0 + 3000000 + 2000, 1280}, {t0 + 40000, t0 + 60000, 700}, {t0 + 47000, t0 + 49000, 300}};
    for (const auto& columns : windows) {
        for (int q = 0; q < 2; ++q) {
            const auto series = recording.decimate(static_cast<Quantity>(q), columns);
            ASSERT_FALSE(series.vertices.empty());
            // Brute force per column.
            std::map<int, std::pair<double, double>> extremes;
            for (const auto& r : rows) {
                const auto& v = r.values[static_cast<size_t>(q)];
                const int c = columns.columnOf(static_cast<double>(r.tMs));
                if (!v || c < 0 || c >= columns.count) continue;
                auto [it, added] = extremes.try_emplace(c, *v, *v);
                it->second = {std::min(it->second.first, *v), std::max(it->second.second, *v)};
            }
            std::map<int, std::vector<double>> drawn;
            for (const auto& v : series.vertices) {
                const int c = columns.columnOf(v.x);
                if (c >= 0 && c < columns.count) drawn[c].push_back(v.y);
            }
            ASSERT_EQ(drawn.size(), extremes.size());
            for (const auto& [c, ys] : drawn) {
                EXPECT_LE(ys.size(), 4u) << "column " << c;
                EXPECT_EQ(*std::min_element(ys.begin(), ys.end()), extremes[c].first) << "column " << c;
                EXPECT_EQ(*std::max_element(ys.begin(), ys.end()), extremes[c].second) << "column " << c;
            }
            // Line breaks: find each vertex's sample by its time and look between neighbours.
            const auto indexOf = [&](double t) {
                return std::lower_bound(rows.begin(), rows.end(), t,
                                        [](const test::RawSample& r, double x) {
                                            return static_cast<double>(r.tMs) < x;
                                        }) -
                       rows.begin();
            };
            size_t run = 0;
            for (size_t i = 1; i < series.vertices.size(); ++i) {
                const bool newRun = run + 1 < series.runCount() && series.runStarts[run + 1] == i;
                if (newRun) ++run;
                bool gap = false;
                for (auto k = indexOf(series.vertices[i - 1].x) + 1; k < indexOf(series.vertices[i].x); ++k)
                    gap = gap || !rows[static_cast<size_t>(k)].values[static_cast<size_t>(q)];
                EXPECT_EQ(newRun, gap) << "vertex " << i;
            }
        }
    }
}

// The present run's recording while it grows: rows committed by the writer after the viewer
// opened the file come in on the next read, statistics take them in, and a read with nothing new
// says so.
TEST(RecordingTest, AGrowingRecordingIsReadOnWhereTheLastReadStopped) {
    RecordingFile file("growing.sqlite");
    auto rows = test::teachInSamples(3000, 100);
    file.add({rows.begin(), rows.begin() + 1000});
    file.add(test::RawEvent{tenOClock() + 500, "connection", "connected"});
    RecordingReader reader(file.path());
    Recording recording;
    EXPECT_TRUE(reader.readNew(recording));
    EXPECT_EQ(recording.sampleCount(), 1000);
    EXPECT_FALSE(reader.readNew(recording));

    file.add({rows.begin() + 1000, rows.end()});
    file.add(test::RawEvent{tenOClock() + 250000, "note", "valve opened"});
    file.add(test::RawEvent{tenOClock() + 100, "status", "late for its time"});
    EXPECT_TRUE(reader.readNew(recording));
    ASSERT_EQ(recording.sampleCount(), 3000);
    const double t0 = static_cast<double>(tenOClock());
    for (const auto& [a, b] : {std::pair{t0, t0 + 300000.0}, std::pair{t0 + 99000.0, t0 + 101000.0}})
        for (int q = 0; q < kQuantityCount; ++q) expectSameStatistics(recording, file.samples(), q, a, b);
    ASSERT_EQ(recording.events().size(), 3u);
    EXPECT_EQ(recording.events()[0].text, "late for its time");  // in time order, not in the order written
    EXPECT_EQ(recording.events()[2].kind, "note");
}

// A file that is no recording, or none at all, is refused with a reason instead of showing an
// empty chart.
TEST(RecordingTest, AFileThatIsNoRecordingIsRefusedWithTheReason) {
    const auto path =
        (std::filesystem::temp_directory_path() / ("qx-viewer-" + std::to_string(getpid()) + "-other.db"))
            .string();
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE t(x)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    try {
        RecordingReader reader(path);
        ADD_FAILURE() << "opened";
    } catch (const RecordingError& e) {
        EXPECT_NE(std::string(e.what()).find("layout 0"), std::string::npos) << e.what();
    }
    std::filesystem::remove(path);
    EXPECT_THROW(RecordingReader(path + ".missing"), RecordingError);
}

}  // namespace
}  // namespace qx::viewer
