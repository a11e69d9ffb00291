// The chart object as the view and a front end use it: driven by name along the object model's
// paths and through the typed members, and given its look by a chart definition file (PC1.dat,
// which the build puts beside the library, and files the reader must refuse).
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <tuple>

#include "platform/ChartObject.h"
#include "platform/TestSupport.h"

namespace qx::platform {
namespace {

using test::errorOf;

TEST(ChartObject, PointsByNameIgnoreCaseAndReadHolesAsEmpty) {
    ChartObject c;
    c.setProperty("chartgroups(2).DATA.numpoints(1)", 2);
    c.setProperty("ChartGroups(2).data.y(2, 2)", 40);
    c.setProperty("ChartGroups(2).data.Y(1, 1)", "-7");
    EXPECT_TRUE(c.getProperty("ChartGroups(2).data.X(1, 1)").isEmpty());
    EXPECT_TRUE(c.getProperty("ChartGroups(2).data.y(2, 1)").isEmpty());
    EXPECT_EQ(c.getProperty("ChartGroups(2).data.y(2, 2)").toInt32(), 40);
    EXPECT_EQ(c.getProperty("ChartGroups(2).data.y(1, 1)").toInt32(), -7);
    EXPECT_EQ(c.getProperty("ChartGroups(2).data.NumPoints(2)").toInt32(), 2);
    EXPECT_EQ(c.group(1).data().numPoints(), 0);  // the groups count apart

    // Styles, axes and the chart area by name reach the typed members of their own series.
    c.setProperty("ChartGroups(1).Styles(2).Fill.color", 255);
    c.setProperty("ChartGroups(1).Styles(1).Symbol.Shape", 1);
    c.setProperty("ChartArea.Axes(\"Y2\").Max", 110.5);
    c.setProperty("ChartArea.Location.Width", 266);
    EXPECT_EQ(c.group(1).style(2).fillColor(), 0x0000FFu);
    EXPECT_NE(c.group(1).style(1).fillColor(), 0x0000FFu);
    EXPECT_EQ(c.group(1).style(1).symbolShape(), SymbolShape::Dot);
    EXPECT_EQ(c.group(1).style(2).symbolShape(), SymbolShape::None);
    EXPECT_EQ(c.chartArea().axis("Y2").max(), 110.5);
    EXPECT_EQ(c.chartArea().location().width(), 266);
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

    const std::tuple<const char*, Variant, int32_t> writes[] = {
        {"RefreshCount", 5, kNotSupported},
        {"ChartGroups(1).data.y(1, 1)", 40000, kOverflow},
        {"ChartGroups(1).Styles(1).Fill.color", -1, kInvalidPropertyValue},
        {"ChartGroups(1).Styles(1).Fill.color", 0x1000000, kInvalidPropertyValue},
        {"ChartGroups(1).Styles(1).Symbol.Shape", 7, kInvalidPropertyValue},
        {"ChartArea.Location.Width", -1, kInvalidPropertyValue},
        {"ChartArea.Axes(X).TimeScale.Base", 86400, kInvalidPropertyValue},
        {"ChartArea.Axes(Y).Max", std::numeric_limits<double>::infinity(), kInvalidPropertyValue},
    };
    for (const auto& [path, value, number] : writes)
        EXPECT_EQ(errorOf([&] { c.setProperty(path, value); }), number) << path;
}

TEST(ChartObject, AnAxisTakesAMinAboveItsMaxWhileTheWindowMoves) {
    ChartObject c;
    c.chartArea().axis("x").setMin(2.0);
    c.chartArea().axis("X").setMax(2.0 + 60.0 / 3600);
    EXPECT_EQ(c.getProperty("ChartArea.Axes(\"X\").Min").toDouble(), 2.0);
    EXPECT_EQ(c.getProperty("ChartArea.Axes(\"X\").Max").toDouble(), 2.0 + 60.0 / 3600);
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

TEST(ChartDefinition, TheShippedFileGivesTheTrendChartsTheirLookAndKeepsThePoints) {
    ChartObject c;
    c.group(1).data().setNumPoints(2);
    c.group(1).data().setY(1, 2, 17);
    c.load((std::filesystem::read_symlink("/proc/self/exe").parent_path() / "PC1.dat").string());
    EXPECT_EQ(c.group(1).data().y(1, 2), int16_t{17});

    ChartAxis& x = c.chartArea().axis("X");
    EXPECT_EQ(x.labels(), AxisLabels::Time);
    EXPECT_EQ(x.timeScale().unit(), TimeUnit::Hours);
    EXPECT_EQ(x.title(), "Time");
    EXPECT_FALSE(c.chartArea().axis("Y2").visible());
    EXPECT_EQ(c.group(1).chartType(), ChartType::Plot);
    EXPECT_EQ(c.group(2).chartType(), ChartType::Area);
    EXPECT_EQ(c.group(1).style(1).lineColor(), 0x800000u);  // rgb(0, 0, 128)
    EXPECT_EQ(c.group(1).style(2).linePattern(), LinePattern::Dash);
    EXPECT_EQ(c.group(2).style(1).fillColor(), 0xFAFABEu);  // rgb(190, 250, 250)
    EXPECT_FALSE(c.allowUserChanges());
    // With the base the view sets, an X of hours reads as clock time.
    x.timeScale().setBase(8 * 3600);
    EXPECT_EQ(x.timeScale().label(0.5), "08:30:00");
}

TEST(ChartDefinition, WhatAFileLeavesOutStaysStandardAndCommentsBlanksCaseAndCrLfAreAccepted) {
    const auto d = ChartDefinition::parse(
        "\xEF\xBB\xBF# made elsewhere\r\n\r\n  [chart]  \r\nversion=1\r\n; a comment\r\n"
        "[axis y]\r\n  TITLE =  Flow in %  \r\n[GROUP 2]\r\ncharttype = step\r\n[Group 1 Style 3]\r\n"
        "linecolor = RGB( 1, 2, 3 )\r\n",
        "pc.dat");
    EXPECT_EQ(d.axisY.title(), "Flow in %");
    EXPECT_EQ(d.groups[1].type, ChartType::Step);
    EXPECT_EQ(d.groups[0].styles[2].lineColor(), 0x030201u);
    EXPECT_EQ(d.groups[0].styles[0].lineColor(), ChartDefinition::standard().groups[0].styles[0].lineColor());
}

TEST(ChartDefinition, ABadFileFailsNamingItsLineAndLeavesTheChartAsItWas) {
    const std::string v1 = "[Chart]\nVersion = 1\n", style = v1 + "[Group 1 Style 1]\n";
    const std::pair<std::string, const char*> cases[] = {
        {"", "no Version"},
        {"[Chart]\nBackColor = rgb(1, 2, 3)\n", "no Version"},
        {"[Chart]\nVersion = 2\n", "line 2: version 2"},
        {"Version = 1\n", "line 1: a setting before"},
        {v1 + "[Group 3]\n", "line 3: there is no chart group 3"},
        {v1 + "[Group 2 Style 3]\n", "line 3: chart group 2 has no series 3"},
        {v1 + "[Axis Z]\n", "line 3: 'Z' is not one of X|Y|Y2"},
        {v1 + "[Legend]\n", "line 3: unknown section"},
        {"[Chart\nVersion = 1\n", "line 1: a section name ends"},
        {style + "Colour = rgb(1, 2, 3)\n", "line 4: unknown key 'Colour'"},
        {style + "LineColor = rgb(1, 2, 256)\n", "line 4: 'rgb(1, 2, 256)'"},
        {style + "LineColor = rgb(1, 2)\n", "line 4:"},
        {style + "LineWidth = 2.5\n", "line 4: '2.5' is not a whole number"},
        {style + "LineWidth = 99\n", "line 4: Line width"},
        {style + "SymbolShape = Heart\n", "line 4: 'Heart'"},
        {v1 + "[Group 1]\nChartType = Pie\n", "line 4: 'Pie'"},
        {v1 + "[Axis X]\nMax = soon\n", "line 4: 'soon' is not a number"},
        {v1 + "[Axis X]\nTimeFormat = hh:nn\n", "line 4: Time format"},
        {v1 + "[Axis Y]\nVisible\n", "line 4: expected Key = Value"},
    };
    for (const auto& [text, expect] : cases) {
        SCOPED_TRACE(text);
        ChartObject c;
        c.group(1).style(1).setLineColor(0x123456);
        c.chartArea().axis("Y").setMax(55);
        test::ScratchFile file(text);
        try {
            c.load(file.path());
            ADD_FAILURE() << "accepted";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), kInvalidPropertyValue);
            EXPECT_NE(e.description().find(std::filesystem::path(file.path()).filename()), std::string::npos);
            EXPECT_NE(e.description().find(expect), std::string::npos) << e.description();
        }
        EXPECT_EQ(c.group(1).style(1).lineColor(), 0x123456u);
        EXPECT_EQ(c.chartArea().axis("Y").max(), 55);
    }
    for (const std::string& path : {testing::TempDir() + "no-such-chart.dat", testing::TempDir()}) {
        try {
            ChartObject().load(path);
            ADD_FAILURE() << "loaded " << path;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(errorSummary(e), "Error 53: File not found (File not found: " + path + ")");
        }
    }
}

}  // namespace
}  // namespace qx::platform
