#pragma once
// Both trend charts as one PNG picture: the flow chart above the temperature chart, each under
// a caption with its value's name and unit, drawn by the same painter as the window's charts.
//
// Works without a window: where the program has no GUI application yet (the console), one is
// created on Qt's offscreen platform and kept for the rest of the process.
#include <string>

#include "chart/TrendSource.h"

namespace qx::ui {

// `width` x `height` pixels. Fails with std::runtime_error naming the file when the picture
// cannot be written. The header stays free of Qt, so a caller need not compile against it.
void exportTrendPng(const std::string& path, const TrendSource& source, int width, int height);

}  // namespace qx::ui
