#pragma once
// Both trend charts as one PNG picture: the flow chart above the temperature chart, each under
// a caption with its value's name and unit, drawn by the same painter as the window's charts.
//
// Works without a window: where the program has no GUI application yet (the console), one is
// created on Qt's offscreen platform and kept for the rest of the process.
#include <QImage>
#include <QSize>
#include <string>

#include "chart/TrendSource.h"

namespace qx::ui {

QImage renderTrend(const TrendSource& source, QSize size);

// Fails with std::runtime_error naming the file when the picture cannot be written.
void exportTrendPng(const std::string& path, const TrendSource& source, QSize size);

}  // namespace qx::ui
