#pragma once
// The commissioning report as an A4 PDF, drawn with Qt's own PDF output: a title, the device's
// identity, its settings, the teach events and notes, a picture of the trend with the switch-point
// line and the taught band and the statistics of that stretch, and the parameter table.
//
// Needs Qt Gui only: where the program has no GUI application (the console), one is made on Qt's
// offscreen platform and kept for the rest of the process. The header stays free of Qt.
#include <string>

#include "record/ReportContent.h"

namespace qx::report {

// Fails with std::runtime_error naming the file and the reason when it cannot be written.
void writeReportPdf(const std::string& path, const record::ReportContent& content);

}  // namespace qx::report
