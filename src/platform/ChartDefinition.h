#pragma once
// The chart definition file: a readable text that gives a chart its look (chart type per group,
// series styles, axes, the X axis' time labels). Both trend charts load the same PC1.dat.
//
// Format: sections in brackets with "Key = Value" lines below them; blank lines and lines that
// begin with '#' or ';' are ignored; names and the words of values are matched without regard
// to case. Sections and their keys:
//
//   [Chart]                 Version (must be 1, required), BackColor, AllowUserChanges
//   [Axis X|Y|Y2]           Title, Visible, Grid, Min, Max, Labels (Values|Time),
//                           TimeUnit (Seconds|Minutes|Hours), TimeFormat (e.g. hh:mm:ss)
//   [Group g]               ChartType (Plot|Step|Area)                              g = 1, 2
//   [Group g Style s]       LineColor, LineWidth, LinePattern (None|Solid|Dash|Dot|DashDot),
//                           FillColor, SymbolShape (None|Dot|Box|Triangle|Diamond|Star|Cross),
//                           SymbolSize                                   s = 1..series of g
//
// Colours are written rgb(red, green, blue); booleans true or false. What the file leaves out
// keeps the look of a chart that loaded nothing (standard()).
//
// Failures: a file that cannot be opened fails with error 53 (file not found); anything the
// reader does not understand (an unknown section or key, a bad value, a missing Version) fails
// with error 380 whose description names the file and the line.
//
// The trend charts of the view need more than a chart in general: a file cut short still parses,
// but leaves the charts without their band, line styles or hidden Y2 axis. parseWhole() refuses
// a file that lacks any section above or, within one, a key the charts' look depends on (the
// Version, the colour and options of [Chart]; each axis's Visible, Min and Max, and the X axis's
// time labels; each group's ChartType; each style's LinePattern, FillColor and SymbolShape), with
// error 380 naming the file, the section and the key.
#include <array>
#include <string>
#include <vector>

#include "platform/ChartAppearance.h"
#include "platform/PackageInternal.h"

namespace qx::platform {

inline constexpr int kChartGroupCount = 2;
// Group 1 carries the process value and its reference lines, group 2 the taught limits.
inline constexpr std::array<int, kChartGroupCount> kChartGroupSeries = {4, 2};

struct ChartGroupLook {
    ChartType type = ChartType::Plot;
    std::vector<ChartStyle> styles;  // one per series
};

struct QX_FLOW_INTERNAL ChartDefinition {
    uint32_t backColor = 0xFFFFFF;
    bool allowUserChanges = true;
    std::array<ChartGroupLook, kChartGroupCount> groups;
    ChartAxis axisX, axisY, axisY2;

    // The look of a chart that has loaded no file: plain lines in distinct colours, no symbols.
    static ChartDefinition standard();
    // `source` names the text in failures (the file name).
    static ChartDefinition parse(const std::string& text, const std::string& source);
    // parse(), and every section and key the trend charts depend on must be there.
    static ChartDefinition parseWhole(const std::string& text, const std::string& source);
    static ChartDefinition readFile(const std::string& path);
};

}  // namespace qx::platform
