#pragma once
// How a chart looks: the style of each series, the axes and the X axis' time labels. The chart
// definition file sets all of it; the view then changes a few colours, symbols and ranges.
//
// Drawing, as a front end renders it: each series of a Plot group is a line through its points
// in the line colour, width and pattern, broken wherever a point has no X or no Y value; a Step
// group draws the same points as a staircase; an Area group fills the region between the
// series and the bottom of its axis with the fill colour. A symbol of the style's shape and size,
// filled with the fill colour, marks every point of a series whose shape is not None.
//
// Setters refuse values a chart cannot show with error 380 (invalid property value).
#include <cstdint>
#include <string>

#include "platform/PackageInternal.h"

namespace qx::platform {

enum class ChartType { Plot, Step, Area };
enum class LinePattern { None, Solid, Dash, Dot, DashDot };
// The numbers are the values of Symbol.Shape.
enum class SymbolShape : int16_t {
    None = 0,
    Dot = 1,
    Box = 2,
    Triangle = 3,
    Diamond = 4,
    Star = 5,
    Cross = 6
};
inline constexpr int16_t kLastSymbolShape = 6;

class QX_FLOW_INTERNAL ChartStyle {
  public:
    uint32_t lineColor() const { return lineColor_; }
    void setLineColor(uint32_t c);
    int32_t lineWidth() const { return lineWidth_; }
    void setLineWidth(int32_t pixels);  // 0..20
    LinePattern linePattern() const { return linePattern_; }
    void setLinePattern(LinePattern p) { linePattern_ = p; }

    // The "Fill.color" of the style: the area of an Area group, the inside of the symbols.
    uint32_t fillColor() const { return fillColor_; }
    void setFillColor(uint32_t c);

    SymbolShape symbolShape() const { return symbolShape_; }
    void setSymbolShape(SymbolShape s) { symbolShape_ = s; }
    void setSymbolShape(int16_t value);  // the number form; outside 0..kLastSymbolShape fails
    int32_t symbolSize() const { return symbolSize_; }
    void setSymbolSize(int32_t pixels);  // 1..40

  private:
    uint32_t lineColor_ = 0x000000;
    int32_t lineWidth_ = 1;
    LinePattern linePattern_ = LinePattern::Solid;
    uint32_t fillColor_ = 0x000000;
    SymbolShape symbolShape_ = SymbolShape::None;
    int32_t symbolSize_ = 5;
};

enum class TimeUnit { Seconds, Minutes, Hours };

// Time labels of an axis: a label shows Base plus the axis value (counted in the unit) as a time
// of day, in a format made of "hh", "mm" and "ss" and the characters between them ("hh:mm:ss").
// Times wrap at midnight both ways, so a value before the base shows the previous evening.
class QX_FLOW_INTERNAL ChartTimeScale {
  public:
    int32_t base() const { return base_; }
    void setBase(int32_t secondsSinceMidnight);  // 0..86399
    TimeUnit unit() const { return unit_; }
    void setUnit(TimeUnit u) { unit_ = u; }
    const std::string& format() const { return format_; }
    void setFormat(std::string format);  // a letter outside hh/mm/ss fails

    std::string label(double value) const;  // a non-finite value fails

  private:
    int32_t base_ = 0;
    TimeUnit unit_ = TimeUnit::Hours;
    std::string format_ = "hh:mm:ss";
};

enum class AxisLabels { Values, Time };

// One axis. It shows exactly the range Min..Max. The two are set one at a time, so Min may stand
// at or above Max for a while (an empty trend has 0..0); a front end then draws nothing against
// that axis.
class QX_FLOW_INTERNAL ChartAxis {
  public:
    double min() const { return min_; }
    void setMin(double v);  // finite
    double max() const { return max_; }
    void setMax(double v);

    const std::string& title() const { return title_; }
    void setTitle(std::string t) { title_ = std::move(t); }
    bool visible() const { return visible_; }
    void setVisible(bool v) { visible_ = v; }
    bool grid() const { return grid_; }
    void setGrid(bool g) { grid_ = g; }
    AxisLabels labels() const { return labels_; }
    void setLabels(AxisLabels l) { labels_ = l; }

    ChartTimeScale& timeScale() { return timeScale_; }
    const ChartTimeScale& timeScale() const { return timeScale_; }

  private:
    double min_ = 0;
    double max_ = 0;
    std::string title_;
    bool visible_ = true;
    bool grid_ = false;
    AxisLabels labels_ = AxisLabels::Values;
    ChartTimeScale timeScale_;
};

}  // namespace qx::platform
