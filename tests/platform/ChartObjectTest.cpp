// The chart component as the view and a front end use it: the points of a chart group (holes
// against written values, the index limits, a count that shrinks and grows, and chunk edges,
// where chunked storage breaks), the object driven by name along the object model's paths, and
// its look from a chart definition file (PC1.dat, which the build puts beside the library, and
// files the reader must refuse).
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <tuple>

#include "platform/ChartData.h"
#include "platform/ChartDefinition.h"
#include "platform/ChartObject.h"
#include "platform/FileContents.h"
#include "platform/RuntimeError.h"
#include "platform/TestSupport.h"

namespace qx::platform {
namespace {

using test::errorOf;
constexpr int32_t kChunk = ChartColumn<double>::kChunkSize;

TEST(ChartData, UnwrittenValuesAreHolesAndIndicesOutsideTheCountFailChangingNothing) {
    ChartData d(4);
    EXPECT_EQ(errorOf([&] { d.x(1); }), kSubscriptOutOfRange);  // an empty chart has no point 1
    d.setNumPoints(3);
    d.setX(1, 0.0);
    d.setY(1, 1, 0);
    d.setY(2, 3, -32768);  // the lowest value is a value like any other, not a hole marker
    EXPECT_EQ(d.x(2), std::nullopt);
    EXPECT_EQ(d.y(1, 1), int16_t{0});
    EXPECT_EQ(d.y(2, 1), std::nullopt);
    EXPECT_EQ(d.y(2, 3), int16_t{-32768});

    EXPECT_EQ(errorOf([&] { d.setX(4, 1.0); }), kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { d.setX(0, 1.0); }), kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { d.y(1, 0); }), kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { d.setY(5, 1, 7); }), kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { d.setNumPoints(-1); }), kInvalidPropertyValue);
    EXPECT_EQ(errorOf([&] { d.setX(1, std::numeric_limits<double>::quiet_NaN()); }), kInvalidPropertyValue);
    EXPECT_EQ(d.numPoints(), 3);
    EXPECT_EQ(d.x(1), 0.0);
}

TEST(ChartData, ValuesAtChunkEdgesStayApartAndPointsDroppedByAShrinkComeBackAsHoles) {
    // An off-by-one in the chunk or bit arithmetic shows up as a value landing next door. Clearing
    // sets the count to 0 and the next trend grows it again: an old value must never reappear,
    // whether its chunk was released or is the one the shrink cut through.
    ChartData d(2);
    const int32_t n = 2 * kChunk + 100, cut = kChunk + 37;
    d.setNumPoints(n);
    for (int32_t p = 1; p <= n; ++p) {
        d.setX(p, p / 3600.0);
        d.setY(2, p, static_cast<int16_t>(p % 30000));
    }
    for (int32_t p : {kChunk - 1, kChunk, kChunk + 1, 2 * kChunk, 2 * kChunk + 1}) {
        EXPECT_EQ(d.x(p), p / 3600.0) << p;
        EXPECT_EQ(d.y(2, p), static_cast<int16_t>(p % 30000)) << p;
        EXPECT_EQ(d.y(1, p), std::nullopt) << p;
    }

    d.setNumPoints(cut);
    EXPECT_EQ(errorOf([&] { d.x(cut + 1); }), kSubscriptOutOfRange);
    d.setNumPoints(n);
    EXPECT_EQ(d.y(2, cut), static_cast<int16_t>(cut % 30000));
    for (int32_t p : {cut + 1, cut + 27, 2 * kChunk, 2 * kChunk + 1, n}) {
        EXPECT_EQ(d.x(p), std::nullopt) << p;
        EXPECT_EQ(d.y(2, p), std::nullopt) << p;
    }
    d.setNumPoints(0);
    d.setNumPoints(5);
    EXPECT_EQ(d.x(1), std::nullopt);
}

