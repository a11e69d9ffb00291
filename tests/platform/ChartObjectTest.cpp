// The chart object as the view and a front end use it: created by program id inside an extender,
// driven by name along the object model's paths, and through the typed members.
#include <gtest/gtest.h>

#include <limits>

#include "platform/ChartObject.h"
#include "platform/Controls.h"
#include "platform/RuntimeError.h"

namespace qx::platform {
namespace {

int32_t errorOf(auto&& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(ChartObject, TheContainerCreatesItByProgramIdAndTheExtenderPassesPathsOn) {
    ControlFactories factories;
    registerChartComponent(factories);
    Controls controls(factories);
    auto ext = controls.add("C1Chart2D8.Control.1", "PC1", nullptr);
    auto chart = std::dynamic_pointer_cast<ChartObject>(ext->object());
    ASSERT_TRUE(chart);

    ext->setProperty("ChartGroups(1).data.NumPoints(1)", 3);
    ext->setProperty("ChartGroups(1).data.X(1, 3)", 0.5);
    EXPECT_EQ(chart->group(1).data().numPoints(), 3);
    EXPECT_EQ(chart->group(1).data().x(3), 0.5);
    // Position and size stay the extender's own, not the chart's.
    ext->setProperty("Height", 1600);
    EXPECT_EQ(ext->height(), 1600);
    EXPECT_EQ(chart->chartArea().location().height(), 0);

    auto second =
        std::dynamic_pointer_cast<ChartObject>(controls.add(kChartProgId, "PC2", nullptr)->object());
    EXPECT_NE(second, chart);  // each chart holds its own points
    EXPECT_EQ(second->group(1).data().numPoints(), 0);
}

TEST(ChartObject, PointsByNameReadHolesAsEmpty) {
    ChartObject c;
    c.setProperty("chartgroups(2).DATA.numpoints(1)", 2);  // late binding ignores case
    c.setProperty("ChartGroups(2).data.y(2, 2)", 40);
    c.setProperty("ChartGroups(2).data.Y(1, 1)", "-7");

    EXPECT_TRUE(c.getProperty("ChartGroups(2).data.X(1, 1)").isEmpty());
    EXPECT_TRUE(c.getProperty("ChartGroups(2).data.y(2, 1)").isEmpty());
    EXPECT_TRUE(c.getProperty("ChartGroups(2).data.y(1, 2)").isEmpty());
    EXPECT_EQ(c.getProperty("ChartGroups(2).data.y(2, 2)").toInt32(), 40);
    EXPECT_EQ(c.getProperty("ChartGroups(2).data.y(1, 1)").toInt32(), -7);
    EXPECT_EQ(c.getProperty("ChartGroups(2).data.NumPoints(2)").toInt32(), 2);
    EXPECT_EQ(c.group(1).data().numPoints(), 0);  // the groups count apart
}

TEST(ChartObject, PathsThatNameNothingFailWithTheirOwnNumbers) {
    ChartObject c;
    c.group(1).data().setNumPoints(1);
    const std::pair<const char*, int32_t> reads[] = {
        {"ChartGroups(3).data.NumPoints(1)", kSubscriptOutOfRange},
        {"ChartGroups(1).Styles(5).Fill.color", kSubscriptOutOfRange},
        {"ChartGroups(2).Styles(3).Symbol.Shape", kSubscriptOutOfRange},
        {"ChartGroups(1).data.X(2, 1)", kSubscriptOutOfRange},  // X is the one shared array
        {"ChartGroups(1).data.X(1, 2)", kSubscriptOutOfRange},
        {"ChartGroups(1).data.y(5, 1)", kSubscriptOutOfRange},
        {"ChartGroups(2).data.NumPoints(3)", kSubscriptOutOfRange},
        {"ChartArea.Axes(\"Z\").Min", kSubscriptOutOfRange},
        {"ChartGroups(x).data.NumPoints(1)", kTypeMismatch},
        {"ChartGroups(1).data.NumPoints", kNotSupported},  // NumPoints takes its series
        {"ChartGroups(1).Fill.color", kNotSupported},
        {"ChartArea.Axes(\"X\").Min.Max", kNotSupported},
        {"ChartArea.Axes(\"X\"", kNotSupported},
        {"Legend.Text", kNotSupported},
        {"", kNotSupported},
    };
    for (const auto& [path, number] : reads) EXPECT_EQ(errorOf([&] { c.getProperty(path); }), number) << path;

    EXPECT_EQ(errorOf([&] { c.setProperty("RefreshCount", 5); }), kNotSupported);
    EXPECT_EQ(errorOf([&] { c.setProperty("ChartGroups(1).data.y(1, 1)", 40000); }), kOverflow);
    EXPECT_EQ(errorOf([&] { c.setProperty("ChartGroups(1).Styles(1).Fill.color", -1); }),
              kInvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { c.setProperty("ChartGroups(1).Styles(1).Fill.color", 0x1000000); }),
              kInvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { c.setProperty("ChartGroups(1).Styles(1).Symbol.Shape", 7); }),
              kInvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { c.setProperty("ChartArea.Location.Width", -1); }), kInvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { c.setProperty("ChartArea.Axes(X).TimeScale.Base", 86400); }),
              kInvalidPropertyValue);
}

