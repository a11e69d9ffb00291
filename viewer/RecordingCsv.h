#pragma once
// A stretch of a recording as CSV for a spreadsheet: a comment line with the device, the run's
// start and the stretch, a header with the quantities and their units, then one row per sample
// (local ISO 8601 time with milliseconds, the five quantities, an empty cell where the sample
// holds no value) and an events column. An event goes into the row of the first sample at or
// after it, so that reading down the file tells what happened before each value; events after
// the stretch's last sample get rows of their own without values.
#include <cstdint>
#include <ostream>
#include <string>

#include "viewer/Recording.h"

namespace qx::viewer {

// The local date and time of `ms` since the epoch, "2026-12-07T10:15:00.250".
std::string localIsoTime(int64_t ms);

void writeRecordingCsv(std::ostream& out, const Recording& recording, double fromMs, double toMs);

// Fails with std::runtime_error naming the file and the reason when it cannot be written.
void exportRecordingCsv(const std::string& path, const Recording& recording, double fromMs, double toMs);

}  // namespace qx::viewer
