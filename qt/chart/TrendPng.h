#pragma once
// Both trend charts as one PNG picture: the flow chart above the temperature chart, each under
// a caption with its value's name and unit and a legend of the lines it holds, drawn by the
// same painter as the window's charts, their time axes one above the other.
//
// Works without a window: where the program has no GUI application yet (the console), one is
// created on Qt's offscreen platform and kept for the rest of the process.
#include <cstdint>
#include <string>

#include "trend/TrendSource.h"

namespace qx::ui {

// `width` x `height` pixels. Fails with std::runtime_error naming the file and the reason when
// the picture cannot be drawn (too large, no memory) or cannot be written. The header stays free of Qt, so a
// caller need not compile against it. The legend and the axis titles are in `language` (1033 English, 1031
// German).
void exportTrendPng(const std::string& path, const trend::TrendSource& source, int width, int height,
                    int32_t language = 1033);

}  // namespace qx::ui
