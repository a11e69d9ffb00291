#pragma once
// The trend as CSV for a spreadsheet: a comment line with the device and the trend's start, a
// header with the values' names and units, then one row per stored point: its clock time
// (ISO 8601 local time, hh:mm:ss, from the trend start and the point's X), the flow and the
// temperature, with an empty cell where the chart holds no value (a break in the trend).
#include <ostream>
#include <string>

#include "trend/TrendSource.h"

namespace qx::trend {

// A cell as RFC 4180 wants it: quoted when it holds a separator, a quote or a line break.
std::string csvCell(const std::string& text);
// A text on its one line: line breaks become blanks.
std::string oneLine(std::string text);

void writeTrendCsv(std::ostream& out, const TrendSource& source);

// Fails with std::runtime_error naming the file and the reason when it cannot be written.
void exportTrendCsv(const std::string& path, const TrendSource& source);

}  // namespace qx::trend
