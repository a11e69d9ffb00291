// The chart definition file: the PC1.dat the build puts beside the library, and files the reader
// must refuse without touching the chart.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/ChartObject.h"
#include "platform/RuntimeError.h"

namespace qx::platform {
namespace {

std::string shippedDefinition() {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "PC1.dat").string();
}

std::string writeFile(const std::string& name, const std::string& text) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path) << text;
    return path;
}

constexpr const char* kMinimal = "[Chart]\nVersion = 1\n";

TEST(ChartDefinition, TheShippedFileGivesTheTrendChartsTheirLook) {
    ChartObject c;
    c.load(shippedDefinition());

    const ChartAxis& x = c.chartArea().axis("X");
    EXPECT_EQ(x.labels(), AxisLabels::Time);
    EXPECT_EQ(x.timeScale().unit(), TimeUnit::Hours);
    EXPECT_EQ(x.timeScale().format(), "hh:mm:ss");
    EXPECT_EQ(x.min(), 0);
    EXPECT_EQ(x.max(), 0);
    EXPECT_EQ(x.title(), "Time");
    EXPECT_FALSE(c.chartArea().axis("Y2").visible());

    EXPECT_EQ(c.group(1).chartType(), ChartType::Plot);
    EXPECT_EQ(c.group(2).chartType(), ChartType::Area);
    EXPECT_EQ(c.group(1).style(1).lineColor(), 0x800000u);  // rgb(0, 0, 128)
    EXPECT_EQ(c.group(1).style(1).lineWidth(), 2);
    EXPECT_EQ(c.group(1).style(2).linePattern(), LinePattern::Dash);
    EXPECT_EQ(c.group(2).style(1).fillColor(), 0xFAFABEu);  // rgb(190, 250, 250)
    EXPECT_EQ(c.group(2).style(1).linePattern(), LinePattern::None);
    EXPECT_FALSE(c.allowUserChanges());

    // With the base the view sets, an X of hours reads as clock time.
    c.chartArea().axis("X").timeScale().setBase(8 * 3600);
    EXPECT_EQ(x.timeScale().label(0.5), "08:30:00");
}

TEST(ChartDefinition, LoadingKeepsThePointsAndWhatTheFileLeavesOutStaysStandard) {
    ChartObject c;
    c.group(1).data().setNumPoints(2);
    c.group(1).data().setY(1, 2, 17);
    c.load(
        writeFile("partial.dat", std::string(kMinimal) + "[Group 1 Style 3]\nlinecolor = RGB( 1, 2, 3 )\n"));

    EXPECT_EQ(c.group(1).data().y(1, 2), int16_t{17});
    EXPECT_EQ(c.group(1).style(3).lineColor(), 0x030201u);
    EXPECT_EQ(c.group(1).style(1).lineColor(), ChartDefinition::standard().groups[0].styles[0].lineColor());
}

TEST(ChartDefinition, ABadFileFailsNamingItsLineAndLeavesTheChartAsItWas) {
    struct Case {
        const char* text;
        const char* expect;  // part of the description
    };
    const Case cases[] = {
        {"", "no Version"},
        {"[Chart]\nBackColor = rgb(1, 2, 3)\n", "no Version"},
        {"[Chart]\nVersion = 2\n", "line 2: version 2"},
        {"Version = 1\n", "line 1: a setting before"},
        {"[Chart]\nVersion = 1\n[Group 3]\n", "line 3: there is no chart group 3"},
        {"[Chart]\nVersion = 1\n[Group 2 Style 3]\n", "line 3: chart group 2 has no series 3"},
        {"[Chart]\nVersion = 1\n[Axis Z]\n", "line 3: 'Z' is not one of X|Y|Y2"},
        {"[Chart]\nVersion = 1\n[Legend]\n", "line 3: unknown section"},
        {"[Chart\nVersion = 1\n", "line 1: a section name ends"},
        {"[Chart]\nVersion = 1\n[Group 1 Style 1]\nColour = rgb(1, 2, 3)\n", "line 4: unknown key 'Colour'"},
        {"[Chart]\nVersion = 1\n[Group 1 Style 1]\nLineColor = rgb(1, 2, 256)\n", "line 4: 'rgb(1, 2, 256)'"},
        {"[Chart]\nVersion = 1\n[Group 1 Style 1]\nLineColor = rgb(1, 2)\n", "line 4:"},
        {"[Chart]\nVersion = 1\n[Group 1 Style 1]\nLineWidth = 2.5\n", "line 4: '2.5' is not a whole number"},
        {"[Chart]\nVersion = 1\n[Group 1 Style 1]\nLineWidth = 99\n", "line 4: Line width"},
        {"[Chart]\nVersion = 1\n[Group 1 Style 1]\nSymbolShape = Heart\n", "line 4: 'Heart'"},
        {"[Chart]\nVersion = 1\n[Group 1]\nChartType = Pie\n", "line 4: 'Pie'"},
        {"[Chart]\nVersion = 1\n[Axis X]\nMax = soon\n", "line 4: 'soon' is not a number"},
        {"[Chart]\nVersion = 1\n[Axis X]\nTimeFormat = hh:nn\n", "line 4: Time format"},
        {"[Chart]\nVersion = 1\n[Axis Y]\nVisible\n", "line 4: expected Key = Value"},
    };
    for (const auto& tc : cases) {
        ChartObject c;
        c.group(1).style(1).setLineColor(0x123456);
        c.chartArea().axis("Y").setMax(55);
        const std::string path = writeFile("bad.dat", tc.text);
        try {
            c.load(path);
            ADD_FAILURE() << "accepted: " << tc.text;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), kInvalidPropertyValue) << tc.text;
            EXPECT_NE(e.description().find("bad.dat"), std::string::npos) << e.description();
            EXPECT_NE(e.description().find(tc.expect), std::string::npos) << e.description();
        }
        EXPECT_EQ(c.group(1).style(1).lineColor(), 0x123456u) << tc.text;
        EXPECT_EQ(c.chartArea().axis("Y").max(), 55) << tc.text;
    }
}

TEST(ChartDefinition, AMissingFileFailsAsFileNotFound) {
    ChartObject c;
    for (const std::string& path : {::testing::TempDir() + "no-such-chart.dat", ::testing::TempDir()}) {
        try {
            c.load(path);
            ADD_FAILURE() << "loaded " << path;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(errorSummary(e).rfind("Error 53: File not found (File not found: ", 0), 0u)
                << errorSummary(e);
            EXPECT_NE(e.description().find(path), std::string::npos) << e.description();
        }
    }
}

TEST(ChartDefinition, CommentsBlanksCaseAndWindowsLineEndsAreAccepted) {
    const auto d = ChartDefinition::parse(
        "\xEF\xBB\xBF# made elsewhere\r\n\r\n  [chart]  \r\nversion=1\r\n; a comment\r\n"
        "[axis y]\r\n  TITLE =  Flow in %  \r\n[GROUP 2]\r\ncharttype = step\r\n",
        "pc.dat");
    EXPECT_EQ(d.axisY.title(), "Flow in %");
    EXPECT_EQ(d.groups[1].type, ChartType::Step);
}

}  // namespace
}  // namespace qx::platform