TEST(ChartObject, AxesKeepTheRangeTheyAreGivenEachOnItsOwn) {
    ChartObject c;
    c.setProperty("ChartArea.Axes(\"Y\").Min", -20);
    c.setProperty("ChartArea.Axes(\"Y\").Max", 110);
    c.setProperty("ChartArea.Axes(\"Y2\").Max", 110.5);
    // The window moves by setting Min first: for a moment Min lies above Max, which must be taken.
    c.chartArea().axis("x").setMin(2.0);
    c.chartArea().axis("X").setMax(2.0 + 60.0 / 3600);

    EXPECT_EQ(c.chartArea().axis("Y").min(), -20);
    EXPECT_EQ(c.chartArea().axis("Y").max(), 110);
    EXPECT_EQ(c.getProperty("ChartArea.Axes(Y2).Max").toDouble(), 110.5);
    EXPECT_EQ(c.chartArea().axis("Y2").min(), 0);
    EXPECT_EQ(c.getProperty("ChartArea.Axes(\"X\").Min").toDouble(), 2.0);
    EXPECT_EQ(c.getProperty("ChartArea.Axes(\"X\").Max").toDouble(), 2.0 + 60.0 / 3600);
    EXPECT_EQ(errorOf([&] { c.chartArea().axis("Y").setMax(std::numeric_limits<double>::infinity()); }),
              kInvalidPropertyValue);
    EXPECT_EQ(c.chartArea().axis("Y").max(), 110);
}

TEST(ChartObject, StyleColoursAndSymbolsAreTheStyleOfTheirOwnSeries) {
    ChartObject c;
    c.setProperty("ChartGroups(1).Styles(2).Fill.color", 255);
    c.setProperty("ChartGroups(2).Styles(1).Fill.color", 0xF0F0F0u);
    c.setProperty("ChartGroups(1).Styles(1).Symbol.Shape", 1);

    EXPECT_EQ(c.group(1).style(2).fillColor(), 0x0000FFu);
    EXPECT_EQ(c.group(2).style(1).fillColor(), 0xF0F0F0u);
    EXPECT_EQ(c.group(1).style(1).symbolShape(), SymbolShape::Dot);
    EXPECT_EQ(c.getProperty("ChartGroups(1).Styles(2).Fill.color").toInt32(), 255);
    EXPECT_NE(c.group(1).style(1).fillColor(), 0x0000FFu);
    EXPECT_NE(c.group(2).style(2).fillColor(), 0xF0F0F0u);
    EXPECT_EQ(c.group(1).style(2).symbolShape(), SymbolShape::None);
}

TEST(ChartObject, OnlyRefreshAsksForARedraw) {
    ChartObject c;
    c.group(1).data().setNumPoints(1);
    c.group(1).data().setX(1, 0.0);
    c.chartArea().axis("X").setMax(1.0);
    EXPECT_EQ(c.refreshCount(), 0u);
    c.refresh();
    c.refresh();
    EXPECT_EQ(c.refreshCount(), 2u);
    EXPECT_EQ(c.getProperty("RefreshCount").toInt32(), 2);
}

TEST(ChartObject, RemovingTheActionMapsTakesAwayTheMouseInteractions) {
    ChartObject c;
    EXPECT_TRUE(c.actionMaps().has(ChartAction::Zoom));
    EXPECT_TRUE(c.actionMaps().has(ChartAction::Translate));
    c.actionMaps().removeAll();
    EXPECT_EQ(c.getProperty("ActionMaps.Count").toInt32(), 0);
    EXPECT_FALSE(c.actionMaps().has(ChartAction::Zoom));
    EXPECT_FALSE(c.actionMaps().has(ChartAction::Translate));

    c.setProperty("AllowUserChanges", true);
    EXPECT_TRUE(c.allowUserChanges());
    c.setProperty("ChartArea.Location.Width", 266);
    EXPECT_EQ(c.chartArea().location().width(), 266);
}

TEST(ChartTimeScale, LabelsShowBasePlusHoursAsClockTimeAcrossMidnight) {
    ChartTimeScale t;
    t.setBase(10 * 3600 + 5 * 60);
    EXPECT_EQ(t.label(0), "10:05:00");
    EXPECT_EQ(t.label(90.0 / 3600), "10:06:30");  // 90 s as hours must not print 10:06:29
    EXPECT_EQ(t.label(-1.0 / 60), "10:04:00");

    t.setBase(86399);
    EXPECT_EQ(t.label(2.0 / 3600), "00:00:01");
    t.setBase(0);
    EXPECT_EQ(t.label(-1.0 / 3600), "23:59:59");

    t.setUnit(TimeUnit::Seconds);
    t.setFormat("hh.mm");
    EXPECT_EQ(t.label(3600 + 59), "01.00");
    EXPECT_EQ(errorOf([&] { t.setFormat("hh:mm:ss tt"); }), kInvalidPropertyValue);
    EXPECT_EQ(t.format(), "hh.mm");
}

}  // namespace
}  // namespace qx::platform