TEST(ChartObject, PathsByNameIgnoreCaseReadHolesAsEmptyReachTheirOwnSeriesOrFail) {
    ChartObject c;
    c.setProperty("chartgroups(2).DATA.numpoints(1)", 2);
    c.setProperty("ChartGroups(2).data.y(2, 2)", 40);
    c.setProperty("ChartGroups(2).data.Y(1, 1)", "-7");
    c.setProperty("ChartGroups(1).Styles(2).Fill.color", 255);
    c.setProperty("ChartArea.Axes(\"x\").Min", 2.0);  // above Max while the time window moves
    EXPECT_TRUE(c.getProperty("ChartGroups(2).data.X(1, 1)").isEmpty());
    EXPECT_TRUE(c.getProperty("ChartGroups(2).data.y(2, 1)").isEmpty());
    EXPECT_EQ(c.getProperty("ChartGroups(2).data.y(2, 2)").toInt32(), 40);
    EXPECT_EQ(c.getProperty("ChartGroups(2).data.y(1, 1)").toInt32(), -7);
    EXPECT_EQ(c.group(1).data().numPoints(), 0);  // the groups count apart
    EXPECT_EQ(c.group(1).style(2).fillColor(), 0x0000FFu);
    EXPECT_NE(c.group(1).style(1).fillColor(), 0x0000FFu);
    EXPECT_EQ(c.chartArea().axis("X").min(), 2.0);

    // Paths that name nothing fail with their own numbers.
    c.group(1).data().setNumPoints(1);
    const std::pair<const char*, int32_t> reads[] = {
        {"ChartGroups(3).data.NumPoints(1)", kSubscriptOutOfRange},
        {"ChartGroups(1).data.X(2, 1)", kSubscriptOutOfRange},  // X is the one shared array
        {"ChartArea.Axes(\"Z\").Min", kSubscriptOutOfRange},
        {"ChartGroups(x).data.NumPoints(1)", kTypeMismatch},
        {"ChartGroups(1).data.NumPoints", kNotSupported},  // NumPoints takes its series
        {"Legend.Text", kNotSupported},
    };
    for (const auto& [path, number] : reads) EXPECT_EQ(errorOf([&] { c.getProperty(path); }), number) << path;
    const std::tuple<const char*, Variant, int32_t> writes[] = {
        {"ChartGroups(1).data.y(1, 1)", 40000, kOverflow},
        {"ChartGroups(1).Styles(1).Fill.color", 0x1000000, kInvalidPropertyValue},
        {"ChartArea.Axes(X).TimeScale.Base", 86400, kInvalidPropertyValue},
        {"ChartArea.Axes(Y).Max", std::numeric_limits<double>::infinity(), kInvalidPropertyValue},
    };
    for (const auto& [path, value, number] : writes)
        EXPECT_EQ(errorOf([&] { c.setProperty(path, value); }), number) << path;
}

TEST(ChartTimeScale, LabelsShowBasePlusHoursAsClockTimeAcrossMidnight) {
    ChartTimeScale t;
    t.setBase(10 * 3600 + 5 * 60);
    EXPECT_EQ(t.label(0), "10:05:00");
    EXPECT_EQ(t.label(90.0 / 3600), "10:06:30");  // 90 s as hours must not print 10:06:29
    t.setBase(86399);
    EXPECT_EQ(t.label(2.0 / 3600), "00:00:01");
    t.setBase(0);
    EXPECT_EQ(t.label(-1.0 / 3600), "23:59:59");
    // 1e308 hours are 8 h past a whole day; counted in seconds they would overflow.
    EXPECT_EQ(t.label(1e308), "08:00:00");
    EXPECT_EQ(t.label(-1e308), "16:00:00");
}

TEST(ChartDefinition, TheShippedFileGivesTheTrendChartsTheirLookAndKeepsThePoints) {
    ChartObject c;
    c.group(1).data().setNumPoints(2);
    c.group(1).data().setY(1, 2, 17);
    c.load((std::filesystem::read_symlink("/proc/self/exe").parent_path() / "PC1.dat").string());
    EXPECT_EQ(c.group(1).data().y(1, 2), int16_t{17});

    EXPECT_EQ(c.group(2).chartType(), ChartType::Area);
    EXPECT_EQ(c.group(2).style(1).fillColor(), 0xFAFABEu);  // rgb(190, 250, 250)
    EXPECT_FALSE(c.chartArea().axis("Y2").visible());
    // With the base the view sets, an X of hours reads as clock time.
    c.chartArea().axis("X").timeScale().setBase(8 * 3600);
    EXPECT_EQ(c.chartArea().axis("X").timeScale().label(0.5), "08:30:00");
}

