// The shown range as CSV: only the samples and events inside it, a hole as empty cells, each
// event in the row of the first sample at or after it, later events in rows of their own, and a
// text with a separator quoted.
#include <gtest/gtest.h>

#include <sstream>

#include "viewer/RecordingCsv.h"
#include "viewer/RecordingFixture.h"
#include "viewer/RecordingReader.h"

namespace qx::viewer {
namespace {

using test::RawSample;
using test::tenOClock;

TEST(RecordingCsvTest, TheShownRangeWithItsEventsAndHoles) {
    test::RecordingFile file("csv.sqlite");
    std::vector<RawSample> rows;
    for (int i = 0; i < 10; ++i) {
        RawSample s;
        s.tMs = tenOClock() + i * 100;
        if (i != 4) {
            s.values[0] = 10 + i + 0.25;
            s.values[1] = 20;
        }
        if (i >= 5) s.values[2] = 420;
        rows.push_back(s);
    }
    file.add(rows);
    file.add(test::RawEvent{tenOClock() + 100, "write", "before the range"});
    file.add(test::RawEvent{tenOClock() + 150, "write", "switch point = 420, at once"});
    file.add(test::RawEvent{tenOClock() + 400, "connection", "lost"});
    file.add(test::RawEvent{tenOClock() + 400, "status", "no answer"});
    file.add(test::RawEvent{tenOClock() + 650, "note", "after the last sample"});
    file.add(test::RawEvent{tenOClock() + 700, "note", "after the range"});
    const Recording recording = readRecording(file.path());

    std::ostringstream out;
    writeRecordingCsv(out, recording, static_cast<double>(tenOClock() + 650),
                      static_cast<double>(tenOClock() + 150));
    EXPECT_EQ(out.str(),
              "# FM1, recording start 2026-12-07T10:00:00.000, shown 2026-12-07T10:00:00.150 to "
              "2026-12-07T10:00:00.650\n"
              "time,flow [cm/s],temperature [°C],switch point [cm/s],taught maximum [cm/s],taught minimum "
              "[cm/s],events\n"
              "2026-12-07T10:00:00.200,12.25,20,,,,\"write: switch point = 420, at once\"\n"
              "2026-12-07T10:00:00.300,13.25,20,,,,\n"
              "2026-12-07T10:00:00.400,,,,,,connection: lost; status: no answer\n"
              "2026-12-07T10:00:00.500,15.25,20,420,,,\n"
              "2026-12-07T10:00:00.600,16.25,20,420,,,\n"
              "2026-12-07T10:00:00.650,,,,,,note: after the last sample\n");

    EXPECT_THROW(exportRecordingCsv("/nonexistent-folder/x.csv", recording, 0, 1), std::runtime_error);
}

}  // namespace
}  // namespace qx::viewer
