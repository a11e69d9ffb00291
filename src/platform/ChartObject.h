#pragma once
// The chart component: the object inside the trend chart controls the view creates by program id.
// It holds two chart groups (group 1 with four series on the "Y" axis, group 2 with two on "Y2"),
// the axes "X", "Y" and "Y2", and the look loaded from a chart definition file. It never draws:
// a front end renders it and redraws when refreshCount() has moved on.
//
// The typed members mirror the object model the view drives by name:
//   ChartGroups(g).Styles(s).Fill.color      group(g).style(s).fillColor()
//   ChartGroups(g).data.NumPoints(1)         group(g).data().numPoints()
//   ChartArea.Axes("X").TimeScale.Base       chartArea().axis("X").timeScale().base()
// The same paths work through getProperty/setProperty, with names matched without regard to case
// and arguments as in a late-bound call: "ChartGroups(1).data.X(1, 5)",
// "ChartArea.Axes(\"Y2\").Max", "ChartArea.Location.Width", "AllowUserChanges",
// "ActionMaps.Count", "RefreshCount". A point never written reads as the empty value.
//
// Failures: a group, style, series, axis or point that does not exist fails with error 9
// (subscript out of range); a value the chart cannot take with 380; a name the object does not
// know, or a write to a read-only one, with 438. Load fails as ChartDefinition::readFile does and
// then leaves the chart as it was.
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ChartAppearance.h"
#include "platform/ChartData.h"
#include "platform/ChartDefinition.h"
#include "platform/Control.h"
#include "platform/PackageInternal.h"

namespace qx::platform {

class ControlFactories;

// The program id under which the container creates a chart.
inline constexpr const char* kChartProgId = "C1Chart2D8.Control.1";

// Registers the chart component with a container's factories under kChartProgId.
QX_FLOW_INTERNAL void registerChartComponent(ControlFactories& factories);

class QX_FLOW_INTERNAL ChartGroup {
  public:
    explicit ChartGroup(int seriesCount) : styles_(static_cast<size_t>(seriesCount)), data_(seriesCount) {}

    ChartType chartType() const { return type_; }
    void setChartType(ChartType t) { type_ = t; }
    int styleCount() const { return static_cast<int>(styles_.size()); }
    ChartStyle& style(int s);  // s = 1..styleCount()
    const ChartStyle& style(int s) const;
    ChartData& data() { return data_; }
    const ChartData& data() const { return data_; }

    // Takes type and styles from a definition; the points stay.
    void applyLook(const ChartGroupLook& look);

  private:
    ChartType type_ = ChartType::Plot;
    std::vector<ChartStyle> styles_;
    ChartData data_;
};

// The plot area's size in pixels (the layout sets it from the control's size).
class ChartLocation {
  public:
    int32_t width() const { return width_; }
    void setWidth(int32_t pixels);  // not negative
    int32_t height() const { return height_; }
    void setHeight(int32_t pixels);

  private:
    int32_t width_ = 0;
    int32_t height_ = 0;
};

class QX_FLOW_INTERNAL ChartArea {
  public:
    ChartAxis& axis(std::string_view name);  // "X", "Y" or "Y2", any case
    const ChartAxis& axis(std::string_view name) const;
    ChartLocation& location() { return location_; }
    const ChartLocation& location() const { return location_; }

    void applyAxes(const ChartDefinition& d);

  private:
    ChartAxis x_, y_, y2_;
    ChartLocation location_;
};

// The built-in mouse interactions a front end offers on the plot (zooming, moving, scaling,
// resetting to the axis limits) until they are removed.
enum class ChartAction { Zoom, Translate, Scale, Reset };

class ChartActionMaps {
  public:
    int32_t count() const { return static_cast<int32_t>(actions_.size()); }
    bool has(ChartAction a) const;
    void removeAll() { actions_.clear(); }

  private:
    std::vector<ChartAction> actions_ = {ChartAction::Zoom, ChartAction::Translate, ChartAction::Scale,
                                         ChartAction::Reset};
};

// An event of the chart as its container passes it on: the event's name and its parameters by
// position ("MouseMove": 0 button, 1 shift state, 2 x, 3 y).
struct ObjectEventInfo {
    std::string name;
    std::vector<Variant> params;
};

class QX_FLOW_INTERNAL ChartObject : public PropertyObject {
  public:
    ChartObject();

    // Raised for every event of the chart; whoever holds the chart listens here.
    std::function<void(const ObjectEventInfo&)> ObjectEvent;

    // The mouse moved over the chart, as a front end reports it: the buttons held (1 left,
    // 2 right, 4 middle, 0 none), the shift state (1 shift, 2 control, 4 alt) and the position in
    // pixels from the chart's top left corner. Raises "MouseMove".
    void userMouseMove(int32_t buttons, int32_t shift, int32_t x, int32_t y);
    // Raises an event as the chart component does, for a front end that reports its own.
    void raiseEvent(const ObjectEventInfo& info) {
        if (ObjectEvent) ObjectEvent(info);
    }

    ChartGroup& group(int g);  // g = 1..kChartGroupCount
    const ChartGroup& group(int g) const;
    ChartArea& chartArea() { return area_; }
    const ChartArea& chartArea() const { return area_; }
    ChartActionMaps& actionMaps() { return actionMaps_; }
    const ChartActionMaps& actionMaps() const { return actionMaps_; }

    // The user may change the chart's properties through the front end (a properties dialog).
    bool allowUserChanges() const { return allowUserChanges_; }
    void setAllowUserChanges(bool v);
    uint32_t backColor() const { return backColor_; }

    // Takes the look from a chart definition file: chart types, styles, axes (including their
    // limits and time scales) and the chart's own settings. The points stay.
    void load(const std::string& path);
    void apply(const ChartDefinition& d);

    // Asks for a redraw: a front end redraws when the count has changed since it last looked.
    // Nothing else moves it, so a burst of changes ends in one redraw. Observers hear of each
    // request as "RefreshCount", of a new look as "Look" and of a property set by name under its
    // name; changes through the typed members reach the screen with the next refresh.
    void refresh();
    uint64_t refreshCount() const { return refreshCount_; }

    Variant getProperty(const std::string& name) const override;
    void setProperty(const std::string& name, const Variant& value) override;

  private:
    void setField(const std::string& name, const Variant& value);

    std::array<ChartGroup, kChartGroupCount> groups_;
    ChartArea area_;
    ChartActionMaps actionMaps_;
    bool allowUserChanges_ = true;
    uint32_t backColor_ = 0xFFFFFF;
    uint64_t refreshCount_ = 0;
};

}  // namespace qx::platform