// A chart in general takes what a file gives; the trend charts need all of the shipped file, and a
// copy cut short anywhere (a failed copy, a full disk) is refused naming the file.
TEST(ChartDefinition, TheTrendChartsRefuseTheShippedFileCutShortAnywhere) {
    const FileContents shipped = readFileContents(
        (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "PC1.dat").string());
    ASSERT_TRUE(shipped.ok) << shipped.why;
    EXPECT_NO_THROW(ChartDefinition::parseWhole(shipped.bytes, "PC1.dat"));
    EXPECT_NO_THROW(
        ChartDefinition::parseWhole(shipped.bytes.substr(0, shipped.bytes.size() - 1), "PC1.dat"));
    for (size_t size = 0; size + 1 < shipped.bytes.size(); ++size) {
        try {
            ChartDefinition::parseWhole(shipped.bytes.substr(0, size), "PC1.dat");
            ADD_FAILURE() << "accepted when cut to " << size << " bytes";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.description().rfind("PC1.dat", 0), 0u) << e.description();
        }
    }
    const auto refusal = [](const std::string& text) {
        try {
            ChartDefinition::parseWhole(text, "PC1.dat");
        } catch (const RuntimeError& e) {
            return e.description();
        }
        return std::string();
    };
    EXPECT_EQ(refusal(shipped.bytes.substr(0, 841)),
              "PC1.dat: not a whole chart definition: no section [Axis Y2]");
    std::string noFill = shipped.bytes;
    noFill.erase(noFill.rfind("FillColor"), noFill.rfind("SymbolShape") - noFill.rfind("FillColor"));
    EXPECT_EQ(refusal(noFill), "PC1.dat: not a whole chart definition: [Group 2 Style 2] has no FillColor");
    EXPECT_NO_THROW(ChartDefinition::parse(shipped.bytes.substr(0, 841), "PC1.dat"));
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
        {"[Chart]\nVersion = 2\n", "line 2: version 2"},
        {"Version = 1\n", "line 1: a setting before"},
        {v1 + "[Group 2 Style 3]\n", "line 3: chart group 2 has no series 3"},
        {v1 + "[Axis Z]\n", "line 3: 'Z' is not one of X|Y|Y2"},
        {style + "Colour = rgb(1, 2, 3)\n", "line 4: unknown key 'Colour'"},
        {style + "LineColor = rgb(1, 2, 256)\n", "line 4: 'rgb(1, 2, 256)'"},
        {style + "LineWidth = 99\n", "line 4: Line width"},
        {v1 + "[Axis X]\nTimeFormat = hh:nn\n", "line 4: Time format"},
    };
    for (const auto& [text, expect] : cases) {
        SCOPED_TRACE(text);
        ChartObject c;
        c.group(1).style(1).setLineColor(0x123456);
        c.chartArea().axis("Y").setMax(55);
        test::ScratchFile file(text);
        const std::string summary = test::summaryOf([&] { c.load(file.path()); });
        EXPECT_EQ(summary.rfind("Error 380: Invalid property value (", 0), 0u) << summary;
        EXPECT_NE(summary.find(std::filesystem::path(file.path()).filename()), std::string::npos) << summary;
        EXPECT_NE(summary.find(expect), std::string::npos) << summary;
        EXPECT_EQ(c.group(1).style(1).lineColor(), 0x123456u);
        EXPECT_EQ(c.chartArea().axis("Y").max(), 55);
    }
    const std::string missing = testing::TempDir() + "no-such-chart.dat";
    EXPECT_EQ(test::summaryOf([&] { ChartObject().load(missing); }),
              "Error 53: File not found (File not found: " + missing + ")");
}

}  // namespace
}  // namespace qx::platform
